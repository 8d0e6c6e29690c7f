// The document information page on the real sheet: Printing Preferences
// opened through the spooler, worked by a user on a second thread, the
// caller's record checked after OK.
#include "PreferencesSheet.h"
#include "PrinterTest.h"
#include "RecordFields.h"
#include "WindowDriver.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using DocInfoPage = testhost::PrinterTest;

// Each edit shows its own field (subject and keywords cross the record's
// order); a text that fills its field without a terminator is shown cut at
// the field; typing stops at 64 characters and the record keeps 63; an
// emptied edit stores an empty text.
TEST_F(DocInfoPage, EditsTheirOwnFields)
{
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    lstrcpyW(in.szExcludeFonts, L";"); // as the font page stores it when shown
    std::fill(std::begin(in.szTitle), std::end(in.szTitle), L'T');
    lstrcpyW(in.szAuthor, L"Ann Author"); // the field after the title
    lstrcpyW(in.szSubject, L"Old subject");
    lstrcpyW(in.szKeywords, L"old, keywords");
    lstrcpyW(in.szDocInfoExtra, L"Old creator");
    const int ids[] = {IDC_DOCINFO_TITLE, IDC_DOCINFO_AUTHOR, IDC_DOCINFO_SUBJECT, IDC_DOCINFO_KEYWORDS,
                       IDC_DOCINFO_EXTRA};
    std::vector<std::wstring> shown;
    std::wstring typed;
    TARVIK_DEVMODE out = {};
    EXPECT_EQ(IDOK, testhost::EditInSheet(m_printer, in, &out, IDS_TITLE_DOCINFO, [&](HWND, HWND page) {
                  ASSERT_NE(nullptr, page);
                  for (int id : ids)
                      shown.push_back(testhost::WindowText(GetDlgItem(page, id)));
                  SetDlgItemTextW(page, IDC_DOCINFO_SUBJECT, L"New subject");
                  SetDlgItemTextW(page, IDC_DOCINFO_KEYWORDS, L"new, keywords");
                  SetDlgItemTextW(page, IDC_DOCINFO_AUTHOR, L"");
                  HWND extra = GetDlgItem(page, IDC_DOCINFO_EXTRA);
                  SendMessageW(extra, EM_SETSEL, 0, -1);
                  for (int i = 0; i < 70; ++i)
                      SendMessageW(extra, WM_CHAR, L'x', 1);
                  typed = testhost::WindowText(extra);
              }));
    EXPECT_EQ((std::vector<std::wstring>{std::wstring(64, L'T'), L"Ann Author", L"Old subject", L"old, keywords",
                                         L"Old creator"}),
              shown);
    EXPECT_EQ(std::wstring(64, L'x'), typed);

    TARVIK_DEVMODE expected = in;
    expected.szTitle[63] = L'\0';
    expected.szAuthor[0] = L'\0';
    lstrcpyW(expected.szSubject, L"New subject");    // byte 5880
    lstrcpyW(expected.szKeywords, L"new, keywords"); // byte 5752
    lstrcpyW(expected.szDocInfoExtra, std::wstring(63, L'x').c_str());
    EXPECT_EQ("", testhost::RecordDifferences(&expected, &out));
}
} // namespace
