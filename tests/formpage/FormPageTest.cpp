// The paper page on the real sheet: what it shows for a record, what the
// user's clicks and typing change, and what OK leaves in the caller's record.
#include "FormSheet.h"
#include "RecordFields.h"

#include "resource.h"

using namespace formpage;

namespace
{
const std::vector<std::wstring> kSeeds = {L"A4", L"Letter", L"Legal", L"A5", L"B5 (JIS)"};

using FormPage = FormSheetTest;

TEST_F(FormPage, AFreshProfileGetsTheSeedFavorites)
{
    for (const wchar_t* stored : {L"", L";;"}) // no value at all, a value of separators only
    {
        SCOPED_TRACE(testhost::Utf8(stored));
        ClearFormRegistry();
        if (stored[0])
            StoreFavorites(stored);
        std::vector<std::wstring> items;
        RunSheet(m_printer, testhost::DefaultRecord(), [&](HWND page) { items = ComboItems(page, IDC_FORM_NAME); });
        EXPECT_EQ(kSeeds, items);
        EXPECT_EQ(L"A4;Letter;Legal;A5;B5 (JIS)", StoredFavorites());
    }
}

// The record's form found in another letter case, shown in the three units.
TEST_F(FormPage, ShowsTheSelectedFormInEachUnit)
{
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    lstrcpyW(in.dmFormName, L"LETTER");
    const struct
    {
        int radio;
        const wchar_t* texts[3]; // width, height, unit word
    } rows[] = {{IDC_FORM_UNIT_MM, {L"215.9", L"279.4", L"mm"}},
                {IDC_FORM_UNIT_INCH, {L"8.5", L"11", L"inch"}},
                {IDC_FORM_UNIT_POINT, {L"612", L"792", L"point"}}};
    std::wstring selected;
    std::vector<std::vector<std::wstring>> shown;
    const TARVIK_DEVMODE out = RunSheet(m_printer, in, [&](HWND page) {
        selected = Text(page, IDC_FORM_NAME);
        for (const auto& row : rows)
        {
            Click(page, row.radio);
            shown.push_back({Text(page, IDC_FORM_WIDTH), Text(page, IDC_FORM_HEIGHT), Text(page, IDC_FORM_WIDTH_UNIT),
                             Text(page, IDC_FORM_HEIGHT_UNIT)});
        }
    });
    EXPECT_EQ(L"Letter", selected);
    ASSERT_EQ(std::size(rows), shown.size());
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ((std::vector<std::wstring>{rows[i].texts[0], rows[i].texts[1], rows[i].texts[2], rows[i].texts[2]}),
                  shown[i]);
    EXPECT_STREQ(L"Letter", out.dmFormName);
    EXPECT_EQ(2159, out.dmPaperWidth);
    EXPECT_EQ(2794, out.dmPaperLength);
    EXPECT_EQ(2u, out.dwPaperUnit);
}

// Values no control offers: the first choice is shown and then stored.
TEST_F(FormPage, OutOfRangeValuesFallBack)
{
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    in.dwResolution = 720;
    in.dwPdfStandard = 5;
    in.dwPaperUnit = 7;
    std::vector<std::wstring> shown;
    bool millimetresChecked = false;
    const TARVIK_DEVMODE out = RunSheet(m_printer, in, [&](HWND page) {
        shown = {Text(page, IDC_FORM_RESOLUTION), Text(page, IDC_FORM_PDF_STANDARD), Text(page, IDC_FORM_WIDTH),
                 Text(page, IDC_FORM_WIDTH_UNIT)};
        millimetresChecked = Checked(page, IDC_FORM_UNIT_MM);
    });
    // Unit 7 checks the millimetre radio but shows points until a radio is clicked.
    EXPECT_EQ((std::vector<std::wstring>{L"300", Resource(IDS_PDF_STANDARD), L"595.28", L"point"}), shown);
    EXPECT_TRUE(millimetresChecked);
    EXPECT_EQ(300u, out.dwResolution);
    EXPECT_EQ(300, out.dmPrintQuality);
    EXPECT_EQ(300, out.dmYResolution);
    EXPECT_EQ(0u, out.dwPdfStandard);
    EXPECT_EQ(0u, out.dwPaperUnit);
}

TEST_F(FormPage, AutomaticSavingControlsFollowTheirCheckBox)
{
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    in.bAutoSave = 1;
    lstrcpyW(in.szOutputFolder, L"C:\\PDF");
    lstrcpyW(in.szFileNamePrefix, L"scan");
    const int controls[] = {IDC_FORM_OUTPUT_FOLDER, IDC_FORM_FILE_PREFIX, IDC_FORM_BROWSE, IDC_FORM_AUTO_SAVE_OPTION};
    std::vector<bool> before, after;
    const TARVIK_DEVMODE out = RunSheet(m_printer, in, [&](HWND page) {
        for (int id : controls)
            before.push_back(Enabled(page, id));
        Click(page, IDC_FORM_AUTO_SAVE);
        for (int id : controls)
            after.push_back(Enabled(page, id));
    });
    EXPECT_EQ(std::vector<bool>(4, true), before);
    EXPECT_EQ(std::vector<bool>(4, false), after);
    // Disabled, the texts are kept and still stored.
    EXPECT_EQ(0, out.bAutoSave);
    EXPECT_STREQ(L"C:\\PDF", out.szOutputFolder);
    EXPECT_STREQ(L"scan", out.szFileNamePrefix);
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
    RunSheet(m_printer, testhost::DefaultRecord(), [&](HWND page) {
        HWND sheet = GetParent(page);
        for (const auto& row : rows)
        {
            row.act(page);
            // The sent messages have been handled: the button shows the result.
            if (Enabled(sheet, 0x3021 /* the sheet's Apply */) != row.enables)
                wrong.push_back(row.action);
            SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0); // disables it again
        }
    });
    EXPECT_EQ(std::vector<std::string>{}, wrong);
}

TEST_F(FormPage, OkStoresEveryFieldOfThePage)
{
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    in.bAutoSaveOption = 1;
    const TARVIK_DEVMODE out = RunSheet(m_printer, in, [&](HWND page) {
        Select(page, IDC_FORM_NAME, 1); // Letter
        Click(page, IDC_FORM_LANDSCAPE);
        Click(page, IDC_FORM_UNIT_INCH);
        Click(page, IDC_FORM_FIXED_SIZE);
        Select(page, IDC_FORM_RESOLUTION, 2); // 1200
        Select(page, IDC_FORM_PDF_STANDARD, 1);
        Click(page, IDC_FORM_AUTO_SAVE);
        Type(page, IDC_FORM_OUTPUT_FOLDER, L"D:\\Documents\\PDF");
        Type(page, IDC_FORM_FILE_PREFIX, L"01234567890123456789"); // the record keeps 16
        Click(page, IDC_FORM_AUTO_SAVE_OPTION);
    });
    TARVIK_DEVMODE expected = in;
    lstrcpyW(expected.dmFormName, L"Letter");
    expected.dmPaperWidth = 2159;
    expected.dmPaperLength = 2794;
    expected.dmOrientation = DMORIENT_LANDSCAPE;
    expected.dwPaperUnit = 1;
    expected.bFixedPaperSize = 1;
    expected.dwFixedPaperWidth = 2159;
    expected.dwFixedPaperLength = 2794;
    expected.dwResolution = 1200;
    expected.dmPrintQuality = expected.dmYResolution = 1200;
    expected.dwPdfStandard = 1;
    expected.bAutoSave = 1;
    lstrcpyW(expected.szOutputFolder, L"D:\\Documents\\PDF");
    lstrcpyW(expected.szFileNamePrefix, L"0123456789012345");
    expected.bAutoSaveOption = 0;
    EXPECT_EQ("", testhost::RecordDifferences(&expected, &out));
}
} // namespace
