// The favourite forms dialog and the custom form dialog, opened from the
// paper page of the real sheet as a user opens them.
#include "FormSheet.h"

#include "resource.h"

#include <winspool.h>

using namespace formpage;

namespace
{
using Names = std::vector<std::wstring>;

HWND OpenFavorites(HWND page)
{
    ClickOpening(page, IDC_FORM_FAVORITES);
    return WaitForDialogWith(IDC_FAVORITE_LIST);
}

Names SpoolerFormNames(HANDLE printer)
{
    DWORD needed = 0, count = 0;
    EnumFormsW(printer, 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    EnumFormsW(printer, 1, buffer.data(), needed, &needed, &count);
    Names names;
    for (DWORD i = 0; i < count; ++i)
        names.push_back(reinterpret_cast<const FORM_INFO_1W*>(buffer.data())[i].pName);
    return names;
}

using FavoriteForms = FormSheetTest;

TEST_F(FavoriteForms, TicksTheStoredListSwitchesUnitsAndOkStoresTheTickedRows)
{
    StoreFavorites(L"letter;A5;Gone"); // another letter case, and a form that no longer exists
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    lstrcpyW(in.dmFormName, L"Letter");
    ListRows first, afterUnits;
    Names a4Sizes, items;
    RunSheet(
        m_printer, in,
        [&](HWND page) {
            HWND dialog = OpenFavorites(page);
            ASSERT_NE(nullptr, dialog);
            first = Rows(dialog);
            for (int radio : {IDC_FAVORITE_UNIT_INCH, IDC_FAVORITE_UNIT_POINT, IDC_FAVORITE_UNIT_MM})
            {
                Click(dialog, radio);
                a4Sizes.push_back(Rows(dialog).sizes[RowOf(dialog, L"A4")]);
            }
            afterUnits = Rows(dialog);
            Tick(dialog, RowOf(dialog, L"Legal"), true);
            Tick(dialog, RowOf(dialog, L"A5"), false);
            CloseWith(dialog, IDOK, page);
            items = ComboItems(page, IDC_FORM_NAME);
        },
        PSBTN_CANCEL);
    EXPECT_EQ(SpoolerFormNames(m_printer), first.names);
    EXPECT_EQ((Names{L"Letter", L"A5"}), first.ticked);
    EXPECT_EQ((Names{L"8.27 x 11.69 inch", L"595.28 x 841.89 point", L"210 x 297 mm"}), a4Sizes);
    EXPECT_EQ(first.ticked, afterUnits.ticked);
    EXPECT_EQ(L"Letter;Legal", StoredFavorites()); // in the list's order; "Gone" is dropped
    EXPECT_EQ((Names{L"Letter", L"Legal"}), items);
}

// Adding a custom form: the dialog's checks and messages, the unit switch,
// the size cut to whole millimetres, the new row; Cancel then keeps the new
// form but not a change of favourites.
TEST_F(FavoriteForms, AddsACustomFormThatCancelKeeps)
{
    Names opened, switched;
    bool nameEnabled = false, millimetres = false, openAfterMessages = false;
    ListRows after;
    RunSheet(
        m_printer, testhost::DefaultRecord(),
        [&](HWND page) {
            HWND dialog = OpenFavorites(page);
            ASSERT_NE(nullptr, dialog);
            Tick(dialog, RowOf(dialog, L"Legal"), false);
            ClickOpening(dialog, IDC_FAVORITE_ADD);
            HWND custom = WaitForDialogWith(IDC_CUSTOM_FORM_NAME);
            ASSERT_NE(nullptr, custom);
            opened = {Text(custom, IDC_CUSTOM_FORM_NAME), Text(custom, IDC_CUSTOM_FORM_WIDTH),
                      Text(custom, IDC_CUSTOM_FORM_HEIGHT)};
            nameEnabled = Enabled(custom, IDC_CUSTOM_FORM_NAME);
            millimetres = Checked(custom, IDC_CUSTOM_FORM_UNIT_MM);
            ClickOpening(custom, IDOK);
            ExpectMessage(IDS_EMPTY_FORM_NAME, IDS_CAPTION_ERROR, IDOK);
            Type(custom, IDC_CUSTOM_FORM_NAME, L"Tarvik Card");
            Type(custom, IDC_CUSTOM_FORM_WIDTH, L"25.4"); // just below an inch as a float
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
    EXPECT_EQ((Names{L"", L"210", L"297"}), opened);
    EXPECT_TRUE(nameEnabled && millimetres && openAfterMessages);
    EXPECT_EQ((Names{L"1", L"11.69"}), switched);
    EXPECT_EQ(std::make_pair(215000L, 279000L), StoredForm(L"Tarvik Card")); // 215.9 x 279.4 cut
    ASSERT_FALSE(after.names.empty());
    EXPECT_EQ(L"Tarvik Card", after.names.back());
    EXPECT_EQ(L"215 x 279 mm", after.sizes.back());
    EXPECT_EQ((Names{L"Letter", L"A4", L"A5", L"B5 (JIS)"}), after.ticked); // in the rows' order
    EXPECT_EQ(L"A4;Letter;Legal;A5;B5 (JIS)", StoredFavorites());
}

// Spooler forms can be neither changed nor deleted; a custom form is
// changed in edit mode and deleted after the user confirms.
TEST_F(FavoriteForms, EditsAndDeletesOnlyCustomForms)
{
    StoreForm(L"Tarvik Tag", 100500, 200900);
    Names edit;
    bool nameEnabled = true, keptAfterNo = false;
    std::wstring editedSize;
    int rowAfterDelete = 0, a4AfterDelete = -1;
    RunSheet(
        m_printer, testhost::DefaultRecord(),
        [&](HWND page) {
            HWND dialog = OpenFavorites(page);
            ASSERT_NE(nullptr, dialog);
            SelectRow(dialog, RowOf(dialog, L"A4"));
            ClickOpening(dialog, IDC_FAVORITE_EDIT);
            ExpectMessage(IDS_CANNOT_EDIT_SPOOLER_FORM, IDS_CAPTION_INFORMATION, IDOK);
            ClickOpening(dialog, IDC_FAVORITE_DELETE);
            ExpectMessage(IDS_CONFIRM_DELETE_FORM, IDS_CAPTION_DELETE_FORM, IDOK);
            ExpectMessage(IDS_CANNOT_DELETE_SPOOLER_FORM, IDS_CAPTION_INFORMATION, IDOK);

            const int tag = RowOf(dialog, L"Tarvik Tag");
            SelectRow(dialog, tag);
            ClickOpening(dialog, IDC_FAVORITE_EDIT);
            HWND custom = WaitForDialogWith(IDC_CUSTOM_FORM_NAME);
            ASSERT_NE(nullptr, custom);
            edit = {Text(custom, IDC_CUSTOM_FORM_NAME), Text(custom, IDC_CUSTOM_FORM_WIDTH),
                    Text(custom, IDC_CUSTOM_FORM_HEIGHT)};
            nameEnabled = Enabled(custom, IDC_CUSTOM_FORM_NAME);
            Type(custom, IDC_CUSTOM_FORM_WIDTH, L"150");
            CloseWith(custom, IDOK, dialog);
            editedSize = Rows(dialog).sizes[tag];

            ClickOpening(dialog, IDC_FAVORITE_DELETE);
            ExpectMessage(IDS_CONFIRM_DELETE_FORM, IDS_CAPTION_DELETE_FORM, IDCANCEL);
            SendMessageW(dialog, WM_NULL, 0, 0);
            keptAfterNo = RowOf(dialog, L"Tarvik Tag") == tag && StoredForm(L"Tarvik Tag").first == 150000;
            ClickOpening(dialog, IDC_FAVORITE_DELETE);
            ExpectMessage(IDS_CONFIRM_DELETE_FORM, IDS_CAPTION_DELETE_FORM, IDOK);
            SendMessageW(dialog, WM_NULL, 0, 0);
            rowAfterDelete = RowOf(dialog, L"Tarvik Tag");
            a4AfterDelete = RowOf(dialog, L"A4");
        },
        PSBTN_CANCEL);
    EXPECT_EQ((Names{L"Tarvik Tag", L"100", L"200"}), edit); // whole millimetres
    EXPECT_FALSE(nameEnabled);
    EXPECT_EQ(L"150 x 200 mm", editedSize);
    EXPECT_TRUE(keptAfterNo);
    EXPECT_EQ(-1, rowAfterDelete);
    EXPECT_EQ(std::make_pair(-1L, -1L), StoredForm(L"Tarvik Tag"));
    EXPECT_NE(-1, a4AfterDelete);
}
} // namespace
