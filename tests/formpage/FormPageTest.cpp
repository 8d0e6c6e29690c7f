// The paper page on the real sheet: what it shows for a record, what the
// user's clicks and typing change, and what OK leaves in the caller's record.
#include "FormFixture.h"
#include "SheetSession.h"

#include "resource.h"

#include <shlobj.h>

#include <tuple>

namespace
{
using namespace testhost;
using Texts = std::vector<std::wstring>;
using FormPage = formtest::PrinterFormsTest;

const Texts kSeed = {L"A4", L"Letter", L"Legal", L"A5", L"B5 (JIS)"};

// The record's form found in another letter case, shown in each unit; a
// fresh profile (no favourites value) gets the seed favourites.
TEST_F(FormPage, ShowsTheRecordsFormInEachUnit)
{
    TARVIK_DEVMODE in = DefaultRecord();
    lstrcpyW(in.dmFormName, L"LETTER");
    const TARVIK_DEVMODE out = RunSheet(s_printer, in, IDS_TITLE_FORM, [&](const Sheet& s) {
        EXPECT_EQ(kSeed, Items(s.page, IDC_FORM_NAME));
        Texts seen = {Text(s.page, IDC_FORM_NAME)};
        for (int radio : {IDC_FORM_UNIT_MM, IDC_FORM_UNIT_INCH, IDC_FORM_UNIT_POINT})
        {
            Click(s.page, radio);
            for (int id : {IDC_FORM_WIDTH, IDC_FORM_HEIGHT, IDC_FORM_WIDTH_UNIT, IDC_FORM_HEIGHT_UNIT})
                seen.push_back(Text(s.page, id));
        }
        EXPECT_EQ((Texts{L"Letter", L"215.9", L"279.4", L"mm", L"mm", L"8.5", L"11", L"inch", L"inch", L"612", L"792",
                         L"point", L"point"}),
                  seen);
    });
    EXPECT_EQ(L"A4;Letter;Legal;A5;B5 (JIS)", formtest::StoredFavorites());
    EXPECT_STREQ(L"Letter", out.dmFormName);
    EXPECT_EQ(2159, out.dmPaperWidth);
    EXPECT_EQ(2794, out.dmPaperLength);
}

// Values that no control offers: unit 7 checks millimetres but shows points;
// favourites of separators only get the seed too.
TEST_F(FormPage, FallsBackFromUnknownValues)
{
    formtest::StoreFavorites(L";;");
    TARVIK_DEVMODE in = DefaultRecord();
    in.dwResolution = 720;
    in.dwPdfStandard = 5;
    in.dwPaperUnit = 7;
    const TARVIK_DEVMODE out = RunSheet(s_printer, in, IDS_TITLE_FORM, [&](const Sheet& s) {
        EXPECT_EQ(kSeed, Items(s.page, IDC_FORM_NAME));
        Texts seen;
        for (int id : {IDC_FORM_RESOLUTION, IDC_FORM_PDF_STANDARD, IDC_FORM_WIDTH, IDC_FORM_WIDTH_UNIT})
            seen.push_back(Text(s.page, id));
        EXPECT_EQ((Texts{L"300", ResourceText(IDS_PDF_STANDARD), L"595.28", L"point"}), seen);
        EXPECT_TRUE(IsDlgButtonChecked(s.page, IDC_FORM_UNIT_MM));
    });
    EXPECT_EQ(L"A4;Letter;Legal;A5;B5 (JIS)", formtest::StoredFavorites());
    EXPECT_EQ(300u, out.dwResolution);
    EXPECT_EQ(0u, out.dwPdfStandard);
    EXPECT_EQ(0u, out.dwPaperUnit);
}

// Clicks mark the sheet changed at once (the page tells the sheet before the
// click returns); choosing a resolution or standard and typing a folder or
// prefix do not. Automatic saving enables its controls, the folder browser
// among them; unchecked they keep their texts, which OK stores.
TEST_F(FormPage, WhichActionsEnableApplyAndOkStoresEveryField)
{
    const std::tuple<const char*, std::function<void(HWND)>, bool> rows[] = {
        {"resolution", [](HWND p) { Pick(p, IDC_FORM_RESOLUTION, 2); }, false}, // 1200
        {"PDF standard", [](HWND p) { Pick(p, IDC_FORM_PDF_STANDARD, 1); }, false},
        {"folder", [](HWND p) { Type(p, IDC_FORM_OUTPUT_FOLDER, L"D:\\Out"); }, false},
        {"prefix", [](HWND p) { Type(p, IDC_FORM_FILE_PREFIX, L"x"); }, false},
        {"form", [](HWND p) { Pick(p, IDC_FORM_NAME, 1); }, true}, // Letter
        {"fixed size", [](HWND p) { Click(p, IDC_FORM_FIXED_SIZE); }, true},
        {"further option", [](HWND p) { Click(p, IDC_FORM_AUTO_SAVE_OPTION); }, true},
        {"unit", [](HWND p) { Click(p, IDC_FORM_UNIT_INCH); }, true},
        {"orientation", [](HWND p) { Click(p, IDC_FORM_LANDSCAPE); }, true},
    };
    const int saving[] = {IDC_FORM_OUTPUT_FOLDER, IDC_FORM_FILE_PREFIX, IDC_FORM_BROWSE, IDC_FORM_AUTO_SAVE_OPTION};
    std::vector<bool> enabled;
    const TARVIK_DEVMODE in = DefaultRecord();
    const TARVIK_DEVMODE out = RunSheet(s_printer, in, IDS_TITLE_FORM, [&](const Sheet& s) {
        for (const auto& [action, act, enables] : rows)
        {
            act(s.page); // sent: handled when it returns
            EXPECT_EQ(enables, Enabled(s.window, kApplyButton)) << action;
            SendMessageW(s.window, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0); // disables it again
        }
        Click(s.page, IDC_FORM_AUTO_SAVE);
        for (int id : saving)
            enabled.push_back(Enabled(s.page, id));
        // The folder browser, with its title; a click in its tree picks the folder.
        ClickOpening(s.page, IDC_FORM_BROWSE);
        HWND browser = WaitForTopWindow([&](HWND w) {
            return GetWindow(w, GW_OWNER) == s.window && FindWindowExW(w, nullptr, WC_TREEVIEWW, nullptr);
        });
        ASSERT_NE(nullptr, FindWindowExW(browser, nullptr, L"Static", ResourceText(IDS_BROWSE_OUTPUT_FOLDER).c_str()));
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(L"C:\\windows"));
        CloseWith(browser, IDOK);
        Type(s.page, IDC_FORM_FILE_PREFIX, L"01234567890123456789"); // the record keeps 16
        Click(s.page, IDC_FORM_AUTO_SAVE);
        for (int id : saving)
            enabled.push_back(Enabled(s.page, id));
    });
    EXPECT_EQ((std::vector<bool>{true, true, true, true, false, false, false, false}), enabled);
    TARVIK_DEVMODE expected = in;
    lstrcpyW(expected.dmFormName, L"Letter");
    expected.dmPaperWidth = expected.dwFixedPaperWidth = 2159;
    expected.dmPaperLength = expected.dwFixedPaperLength = 2794;
    expected.dmOrientation = DMORIENT_LANDSCAPE;
    expected.dwPaperUnit = 1;
    expected.bFixedPaperSize = 1;
    expected.dwResolution = expected.dmPrintQuality = expected.dmYResolution = 1200;
    expected.dwPdfStandard = 1;
    expected.bAutoSave = 0;
    lstrcpyW(expected.szOutputFolder, L"C:\\windows");
    lstrcpyW(expected.szFileNamePrefix, L"0123456789012345");
    expected.bAutoSaveOption = 0;
    EXPECT_EQ("", RecordDifferences(&expected, &out));
}
} // namespace
