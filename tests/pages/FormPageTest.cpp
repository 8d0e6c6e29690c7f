// The paper page and its two dialogs: their rules that need no window as
// table rows, then the real sheet driven as a user does.
#include "FormFixture.h"
#include "SheetSession.h"

#include "pages/CDlgFormSetting.h"
#include "forms/CDlgUpdateForm.h"
#include "forms/CFormManager.h"
#include "resource.h"

#include <shlobj.h>

#include <cmath>
#include <tuple>

namespace
{
using namespace testhost;
using Texts = std::vector<std::wstring>;
using FormPage = formtest::PrinterFormsTest;

const Texts kSeed = {L"A4", L"Letter", L"Legal", L"A5", L"B5 (JIS)"};

TEST(CustomFormSize, SwitchingTheUnitConvertsWhatTheEditsShow)
{
    // The edit's text before the switch, the units from and to, its text after.
    const std::tuple<const wchar_t*, DWORD, DWORD, const wchar_t*> rows[] = {
        {L"210", kUnitMillimetres, kUnitInches, L"8.27"},      {L"297", kUnitMillimetres, kUnitInches, L"11.69"},
        {L"8.27", kUnitInches, kUnitPoints, L"595.44"},        {L"11.69", kUnitInches, kUnitPoints, L"841.68"},
        {L"595.44", kUnitPoints, kUnitMillimetres, L"210.06"}, {L"841.68", kUnitPoints, kUnitMillimetres, L"296.93"},
        {L"210", kUnitMillimetres, kUnitPoints, L"595.28"},    {L"297", kUnitMillimetres, kUnitPoints, L"841.89"},
        {L"595.28", kUnitPoints, kUnitMillimetres, L"210"},    {L"841.89", kUnitPoints, kUnitMillimetres, L"297"},
        {L"8.5", kUnitInches, kUnitMillimetres, L"215.9"},     {L"12.5", kUnitInches, kUnitInches, L"12.5"},
    };
    for (const auto& [shown, from, to, expected] : rows)
    {
        wchar_t text[32];
        FormatFormSize(ConvertLength(std::wcstof(shown, nullptr), from, to), text, std::size(text));
        EXPECT_STREQ(expected, text) << testhost::Utf8(shown) << " from unit " << from << " to " << to;
    }
}

// What OK makes of a typed size: whole millimetres stored, or the message
// that refuses it. The largest side the catalogue keeps is LONG_MAX
// thousandths of a millimetre, 2147483 mm; in inches and points the whole
// units below it (84546 and 6087353).
TEST(CustomFormSize, StoresWholeMillimetresWithinOneInchAndTheLargestSize)
{
    constexpr UINT kNaN = IDS_FORM_SIZE_NOT_NUMBER, kLarge = IDS_FORM_TOO_LARGE, kSmall = IDS_FORM_TOO_SMALL;
    const std::tuple<const wchar_t*, DWORD, UINT, DWORD> rows[] = {
        // clang-format off
        {L"25.4", kUnitMillimetres, kSmall, 0}, /* as a float just below 25.4 */ {L"25.41", kUnitMillimetres, 0, 25},
        {L"1", kUnitInches, 0, 25}, {L"0.99", kUnitInches, kSmall, 0}, {L"8.5", kUnitInches, 0, 215},
        {L"11", kUnitInches, 0, 279}, {L"72", kUnitPoints, 0, 25}, {L"71.9", kUnitPoints, kSmall, 0},
        {L"612", kUnitPoints, 0, 215}, {L"-300", kUnitInches, kSmall, 0}, {L"-1e999", kUnitPoints, kSmall, 0},
        {L"2147483", kUnitMillimetres, 0, 2147483}, {L"2147482.5", kUnitMillimetres, 0, 2147482},
        {L"2147483.01", kUnitMillimetres, kLarge, 0}, {L"84546", kUnitInches, 0, 2147468},
        {L"84545.99", kUnitInches, 0, 2147468}, {L"84546.01", kUnitInches, kLarge, 0},
        {L"6087353", kUnitPoints, 0, 2147482}, {L"6087352.5", kUnitPoints, 0, 2147482},
        {L"6087353.5", kUnitPoints, kLarge, 0}, {L"1e30", kUnitMillimetres, kLarge, 0},
        {L"1e999", kUnitInches, kLarge, 0}, {L"210 ", kUnitMillimetres, 0, 210},
        {L"abc", kUnitMillimetres, kNaN, 0}, {L"12abc", kUnitMillimetres, kNaN, 0}, {L"", kUnitInches, kNaN, 0},
        {L"8,5", kUnitInches, kNaN, 0}, {L"nan", kUnitPoints, kNaN, 0},
        // clang-format on
    };
    for (const auto& [text, unit, refused, stored] : rows)
    {
        float value = 0;
        const UINT answer = ReadCustomFormSize(text, unit, &value);
        EXPECT_EQ(refused, answer) << testhost::Utf8(text) << " in unit " << unit;
        EXPECT_EQ(stored, answer ? 0 : ToWholeMillimetres(value, unit)) << testhost::Utf8(text) << " in unit " << unit;
    }
}

TEST(FavoriteOffer, OnlyFavoritesNamingACatalogueFormAreOffered)
{
    const wchar_t* names[] = {L"Letter", L"Legal", L"A4", L"A5", L"a5", L"Tarvik Card 0123456789 0123456789"};
    FORM_ITEM items[std::size(names)] = {};
    FORM_ITEM* forms[std::size(names)];
    for (size_t i = 0; i < std::size(names); ++i)
        lstrcpyW(items[i].szName, names[i]), forms[i] = &items[i];
    using Names = std::vector<std::wstring>;
    // The favourites and the record's form; the names offered and the one selected.
    const std::tuple<std::vector<LPCWSTR>, const wchar_t*, Names, int> rows[] = {
        {{L"A4", L"Letter"}, L"Letter", {L"A4", L"Letter"}, 1},
        {{L"A4", L"Gone", L"Letter"}, L"gone", {L"A4", L"Letter"}, 0},     // a deleted custom form
        {{L"letter", L"LETTER", L"A4"}, L"LeTTer", {L"Letter", L"A4"}, 0}, // the catalogue's spelling, once
        {{L"a5", L"A5"}, L"A5", {L"a5"}, 0},  // exact names first; one item per name in any case
        {{L"Gone"}, L"Legal", {L"Legal"}, 0}, // none left: the record's form
        {{L"Gone"}, L"legal", {L"Legal"}, 0},
        {{L"Gone"}, L"Nothing", {L"A4"}, 0}, // else A4
        {{}, L"", {L"A4"}, 0},
        {{L"A4", L"Tarvik Card 0123456789 0123456789"},
         L"Tarvik Card 0123456789 01234567", // cut by the record
         {L"A4", L"Tarvik Card 0123456789 0123456789"},
         1},
    };
    for (const auto& [favorites, record, expected, selected] : rows)
    {
        std::vector<LPCWSTR> offered(favorites.size() + 1);
        const UINT count = OfferedFormNames(forms, std::size(forms), favorites.data(),
                                            static_cast<UINT>(favorites.size()), record, offered.data());
        EXPECT_EQ(expected, Names(offered.begin(), offered.begin() + count));
        EXPECT_EQ(selected, OfferedFormIndex(offered.data(), count, record));
    }
    // A catalogue without A4 offers its first form; an empty one nothing.
    LPCWSTR gone = L"Gone", offered[2] = {};
    EXPECT_EQ(1u, OfferedFormNames(forms, 2, &gone, 1, L"A5", offered));
    EXPECT_STREQ(L"Letter", offered[0]);
    EXPECT_EQ(0u, OfferedFormNames(forms, 0, &gone, 1, L"A5", offered));
}

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

// A record whose every field of the page differs from the default and from
// the others: each control shows its own field, and OK hands it back whole.
TEST_F(FormPage, ShowsEveryFieldOfItsRecordAndOkKeepsIt)
{
    TARVIK_DEVMODE in = DefaultRecord();
    lstrcpyW(in.dmFormName, L"Legal"), in.dmPaperSize = DMPAPER_LEGAL;
    in.dmPaperWidth = in.dwFixedPaperWidth = 2159, in.dmPaperLength = in.dwFixedPaperLength = 3556;
    in.dmOrientation = DMORIENT_LANDSCAPE, in.dwPaperUnit = 2, in.bFixedPaperSize = 1, in.bAutoSave = 1;
    lstrcpyW(in.szOutputFolder, L"E:\\Archive\\Pdf"), lstrcpyW(in.szFileNamePrefix, L"scan-");
    in.bAutoSaveOption = 1, in.dwPdfStandard = 1;
    in.dwResolution = in.dmPrintQuality = in.dmYResolution = 2400;
    const TARVIK_DEVMODE out = RunSheet(s_printer, in, IDS_TITLE_FORM, [&](const Sheet& s) {
        Texts seen;
        for (int id : {IDC_FORM_NAME, IDC_FORM_WIDTH, IDC_FORM_HEIGHT, IDC_FORM_RESOLUTION, IDC_FORM_OUTPUT_FOLDER,
                       IDC_FORM_FILE_PREFIX})
            seen.push_back(Text(s.page, id));
        EXPECT_EQ((Texts{L"Legal", L"612", L"1008", L"2400", L"E:\\Archive\\Pdf", L"scan-"}), seen);
        EXPECT_EQ(1, SendDlgItemMessageW(s.page, IDC_FORM_PDF_STANDARD, CB_GETCURSEL, 0, 0));
        std::vector<bool> checked;
        for (int id : {IDC_FORM_PORTRAIT, IDC_FORM_LANDSCAPE, IDC_FORM_UNIT_MM, IDC_FORM_UNIT_INCH, IDC_FORM_UNIT_POINT,
                       IDC_FORM_FIXED_SIZE, IDC_FORM_AUTO_SAVE, IDC_FORM_AUTO_SAVE_OPTION})
            checked.push_back(IsDlgButtonChecked(s.page, id) == BST_CHECKED);
        EXPECT_EQ((std::vector<bool>{false, true, false, false, true, true, true, true}), checked);
        EXPECT_TRUE(Enabled(s.page, IDC_FORM_OUTPUT_FOLDER));
    });
    EXPECT_EQ("", RecordDifferences(&in, &out));
}

// Values that no control offers: unit 7 checks millimetres but shows points;
// favourites of separators only get the seed too.
TEST_F(FormPage, FallsBackFromUnknownValues)
{
    formtest::StoreFavorites(L";;");
    TARVIK_DEVMODE in = DefaultRecord();
    in.dwResolution = 720, in.dwPdfStandard = 5, in.dwPaperUnit = 7;
    const TARVIK_DEVMODE out = RunSheet(s_printer, in, IDS_TITLE_FORM, [&](const Sheet& s) {
        EXPECT_EQ(kSeed, Items(s.page, IDC_FORM_NAME));
        Texts seen;
        for (int id : {IDC_FORM_RESOLUTION, IDC_FORM_PDF_STANDARD, IDC_FORM_WIDTH, IDC_FORM_WIDTH_UNIT})
            seen.push_back(Text(s.page, id));
        EXPECT_EQ((Texts{L"300", ResourceText(IDS_PDF_STANDARD), L"595.28", L"point"}), seen);
        EXPECT_TRUE(IsDlgButtonChecked(s.page, IDC_FORM_UNIT_MM));
    });
    EXPECT_EQ(L"A4;Letter;Legal;A5;B5 (JIS)", formtest::StoredFavorites());
    EXPECT_EQ((std::tuple{300u, 0u, 0u}), (std::tuple{out.dwResolution, out.dwPdfStandard, out.dwPaperUnit}));
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
    lstrcpyW(expected.dmFormName, L"Letter"), expected.dmOrientation = DMORIENT_LANDSCAPE;
    expected.dmPaperWidth = expected.dwFixedPaperWidth = 2159;
    expected.dmPaperLength = expected.dwFixedPaperLength = 2794;
    expected.dwPaperUnit = 1, expected.bFixedPaperSize = 1, expected.dwPdfStandard = 1;
    expected.dwResolution = expected.dmPrintQuality = expected.dmYResolution = 1200;
    expected.bAutoSave = 0, expected.bAutoSaveOption = 0;
    lstrcpyW(expected.szOutputFolder, L"C:\\windows"), lstrcpyW(expected.szFileNamePrefix, L"0123456789012345");
    EXPECT_EQ("", RecordDifferences(&expected, &out));
}

// The dialog, known by its control `id`, that clicking `button` opens.
HWND Open(HWND parent, int button, int id)
{
    ClickOpening(parent, button);
    HWND dialog = WaitForTopWindow([&](HWND w) { return IsDialog(w) && GetDlgItem(w, id); });
    EXPECT_NE(nullptr, dialog) << "no dialog with control " << id;
    return dialog;
}

// The favourites list row by row: names, size texts, the ticked names.
struct ListRows
{
    Texts names, sizes, ticked;
};

ListRows Rows(HWND dialog)
{
    ListRows rows;
    HWND list = GetDlgItem(dialog, IDC_FAVORITE_LIST);
    for (int row = 0; row < ListView_GetItemCount(list); ++row)
    {
        wchar_t name[256] = L"", size[256] = L"";
        ListView_GetItemText(list, row, 0, name, std::size(name));
        ListView_GetItemText(list, row, 1, size, std::size(size));
        rows.names.push_back(name);
        rows.sizes.push_back(size);
        if (ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2))
            rows.ticked.push_back(name);
    }
    return rows;
}

int RowOf(HWND dialog, const wchar_t* name)
{
    LVFINDINFOW find = {LVFI_STRING, name, 0, {}, 0};
    return ListView_FindItem(GetDlgItem(dialog, IDC_FAVORITE_LIST), -1, &find);
}

// Ticks (state image 2), unticks (1) or selects a row.
void SetRow(HWND dialog, const wchar_t* name, UINT state, UINT mask = LVIS_STATEIMAGEMASK)
{
    ListView_SetItemState(GetDlgItem(dialog, IDC_FAVORITE_LIST), RowOf(dialog, name), state, mask);
}

// The custom form dialog's name, whether it can be changed, and the size.
Texts Shown(HWND custom)
{
    return {Text(custom, IDC_CUSTOM_FORM_NAME), Enabled(custom, IDC_CUSTOM_FORM_NAME) ? L"enabled" : L"",
            Text(custom, IDC_CUSTOM_FORM_WIDTH), Text(custom, IDC_CUSTOM_FORM_HEIGHT)};
}

using FavoriteForms = formtest::PrinterFormsTest;

HWND FocusOf(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Name, width and height typed in the unit of a radio; the message (naming
// the limit in that unit when the size is too large) and the field that gets
// the focus.
constexpr int kMm = IDC_CUSTOM_FORM_UNIT_MM, kInch = IDC_CUSTOM_FORM_UNIT_INCH, kPoint = IDC_CUSTOM_FORM_UNIT_POINT;
constexpr int kName = IDC_CUSTOM_FORM_NAME, kWidth = IDC_CUSTOM_FORM_WIDTH, kHeight = IDC_CUSTOM_FORM_HEIGHT;
const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*, int, UINT, const wchar_t*, int> kRefusals[] = {
    {L"", L"210", L"297", kMm, IDS_EMPTY_FORM_NAME, nullptr, kName},
    {L"Env;B", L"210", L"297", kMm, IDS_FORM_NAME_SEPARATOR, nullptr, kName},
    {L"A4", L"210", L"297", kMm, IDS_FORM_NAME_TAKEN, nullptr, kName},
    {L"Tarvik Env", L"abc", L"297", kMm, IDS_FORM_SIZE_NOT_NUMBER, nullptr, kWidth},
    {L"Tarvik Env", L"210", L"12abc", kMm, IDS_FORM_SIZE_NOT_NUMBER, nullptr, kHeight},
    {L"Tarvik Env", L"1e30", L"297", kMm, IDS_FORM_TOO_LARGE, L"2147483", kWidth},
    {L"Tarvik Env", L"210", L"2147484", kMm, IDS_FORM_TOO_LARGE, L"2147483", kHeight},
    {L"Tarvik Env", L"84547", L"11", kInch, IDS_FORM_TOO_LARGE, L"84546", kWidth},
    {L"Tarvik Env", L"612", L"6087354", kPoint, IDS_FORM_TOO_LARGE, L"6087353", kHeight},
    {L"Tarvik Env", L"71.9", L"792", kPoint, IDS_FORM_TOO_SMALL, nullptr, kWidth},
};

// One sheet, the favourites dialog opened three times: ticks that OK stores,
// a custom form added in a session that Cancel ends, then edits and deletes.
TEST_F(FavoriteForms, TicksAddsEditsAndDeletesForms)
{
    formtest::StoreFavorites(L"letter;A5;Gone"); // another letter case, and a form deleted elsewhere
    CFormManager().AddForm(L"Tarvik Tag", 100, 200);
    TARVIK_DEVMODE in = DefaultRecord();
    lstrcpyW(in.dmFormName, L"Letter");
    Texts catalogue; // every catalogue form in order, the spooler's first
    for (const formtest::Form& form : s_spoolerForms)
        catalogue.push_back(form.name);
    catalogue.push_back(L"Tarvik Tag");
    const UINT ticked = INDEXTOSTATEIMAGEMASK(2), unticked = INDEXTOSTATEIMAGEMASK(1);
    const UINT selected = LVIS_SELECTED | LVIS_FOCUSED;
    RunSheet(
        s_printer, in, IDS_TITLE_FORM,
        [&](const Sheet& s) {
            HWND dialog = Open(s.page, IDC_FORM_FAVORITES, IDC_FAVORITE_LIST);
            const ListRows first = Rows(dialog);
            EXPECT_EQ(catalogue, first.names);
            EXPECT_EQ((Texts{L"Letter", L"A5"}), first.ticked);
            Texts a4;
            for (int radio : {IDC_FAVORITE_UNIT_INCH, IDC_FAVORITE_UNIT_POINT, IDC_FAVORITE_UNIT_MM})
            {
                Click(dialog, radio);
                a4.push_back(Rows(dialog).sizes[RowOf(dialog, L"A4")]);
                EXPECT_EQ(first.ticked, Rows(dialog).ticked);
            }
            EXPECT_EQ((Texts{L"8.27 x 11.69 inch", L"595.28 x 841.89 point", L"210 x 297 mm"}), a4);
            SetRow(dialog, L"Legal", ticked);
            SetRow(dialog, L"A5", unticked);
            CloseWith(dialog, IDOK);
            EXPECT_EQ((Texts{L"Letter", L"Legal"}), Items(s.page, IDC_FORM_NAME));
            EXPECT_EQ(L"Letter;Legal", formtest::StoredFavorites()); // in the list's order; "Gone" is dropped

            // Adding a form, then Cancel: the form stays, the ticks do not.
            dialog = Open(s.page, IDC_FORM_FAVORITES, IDC_FAVORITE_LIST);
            SetRow(dialog, L"Legal", unticked);
            HWND custom = Open(dialog, IDC_FAVORITE_ADD, IDC_CUSTOM_FORM_NAME);
            EXPECT_EQ((Texts{L"", L"enabled", L"210", L"297"}), Shown(custom));
            EXPECT_TRUE(IsDlgButtonChecked(custom, IDC_CUSTOM_FORM_UNIT_MM));
            // Each refusal names the fault and leaves the focus on its field.
            for (const auto& [name, width, height, radio, id, limit, field] : kRefusals)
            {
                std::wstring message = MessageOf(IDS_CAPTION_ERROR, id);
                if (limit)
                {
                    message.replace(message.find(L"%1"), 2, limit);
                    message.replace(message.find(L"%2"), 2,
                                    ResourceText(radio == kMm     ? IDS_UNIT_MM
                                                 : radio == kInch ? IDS_UNIT_INCH
                                                                  : IDS_UNIT_POINT));
                }
                Click(custom, radio);
                Type(custom, IDC_CUSTOM_FORM_NAME, name);
                Type(custom, IDC_CUSTOM_FORM_WIDTH, width);
                Type(custom, IDC_CUSTOM_FORM_HEIGHT, height);
                SendMessageW(custom, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(custom, IDOK)), TRUE);
                ClickOpening(custom, IDOK);
                EXPECT_EQ(message, AnswerMessageBox(IDOK)) << Utf8(name) << " " << Utf8(width) << " x " << Utf8(height);
                EXPECT_TRUE(WaitFor([&] { return FocusOf(custom) == GetDlgItem(custom, field); })) << Utf8(message);
                EXPECT_EQ(Texts{L"Tarvik Tag"}, formtest::CustomFormNames()) << Utf8(message);
            }
            Click(custom, IDC_CUSTOM_FORM_UNIT_MM);
            Type(custom, IDC_CUSTOM_FORM_NAME, L"Tarvik Card");
            Type(custom, IDC_CUSTOM_FORM_WIDTH, L"25.4");
            Type(custom, IDC_CUSTOM_FORM_HEIGHT, L"297");
            Click(custom, IDC_CUSTOM_FORM_UNIT_INCH);
            EXPECT_EQ((Texts{L"1", L"11.69"}),
                      (Texts{Text(custom, IDC_CUSTOM_FORM_WIDTH), Text(custom, IDC_CUSTOM_FORM_HEIGHT)}));
            Type(custom, IDC_CUSTOM_FORM_WIDTH, L"8.5");
            Type(custom, IDC_CUSTOM_FORM_HEIGHT, L"11");
            CloseWith(custom, IDOK);
            const ListRows added = Rows(dialog);
            const int card = RowOf(dialog, L"Tarvik Card");
            ASSERT_EQ(catalogue.size() + 1, added.names.size());
            ASSERT_NE(-1, card);
            EXPECT_EQ(L"215 x 279 mm", added.sizes[card]); // read from the registry again: 215.9 x 279.4 was cut
            EXPECT_EQ((Texts{L"Letter"}), added.ticked);   // the new form unticked
            CloseWith(dialog, IDCANCEL);
            EXPECT_EQ(L"Letter;Legal", formtest::StoredFavorites());

            // Spooler forms can be neither changed nor deleted; a custom form is
            // changed in edit mode and deleted once the user confirms.
            dialog = Open(s.page, IDC_FORM_FAVORITES, IDC_FAVORITE_LIST);
            SetRow(dialog, L"A4", selected, selected);
            ClickOpening(dialog, IDC_FAVORITE_EDIT);
            EXPECT_EQ(MessageOf(IDS_CAPTION_INFORMATION, IDS_CANNOT_EDIT_SPOOLER_FORM), AnswerMessageBox(IDOK));
            ClickOpening(dialog, IDC_FAVORITE_DELETE);
            EXPECT_EQ(MessageOf(IDS_CAPTION_DELETE_FORM, IDS_CONFIRM_DELETE_FORM), AnswerMessageBox(IDOK));
            EXPECT_EQ(MessageOf(IDS_CAPTION_INFORMATION, IDS_CANNOT_DELETE_SPOOLER_FORM), AnswerMessageBox(IDOK));
            EXPECT_NE(-1, RowOf(dialog, L"A4"));
            SetRow(dialog, L"Tarvik Tag", selected, selected);
            custom = Open(dialog, IDC_FAVORITE_EDIT, IDC_CUSTOM_FORM_NAME);
            EXPECT_EQ((Texts{L"Tarvik Tag", L"", L"100", L"200"}), Shown(custom));
            Type(custom, IDC_CUSTOM_FORM_WIDTH, L"2147483"); // the largest side
            CloseWith(custom, IDOK);
            EXPECT_EQ(L"2147483 x 200 mm", Rows(dialog).sizes[RowOf(dialog, L"Tarvik Tag")]);
            for (int answer : {IDCANCEL, IDOK})
            {
                ClickOpening(dialog, IDC_FAVORITE_DELETE);
                EXPECT_EQ(MessageOf(IDS_CAPTION_DELETE_FORM, IDS_CONFIRM_DELETE_FORM), AnswerMessageBox(answer));
                SendMessageW(dialog, WM_NULL, 0, 0);
                EXPECT_EQ(answer == IDCANCEL, RowOf(dialog, L"Tarvik Tag") != -1) << answer;
            }
        },
        PSBTN_CANCEL);
    EXPECT_EQ(Texts{L"Tarvik Card"}, formtest::CustomFormNames());
}
} // namespace
