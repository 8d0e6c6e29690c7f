// The form catalogue against the real spooler and the registry of the private
// prefix: numbering across both, stored records, favourites, the hwp.exe cap.
#include "FormFixture.h"
#include "ProbeRun.h"
#include "ReportLines.h"

#include "CFormManager.h"

#include <tuple>

namespace
{
using formtest::CustomFormNames;
using Catalogue = formtest::PrinterFormsTest;
using Names = std::vector<std::wstring>;

TEST_F(Catalogue, SpoolerFormsThenCustomFormsAddedReplacedAndDeleted)
{
    CFormManager forms;
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Card", 100, 200));
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Card", 500, 700)); // replaces
    ASSERT_EQ(0u, forms.AddForm(L"A4", 100, 150));          // named like a spooler form
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
    const Names stored = CustomFormNames(); // numbered on in the registry's order
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

    ASSERT_EQ(0u, forms.DeleteForm(L"Tarvik Card"));
    EXPECT_EQ(2u, forms.DeleteForm(L"Tarvik Card"));
    EXPECT_EQ(2u, forms.DeleteForm(L"Letter"));
    EXPECT_EQ(Names{L"A4"}, CustomFormNames());
    EXPECT_EQ(87u, forms.AddForm(std::wstring(65, L'x').c_str(), 10, 10));
    EXPECT_EQ(87u, forms.AddForm(L"", 10, 10));
}

TEST_F(Catalogue, FavoritesSplitOnSeparatorsAndSaveJoined)
{
    // The stored value (null: none); the names loaded, the load's code, the value saved again.
    const std::tuple<const wchar_t*, Names, DWORD, std::wstring> rows[] = {
        {L";A4;;Letter;", {L"A4", L"Letter"}, 0, L"A4;Letter"},
        {L" A4 ;A4", {L" A4 ", L"A4"}, 0, L" A4 ;A4"},
        {L";;", {}, 0, L""},
        {nullptr, {}, 2, L""},
    };
    for (const auto& [stored, names, code, saved] : rows)
    {
        SetUp();
        if (stored)
        {
            ASSERT_EQ(0, formtest::StoreFavorites(stored));
        }
        CFormManager forms;
        forms.AddFavoriteForm(L"replaced by the load");
        EXPECT_EQ(code, forms.LoadFavoriteForm());
        EXPECT_EQ(names, Names(forms.GetFavoriteForms(), forms.GetFavoriteForms() + forms.GetFavoriteFormCount()));
        EXPECT_EQ(0u, forms.SaveFavoriteForm());
        EXPECT_EQ(saved, formtest::StoredFavorites()) << (stored ? testhost::Utf8(stored) : "none");
    }
}

// Measured in copies of the probe program: it prints the catalogue's count
// and whether the paper answers are the catalogue's.
TEST_F(Catalogue, OnlyAnHwpHostIsCappedAndOnlyFrom256Forms)
{
    // The forms there are, the probe's name, the forms it sees.
    const std::tuple<size_t, const wchar_t*, unsigned> rows[] = {
        {255, L"hwp.exe", 255}, {256, L"hwp.exe", 255},   {256, L"probe.exe", 256},
        {300, L"HWP.EXE", 255}, {300, L"myhwp.exe", 300},
    };
    CFormManager writer;
    size_t total = s_spoolerForms.size();
    for (const auto& [forms, name, count] : rows)
    {
        for (; total < forms; ++total)
            ASSERT_EQ(0u, writer.AddForm((L"Tarvik " + std::to_wstring(total)).c_str(), 100, 100));
        std::string output;
        EXPECT_EQ(0u, testhost::RunProbeAs(name, L"papers", &output));
        EXPECT_EQ(std::to_string(count) + " 1\r\n", output) << testhost::Utf8(name) << ", " << forms;
    }
}
} // namespace
