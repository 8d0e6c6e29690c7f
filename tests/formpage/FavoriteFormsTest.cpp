// The favourite forms dialog and the custom form dialog, opened from the
// paper page of the real sheet as a user opens them.
#include "FormSheet.h"

#include "CFormManager.h"
#include "resource.h"

using namespace formpage;

namespace
{
HWND OpenFavorites(HWND page)
{
    return User::Open(page, IDC_FORM_FAVORITES, IDC_FAVORITE_LIST);
}

// The custom form dialog's name, whether it can be changed, and the size.
Texts Shown(HWND custom)
{
    return {User::Text(custom, IDC_CUSTOM_FORM_NAME), User::Enabled(custom, IDC_CUSTOM_FORM_NAME) ? L"enabled" : L"",
            User::Text(custom, IDC_CUSTOM_FORM_WIDTH), User::Text(custom, IDC_CUSTOM_FORM_HEIGHT)};
}

using FavoriteForms = FormSheetTest;

TEST_F(FavoriteForms, TicksTheStoredListSwitchesUnitsAndOkStoresTheTickedRows)
{
    StoreFavorites(L"letter;A5;Gone"); // another letter case, and a form deleted elsewhere
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    lstrcpyW(in.dmFormName, L"Letter");
    ListRows first, units;
    Texts a4, items;
    RunSheet(
        in,
        [&](HWND page) {
            HWND dialog = OpenFavorites(page);
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
            CloseWith(dialog, IDOK, page);
            items = ComboItems(page, IDC_FORM_NAME);
        },
        PSBTN_CANCEL);
    // Every catalogue form, in the catalogue's order.
    CFormManager forms;
    forms.SetPrinter(m_printer);
    forms.LoadAvailableForm();
    ASSERT_EQ(forms.GetFormCount(), first.names.size());
    for (size_t i = 0; i < first.names.size(); ++i)
        EXPECT_EQ(forms.GetForms()[i]->szName, first.names[i]);
    EXPECT_EQ((Texts{L"Letter", L"A5"}), first.ticked);
    EXPECT_EQ((Texts{L"8.27 x 11.69 inch", L"595.28 x 841.89 point", L"210 x 297 mm"}), a4);
    EXPECT_EQ(first.ticked, units.ticked);
    EXPECT_EQ(L"Letter;Legal", StoredFavorites()); // in the list's order; "Gone" is dropped
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
    RunSheet(
        testhost::DefaultRecord(),
        [&](HWND page) {
            HWND dialog = OpenFavorites(page);
            ASSERT_NE(nullptr, dialog);
            Tick(dialog, L"Legal", false);
            HWND custom = Open(dialog, IDC_FAVORITE_ADD, IDC_CUSTOM_FORM_NAME);
            ASSERT_NE(nullptr, custom);
            opened = Shown(custom);
            opened.push_back(IsDlgButtonChecked(custom, IDC_CUSTOM_FORM_UNIT_MM) ? L"mm" : L"?");
            ClickOpening(custom, IDOK);
            ExpectMessage(IDS_EMPTY_FORM_NAME, IDS_CAPTION_ERROR, IDOK);
            Type(custom, IDC_CUSTOM_FORM_NAME, L"Tarvik Card");
            Type(custom, IDC_CUSTOM_FORM_WIDTH, L"25.4"); // as a float just below an inch
            ClickOpening(custom, IDOK);
            ExpectMessage(IDS_FORM_TOO_SMALL, IDS_CAPTION_ERROR, IDOK);
            SendMessageW(custom, WM_NULL, 0, 0);
            openAfterMessages = IsWindow(custom) != FALSE;
            Click(custom, IDC_CUSTOM_FORM_UNIT_INCH);
            switched = {Text(custom, IDC_CUSTOM_FORM_WIDTH), Text(custom, IDC_CUSTOM_FORM_HEIGHT)};
            Type(custom, IDC_CUSTOM_FORM_WIDTH, L"8.5");
            Type(custom, IDC_CUSTOM_FORM_HEIGHT, L"11");
            CloseWith(custom, IDOK, dialog);
            after = Rows(dialog);
            CloseWith(dialog, IDCANCEL, page);
        },
        PSBTN_CANCEL);
    EXPECT_EQ((Texts{L"", L"enabled", L"210", L"297", L"mm"}), opened);
    EXPECT_TRUE(openAfterMessages);
    EXPECT_EQ((Texts{L"1", L"11.69"}), switched);
    ASSERT_FALSE(after.names.empty());
    // The size column reads the registry again: 215.9 x 279.4 was cut.
    EXPECT_EQ((Texts{L"Tarvik Card", L"215 x 279 mm"}), (Texts{after.names.back(), after.sizes.back()}));
    EXPECT_EQ((Texts{L"Letter", L"A4", L"A5", L"B5 (JIS)"}), after.ticked); // unticked, appended
    EXPECT_EQ(L"A4;Letter;Legal;A5;B5 (JIS)", StoredFavorites());
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
    RunSheet(
        testhost::DefaultRecord(),
        [&](HWND page) {
            HWND dialog = OpenFavorites(page);
            ASSERT_NE(nullptr, dialog);
            SelectRow(dialog, L"A4");
            ClickOpening(dialog, IDC_FAVORITE_EDIT);
            ExpectMessage(IDS_CANNOT_EDIT_SPOOLER_FORM, IDS_CAPTION_INFORMATION, IDOK);
            ClickOpening(dialog, IDC_FAVORITE_DELETE);
            ExpectMessage(IDS_CONFIRM_DELETE_FORM, IDS_CAPTION_DELETE_FORM, IDOK);
            ExpectMessage(IDS_CANNOT_DELETE_SPOOLER_FORM, IDS_CAPTION_INFORMATION, IDOK);

            SelectRow(dialog, L"Tarvik Tag");
            HWND custom = Open(dialog, IDC_FAVORITE_EDIT, IDC_CUSTOM_FORM_NAME);
            ASSERT_NE(nullptr, custom);
            edit = Shown(custom);
            Type(custom, IDC_CUSTOM_FORM_WIDTH, L"150");
            CloseWith(custom, IDOK, dialog);
            edit.push_back(Rows(dialog).sizes[RowOf(dialog, L"Tarvik Tag")]);

            for (int answer : {IDCANCEL, IDOK})
            {
                ClickOpening(dialog, IDC_FAVORITE_DELETE);
                ExpectMessage(IDS_CONFIRM_DELETE_FORM, IDS_CAPTION_DELETE_FORM, answer);
                SendMessageW(dialog, WM_NULL, 0, 0);
                rows.push_back(RowOf(dialog, L"Tarvik Tag"));
            }
            rows.push_back(RowOf(dialog, L"A4"));
        },
        PSBTN_CANCEL);
    EXPECT_EQ((Texts{L"Tarvik Tag", L"", L"100", L"200", L"150 x 200 mm"}), edit);
    ASSERT_EQ(3u, rows.size());
    EXPECT_NE(-1, rows[0]); // kept after Cancel
    EXPECT_EQ(-1, rows[1]);
    EXPECT_NE(-1, rows[2]);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegGetValueW(HKEY_CURRENT_USER, TARVIK_FORMS_KEY, L"Tarvik Tag", RRF_RT_ANY, nullptr, nullptr, nullptr));
}
} // namespace
