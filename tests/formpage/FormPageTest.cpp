// The paper page on the real sheet: what it shows for a record, what the
// user's clicks and typing change, and what OK leaves in the caller's record.
#include "FormSheet.h"
#include "RecordFields.h"

#include "resource.h"

#include <commctrl.h>
#include <shlobj.h>

using namespace formpage;

namespace
{
using FormPage = FormSheetTest;

TEST_F(FormPage, AFreshProfileGetsTheSeedFavorites)
{
    for (const wchar_t* stored : {L"", L";;"}) // no value at all, separators only
    {
        ClearFormRegistry();
        if (stored[0])
            StoreFavorites(stored);
        Texts items;
        RunSheet(testhost::DefaultRecord(), [&](HWND page) { items = ComboItems(page, IDC_FORM_NAME); });
        EXPECT_EQ((Texts{L"A4", L"Letter", L"Legal", L"A5", L"B5 (JIS)"}), items) << testhost::Utf8(stored);
        EXPECT_EQ(L"A4;Letter;Legal;A5;B5 (JIS)", StoredFavorites());
    }
}

// The record's form found in another letter case, shown in each unit; then
// values that no control offers: unit 7 checks millimetres but shows points.
TEST_F(FormPage, ShowsTheRecordsFormAndFallsBackFromUnknownValues)
{
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    lstrcpyW(in.dmFormName, L"LETTER");
    Texts seen;
    TARVIK_DEVMODE out = RunSheet(in, [&](HWND page) {
        seen.push_back(Text(page, IDC_FORM_NAME));
        for (int radio : {IDC_FORM_UNIT_MM, IDC_FORM_UNIT_INCH, IDC_FORM_UNIT_POINT})
        {
            Click(page, radio);
            for (int id : {IDC_FORM_WIDTH, IDC_FORM_HEIGHT, IDC_FORM_WIDTH_UNIT, IDC_FORM_HEIGHT_UNIT})
                seen.push_back(Text(page, id));
        }
    });
    EXPECT_EQ((Texts{L"Letter", L"215.9", L"279.4", L"mm", L"mm", L"8.5", L"11", L"inch", L"inch", L"612", L"792",
                     L"point", L"point"}),
              seen);
    EXPECT_STREQ(L"Letter", out.dmFormName);
    EXPECT_EQ(2159, out.dmPaperWidth);
    EXPECT_EQ(2794, out.dmPaperLength);

    in = testhost::DefaultRecord();
    in.dwResolution = 720;
    in.dwPdfStandard = 5;
    in.dwPaperUnit = 7;
    seen.clear();
    out = RunSheet(in, [&](HWND page) {
        for (int id : {IDC_FORM_RESOLUTION, IDC_FORM_PDF_STANDARD, IDC_FORM_WIDTH, IDC_FORM_WIDTH_UNIT})
            seen.push_back(Text(page, id));
        seen.push_back(IsDlgButtonChecked(page, IDC_FORM_UNIT_MM) ? L"mm checked" : L"mm not checked");
    });
    EXPECT_EQ((Texts{L"300", Resource(IDS_PDF_STANDARD), L"595.28", L"point", L"mm checked"}), seen);
    EXPECT_EQ(300u, out.dwResolution);
    EXPECT_EQ(0u, out.dwPdfStandard);
    EXPECT_EQ(0u, out.dwPaperUnit);
}

// Clicks mark the sheet changed; choosing a resolution or standard and
// typing a folder or prefix do not.
TEST_F(FormPage, WhichActionsEnableApply)
{
    const struct
    {
        const char* action;
        std::function<void(HWND)> act;
        bool enables;
    } rows[] = {
        {"resolution", [](HWND p) { Select(p, IDC_FORM_RESOLUTION, 2); }, false},
        {"PDF standard", [](HWND p) { Select(p, IDC_FORM_PDF_STANDARD, 1); }, false},
        {"folder", [](HWND p) { Type(p, IDC_FORM_OUTPUT_FOLDER, L"D:\\Out"); }, false},
        {"prefix", [](HWND p) { Type(p, IDC_FORM_FILE_PREFIX, L"x"); }, false},
        {"form", [](HWND p) { Select(p, IDC_FORM_NAME, 1); }, true},
        {"fixed size", [](HWND p) { Click(p, IDC_FORM_FIXED_SIZE); }, true},
        {"further option", [](HWND p) { Click(p, IDC_FORM_AUTO_SAVE_OPTION); }, true},
        {"unit", [](HWND p) { Click(p, IDC_FORM_UNIT_INCH); }, true},
        {"orientation", [](HWND p) { Click(p, IDC_FORM_LANDSCAPE); }, true},
    };
    std::vector<std::string> wrong;
    RunSheet(testhost::DefaultRecord(), [&](HWND page) {
        HWND sheet = GetParent(page);
        for (const auto& row : rows)
        {
            row.act(page); // sent: handled when it returns
            if (Enabled(sheet, 0x3021 /* the sheet's Apply */) != row.enables)
                wrong.push_back(row.action);
            SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0); // disables it again
        }
    });
    EXPECT_EQ(std::vector<std::string>{}, wrong);
}

// Automatic saving enables its controls, the folder browser among them;
// unchecked they keep their texts, which OK stores with every other field.
TEST_F(FormPage, OkStoresEveryFieldOfThePage)
{
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    const int saving[] = {IDC_FORM_OUTPUT_FOLDER, IDC_FORM_FILE_PREFIX, IDC_FORM_BROWSE, IDC_FORM_AUTO_SAVE_OPTION};
    std::vector<bool> enabled;
    const TARVIK_DEVMODE out = RunSheet(in, [&](HWND page) {
        Select(page, IDC_FORM_NAME, 1); // Letter
        Click(page, IDC_FORM_LANDSCAPE);
        Click(page, IDC_FORM_UNIT_INCH);
        Click(page, IDC_FORM_FIXED_SIZE);
        Select(page, IDC_FORM_RESOLUTION, 2); // 1200
        Select(page, IDC_FORM_PDF_STANDARD, 1);
        Click(page, IDC_FORM_AUTO_SAVE);
        for (int id : saving)
            enabled.push_back(Enabled(page, id));
        // The folder browser, with its title; a click in its tree picks the folder.
        ClickOpening(page, IDC_FORM_BROWSE);
        HWND browser = testhost::WaitForTopWindow([&](HWND w) {
            return GetWindow(w, GW_OWNER) == GetParent(page) && FindWindowExW(w, nullptr, WC_TREEVIEWW, nullptr);
        });
        ASSERT_NE(nullptr, FindWindowExW(browser, nullptr, L"Static", Resource(IDS_BROWSE_OUTPUT_FOLDER).c_str()));
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(L"C:\\windows"));
        CloseWith(browser, IDOK, page);
        Type(page, IDC_FORM_FILE_PREFIX, L"01234567890123456789"); // the record keeps 16
        Click(page, IDC_FORM_AUTO_SAVE_OPTION);
        Click(page, IDC_FORM_AUTO_SAVE);
        for (int id : saving)
            enabled.push_back(Enabled(page, id));
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
    EXPECT_EQ("", testhost::RecordDifferences(&expected, &out));
}
} // namespace
