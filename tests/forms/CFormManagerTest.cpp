// The form catalogue against the real spooler and the registry of the private
// prefix: numbering across both, stored records and favourites. (The unit
// texts are read on the paper page and in the favourites dialog.)
#include "FormFixture.h"
#include "ReportLines.h"

#include "CFormManager.h"

#include <string>
#include <tuple>
#include <vector>

namespace
{
using formtest::CustomFormNames;

using Catalogue = formtest::PrinterFormsTest;

TEST_F(Catalogue, SpoolerFormsThenCustomFormsNumberedOnwards)
{
    CFormManager forms;
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Poster", 500, 700));
    ASSERT_EQ(0u, forms.AddForm(L"A4", 100, 150)); // named like a spooler form
    ASSERT_EQ(0u, forms.SetPrinter(s_printer));
    ASSERT_EQ(0u, forms.LoadAvailableForm());
    const size_t n = s_spoolerForms.size();
    ASSERT_EQ(n + 2, forms.GetFormCount());
    FORM_ITEM* const* items = forms.GetForms();
    for (size_t i = 0; i < n; ++i)
    {
        const formtest::Form& form = s_spoolerForms[i];
        EXPECT_TRUE(items[i]->wPaperNumber == i + 1 && form.name == items[i]->szName &&
                    form.flags == items[i]->dwFlags && form.cx == items[i]->size.cx && form.cy == items[i]->size.cy)
            << i << " " << testhost::Utf8(form.name);
    }
    const std::vector<std::wstring> stored = CustomFormNames();
    ASSERT_EQ(2u, stored.size());
    for (size_t k = 0; k < 2; ++k)
    {
        const bool a4 = stored[k] == L"A4";
        EXPECT_EQ(n + 1 + k, items[n + k]->wPaperNumber);
        EXPECT_EQ(stored[k], items[n + k]->szName);
        EXPECT_EQ(static_cast<DWORD>(FORM_CUSTOM), items[n + k]->dwFlags);
        EXPECT_EQ(a4 ? 100000 : 500000, items[n + k]->size.cx);
        EXPECT_EQ(a4 ? 150000 : 700000, items[n + k]->size.cy);
    }
    // The name finds the spooler's A4 first; only exact names match.
    ASSERT_NE(nullptr, forms.FindForm(L"A4"));
    EXPECT_EQ(210000, forms.FindForm(L"A4")->size.cx);
    EXPECT_EQ(nullptr, forms.FindForm(L"a4"));
}

TEST_F(Catalogue, AddReplacesAndDeleteFindsOnlyCustomForms)
{
    CFormManager forms;
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Card", 100, 200));
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Card", 300, 400));
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Tag", 30, 60));
    ASSERT_EQ(0u, forms.SetPrinter(s_printer));
    ASSERT_EQ(0u, forms.LoadAvailableForm());
    const FORM_ITEM* card = forms.FindForm(L"Tarvik Card");
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(300000, card->size.cx);
    EXPECT_EQ(400000, card->size.cy);
    EXPECT_EQ(s_spoolerForms.size() + 2, forms.GetFormCount());

    ASSERT_EQ(0u, forms.DeleteForm(L"Tarvik Card"));
    EXPECT_EQ(2u, forms.DeleteForm(L"Tarvik Card"));
    EXPECT_EQ(2u, forms.DeleteForm(L"Letter"));
    EXPECT_EQ(std::vector<std::wstring>{L"Tarvik Tag"}, CustomFormNames());
    EXPECT_EQ(87u, forms.AddForm(std::wstring(65, L'x').c_str(), 10, 10));
    EXPECT_EQ(87u, forms.AddForm(L"", 10, 10));
}

TEST_F(Catalogue, FavoritesSplitOnSeparatorsAndSaveJoined)
{
    // The stored value; the names loaded, the value saved again.
    const std::tuple<std::wstring, std::vector<std::wstring>, std::wstring> rows[] = {
        {L";A4;;Letter;", {L"A4", L"Letter"}, L"A4;Letter"},
        {L" A4 ;A4", {L" A4 ", L"A4"}, L" A4 ;A4"},
        {L";;", {}, L""},
    };
    for (const auto& [stored, names, saved] : rows)
    {
        ASSERT_EQ(0, formtest::StoreFavorites(stored));
        CFormManager forms;
        forms.AddFavoriteForm(L"replaced by the load");
        EXPECT_EQ(0u, forms.LoadFavoriteForm());
        EXPECT_EQ(names, std::vector<std::wstring>(forms.GetFavoriteForms(),
                                                   forms.GetFavoriteForms() + forms.GetFavoriteFormCount()));
        EXPECT_EQ(0u, forms.SaveFavoriteForm());
        EXPECT_EQ(saved, formtest::StoredFavorites()) << testhost::Utf8(stored);
    }

    // Without the value: code 2 and an empty list.
    SetUp();
    CFormManager forms;
    forms.AddFavoriteForm(L"A4");
    EXPECT_EQ(2u, forms.LoadFavoriteForm());
    EXPECT_EQ(0u, forms.GetFavoriteFormCount());
}
} // namespace
