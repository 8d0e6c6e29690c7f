// The document information page on the real sheet: Printing Preferences
// opened through the spooler, worked by a user on a second thread, the
// caller's record checked after OK.
#include "PrinterTest.h"
#include "SheetSession.h"

#include "resource.h"

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
    const TARVIK_DEVMODE out = testhost::RunSheet(m_printer, in, IDS_TITLE_DOCINFO, [&](const testhost::Sheet& s) {
        for (int id : ids)
            shown.push_back(testhost::Text(s.page, id));
        testhost::Type(s.page, IDC_DOCINFO_SUBJECT, L"New subject");
        testhost::Type(s.page, IDC_DOCINFO_KEYWORDS, L"new, keywords");
        testhost::Type(s.page, IDC_DOCINFO_AUTHOR, L"");
        testhost::Key(GetDlgItem(s.page, IDC_DOCINFO_EXTRA), std::wstring(70, L'x'));
        typed = testhost::Text(s.page, IDC_DOCINFO_EXTRA);
    });
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
