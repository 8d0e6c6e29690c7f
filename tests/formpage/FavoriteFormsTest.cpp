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
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = name;
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
            ASSERT_NE(nullptr, dialog);
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
            ASSERT_NE(nullptr, dialog);
            SetRow(dialog, L"Legal", unticked);
            HWND custom = Open(dialog, IDC_FAVORITE_ADD, IDC_CUSTOM_FORM_NAME);
            ASSERT_NE(nullptr, custom);
            EXPECT_EQ((Texts{L"", L"enabled", L"210", L"297"}), Shown(custom));
            EXPECT_TRUE(IsDlgButtonChecked(custom, IDC_CUSTOM_FORM_UNIT_MM));
            ClickOpening(custom, IDOK);
            EXPECT_EQ(MessageOf(IDS_CAPTION_ERROR, IDS_EMPTY_FORM_NAME), AnswerMessageBox(IDOK));
            Type(custom, IDC_CUSTOM_FORM_NAME, L"Tarvik Card");
            Type(custom, IDC_CUSTOM_FORM_WIDTH, L"25.4"); // as a float just below an inch
            ClickOpening(custom, IDOK);
            EXPECT_EQ(MessageOf(IDS_CAPTION_ERROR, IDS_FORM_TOO_SMALL), AnswerMessageBox(IDOK));
            SendMessageW(custom, WM_NULL, 0, 0);
            EXPECT_TRUE(IsWindow(custom)); // the messages keep the dialog
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
            ASSERT_NE(nullptr, dialog);
            SetRow(dialog, L"A4", selected, selected);
            ClickOpening(dialog, IDC_FAVORITE_EDIT);
            EXPECT_EQ(MessageOf(IDS_CAPTION_INFORMATION, IDS_CANNOT_EDIT_SPOOLER_FORM), AnswerMessageBox(IDOK));
            ClickOpening(dialog, IDC_FAVORITE_DELETE);
            EXPECT_EQ(MessageOf(IDS_CAPTION_DELETE_FORM, IDS_CONFIRM_DELETE_FORM), AnswerMessageBox(IDOK));
            EXPECT_EQ(MessageOf(IDS_CAPTION_INFORMATION, IDS_CANNOT_DELETE_SPOOLER_FORM), AnswerMessageBox(IDOK));
            EXPECT_NE(-1, RowOf(dialog, L"A4"));
            SetRow(dialog, L"Tarvik Tag", selected, selected);
            custom = Open(dialog, IDC_FAVORITE_EDIT, IDC_CUSTOM_FORM_NAME);
            ASSERT_NE(nullptr, custom);
            EXPECT_EQ((Texts{L"Tarvik Tag", L"", L"100", L"200"}), Shown(custom));
            Type(custom, IDC_CUSTOM_FORM_WIDTH, L"150");
            CloseWith(custom, IDOK);
            EXPECT_EQ(L"150 x 200 mm", Rows(dialog).sizes[RowOf(dialog, L"Tarvik Tag")]);
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
