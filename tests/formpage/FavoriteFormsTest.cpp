// The favourite forms dialog and the custom form dialog, opened from the
// paper page of the real sheet as a user opens them.
#include "FormFixture.h"
#include "SheetSession.h"

#include "CFormManager.h"
#include "resource.h"

namespace
{
using namespace testhost;
using Texts = std::vector<std::wstring>;

// Clicks `button` and waits for the dialog, known by its control `id`, that it opens.
HWND Open(HWND parent, int button, int id)
{
    ClickOpening(parent, button);
    return WaitForTopWindow([&](HWND w) { return IsDialog(w) && GetDlgItem(w, id); });
}

HWND OpenFavorites(HWND page)
{
    return Open(page, IDC_FORM_FAVORITES, IDC_FAVORITE_LIST);
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
        ListView_GetItemText(list, row, 0, name, 256);
        ListView_GetItemText(list, row, 1, size, 256);
        rows.names.push_back(name);
        rows.sizes.push_back(size);
        if (ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2))
            rows.ticked.push_back(name);
    }
    return rows;
}

int RowOf(HWND dialog, const wchar_t* name)
{
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = name;
    return ListView_FindItem(GetDlgItem(dialog, IDC_FAVORITE_LIST), -1, &find);
}

void SetRow(HWND dialog, const wchar_t* name, UINT state, UINT mask)
{
    ListView_SetItemState(GetDlgItem(dialog, IDC_FAVORITE_LIST), RowOf(dialog, name), state, mask);
}

void Tick(HWND dialog, const wchar_t* name, bool on)
{
    SetRow(dialog, name, INDEXTOSTATEIMAGEMASK(on ? 2 : 1), LVIS_STATEIMAGEMASK);
}

// The custom form dialog's name, whether it can be changed, and the size.
Texts Shown(HWND custom)
{
    return {Text(custom, IDC_CUSTOM_FORM_NAME), Enabled(custom, IDC_CUSTOM_FORM_NAME) ? L"enabled" : L"",
            Text(custom, IDC_CUSTOM_FORM_WIDTH), Text(custom, IDC_CUSTOM_FORM_HEIGHT)};
}

using FavoriteForms = formtest::PrinterFormsTest;

TEST_F(FavoriteForms, TicksTheStoredListSwitchesUnitsAndOkStoresTheTickedRows)
{
    formtest::StoreFavorites(L"letter;A5;Gone"); // another letter case, and a form deleted elsewhere
    TARVIK_DEVMODE in = DefaultRecord();
    lstrcpyW(in.dmFormName, L"Letter");
    ListRows first, units;
    Texts a4, items;
    const auto script = [&](const Sheet& s) {
        HWND dialog = OpenFavorites(s.page);
        ASSERT_NE(nullptr, dialog);
        first = Rows(dialog);
        for (int radio : {IDC_FAVORITE_UNIT_INCH, IDC_FAVORITE_UNIT_POINT, IDC_FAVORITE_UNIT_MM})
        {
            Click(dialog, radio);
            units = Rows(dialog);
            a4.push_back(units.sizes[RowOf(dialog, L"A4")]);
        }
        Tick(dialog, L"Legal", true);
        Tick(dialog, L"A5", false);
        CloseWith(dialog, IDOK);
        items = Items(s.page, IDC_FORM_NAME);
    };
    RunSheet(s_printer, in, IDS_TITLE_FORM, script, PSBTN_CANCEL);
    // Every catalogue form (the spooler's, as there are no custom forms), in order.
    Texts spooler;
    for (const formtest::Form& form : s_spoolerForms)
        spooler.push_back(form.name);
    EXPECT_EQ(spooler, first.names);
    EXPECT_EQ((Texts{L"Letter", L"A5"}), first.ticked);
    EXPECT_EQ((Texts{L"8.27 x 11.69 inch", L"595.28 x 841.89 point", L"210 x 297 mm"}), a4);
    EXPECT_EQ(first.ticked, units.ticked);
    EXPECT_EQ(L"Letter;Legal", formtest::StoredFavorites()); // in the list's order; "Gone" is dropped
    EXPECT_EQ((Texts{L"Letter", L"Legal"}), items);
}

// Adding a custom form: the dialog's messages, the unit switch, the size cut
// to whole millimetres, the new row; Cancel then keeps the new form but not
// the changed ticks.
TEST_F(FavoriteForms, AddsACustomFormThatCancelKeeps)
{
    Texts opened, switched;
    bool openAfterMessages = false;
    ListRows after;
    const auto script = [&](const Sheet& s) {
        HWND dialog = OpenFavorites(s.page);
        ASSERT_NE(nullptr, dialog);
        Tick(dialog, L"Legal", false);
        HWND custom = Open(dialog, IDC_FAVORITE_ADD, IDC_CUSTOM_FORM_NAME);
        ASSERT_NE(nullptr, custom);
        opened = Shown(custom);
        opened.push_back(IsDlgButtonChecked(custom, IDC_CUSTOM_FORM_UNIT_MM) ? L"mm" : L"?");
        ClickOpening(custom, IDOK);
        EXPECT_EQ(MessageOf(IDS_CAPTION_ERROR, IDS_EMPTY_FORM_NAME), AnswerMessageBox(IDOK));
        Type(custom, IDC_CUSTOM_FORM_NAME, L"Tarvik Card");
        Type(custom, IDC_CUSTOM_FORM_WIDTH, L"25.4"); // as a float just below an inch
        ClickOpening(custom, IDOK);
        EXPECT_EQ(MessageOf(IDS_CAPTION_ERROR, IDS_FORM_TOO_SMALL), AnswerMessageBox(IDOK));
        SendMessageW(custom, WM_NULL, 0, 0);
        openAfterMessages = IsWindow(custom) != FALSE;
        Click(custom, IDC_CUSTOM_FORM_UNIT_INCH);
        switched = {Text(custom, IDC_CUSTOM_FORM_WIDTH), Text(custom, IDC_CUSTOM_FORM_HEIGHT)};
        Type(custom, IDC_CUSTOM_FORM_WIDTH, L"8.5");
        Type(custom, IDC_CUSTOM_FORM_HEIGHT, L"11");
        CloseWith(custom, IDOK);
        after = Rows(dialog);
        CloseWith(dialog, IDCANCEL);
    };
    RunSheet(s_printer, DefaultRecord(), IDS_TITLE_FORM, script, PSBTN_CANCEL);
    EXPECT_EQ((Texts{L"", L"enabled", L"210", L"297", L"mm"}), opened);
    EXPECT_TRUE(openAfterMessages);
    EXPECT_EQ((Texts{L"1", L"11.69"}), switched);
    ASSERT_FALSE(after.names.empty());
    // The size column reads the registry again: 215.9 x 279.4 was cut.
    EXPECT_EQ((Texts{L"Tarvik Card", L"215 x 279 mm"}), (Texts{after.names.back(), after.sizes.back()}));
    EXPECT_EQ((Texts{L"Letter", L"A4", L"A5", L"B5 (JIS)"}), after.ticked); // unticked, appended
    EXPECT_EQ(L"A4;Letter;Legal;A5;B5 (JIS)", formtest::StoredFavorites());
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, TARVIK_FORMS_KEY, L"Tarvik Card", RRF_RT_REG_BINARY,
                                          nullptr, nullptr, nullptr));
}

// Spooler forms can be neither changed nor deleted; a custom form is changed
// in edit mode and deleted once the user confirms.
TEST_F(FavoriteForms, EditsAndDeletesOnlyCustomForms)
{
    CFormManager().AddForm(L"Tarvik Tag", 100, 200);
    Texts edit;
    std::vector<int> rows;
    const auto script = [&](const Sheet& s) {
        HWND dialog = OpenFavorites(s.page);
        ASSERT_NE(nullptr, dialog);
        const UINT selected = LVIS_SELECTED | LVIS_FOCUSED;
        SetRow(dialog, L"A4", selected, selected);
        ClickOpening(dialog, IDC_FAVORITE_EDIT);
        EXPECT_EQ(MessageOf(IDS_CAPTION_INFORMATION, IDS_CANNOT_EDIT_SPOOLER_FORM), AnswerMessageBox(IDOK));
        ClickOpening(dialog, IDC_FAVORITE_DELETE);
        EXPECT_EQ(MessageOf(IDS_CAPTION_DELETE_FORM, IDS_CONFIRM_DELETE_FORM), AnswerMessageBox(IDOK));
        EXPECT_EQ(MessageOf(IDS_CAPTION_INFORMATION, IDS_CANNOT_DELETE_SPOOLER_FORM), AnswerMessageBox(IDOK));

        SetRow(dialog, L"Tarvik Tag", selected, selected);
        HWND custom = Open(dialog, IDC_FAVORITE_EDIT, IDC_CUSTOM_FORM_NAME);
        ASSERT_NE(nullptr, custom);
        edit = Shown(custom);
        Type(custom, IDC_CUSTOM_FORM_WIDTH, L"150");
        CloseWith(custom, IDOK);
        edit.push_back(Rows(dialog).sizes[RowOf(dialog, L"Tarvik Tag")]);

        for (int answer : {IDCANCEL, IDOK})
        {
            ClickOpening(dialog, IDC_FAVORITE_DELETE);
            EXPECT_EQ(MessageOf(IDS_CAPTION_DELETE_FORM, IDS_CONFIRM_DELETE_FORM), AnswerMessageBox(answer));
            SendMessageW(dialog, WM_NULL, 0, 0);
            rows.push_back(RowOf(dialog, L"Tarvik Tag"));
        }
        rows.push_back(RowOf(dialog, L"A4"));
    };
    RunSheet(s_printer, DefaultRecord(), IDS_TITLE_FORM, script, PSBTN_CANCEL);
    EXPECT_EQ((Texts{L"Tarvik Tag", L"", L"100", L"200", L"150 x 200 mm"}), edit);
    ASSERT_EQ(3u, rows.size());
    EXPECT_NE(-1, rows[0]); // kept after Cancel
    EXPECT_EQ(-1, rows[1]);
    EXPECT_NE(-1, rows[2]);
    EXPECT_EQ(std::vector<std::wstring>{}, formtest::CustomFormNames());
}
} // namespace
