// The form catalogue against the real spooler and the registry of the private
// prefix: numbering across both, stored records, favourites and unit texts.
#include "FormFixture.h"
#include "ReportLines.h"

#include "CFormManager.h"

#include <string>
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
    const struct
    {
        std::wstring stored;
        std::vector<std::wstring> names;
        std::wstring saved;
    } rows[] = {
        {L";A4;;Letter;", {L"A4", L"Letter"}, L"A4;Letter"},
        {L" A4 ;A4", {L" A4 ", L"A4"}, L" A4 ;A4"},
        {L";;", {}, L""},
    };
    for (const auto& row : rows)
    {
        const DWORD bytes = static_cast<DWORD>((row.stored.size() + 1) * 2);
        ASSERT_EQ(0, formtest::WriteValue(TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE, REG_SZ, row.stored.c_str(), bytes));
        CFormManager forms;
        forms.AddFavoriteForm(L"replaced by the load");
        EXPECT_EQ(0u, forms.LoadFavoriteForm());
        EXPECT_EQ(row.names, std::vector<std::wstring>(forms.GetFavoriteForms(),
                                                       forms.GetFavoriteForms() + forms.GetFavoriteFormCount()));
        EXPECT_EQ(0u, forms.SaveFavoriteForm());
        wchar_t saved[64] = L"?";
        DWORD size = sizeof(saved);
        EXPECT_EQ(0, RegGetValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE, RRF_RT_REG_SZ, nullptr,
                                  saved, &size));
        EXPECT_EQ(row.saved, saved) << testhost::Utf8(row.stored);
    }

    // Without the value: code 2 and an empty list.
    SetUp();
    CFormManager forms;
    forms.AddFavoriteForm(L"A4");
    EXPECT_EQ(2u, forms.LoadFavoriteForm());
    EXPECT_EQ(0u, forms.GetFavoriteFormCount());
}

TEST_F(Catalogue, UnitTextsOfTheSpoolersA4AndLetter)
{
    CFormManager forms;
    ASSERT_EQ(0u, forms.SetPrinter(s_printer));
    ASSERT_EQ(0u, forms.LoadAvailableForm());
    const struct
    {
        const wchar_t* form;
        const wchar_t* texts[6]; // mm, inch, point; width then height
    } rows[] = {
        {L"A4", {L"210", L"297", L"8.27", L"11.69", L"595.28", L"841.89"}},
        {L"Letter", {L"215.9", L"279.4", L"8.5", L"11", L"612", L"792"}},
    };
    for (const auto& row : rows)
    {
        const FORM_ITEM* form = forms.FindForm(row.form);
        ASSERT_NE(nullptr, form);
        for (int side = 0; side < 2; ++side)
        {
            const float mm = FormSizeToMillimetres(side ? form->size.cy : form->size.cx);
            const float values[3] = {mm, MillimetresToInches(mm), InchesToPoints(MillimetresToInches(mm))};
            for (int unit = 0; unit < 3; ++unit)
            {
                wchar_t text[32];
                FormatFormSize(values[unit], text, 32);
                EXPECT_STREQ(row.texts[unit * 2 + side], text) << testhost::Utf8(row.form) << " unit " << unit;
            }
        }
    }
}
} // namespace
