// The rules of the paper dialogs that need no window: the custom form
// dialog's unit switch, its one-inch minimum and its cut to whole
// millimetres, and which favourites the paper page offers and selects.
#include "RecordFields.h"

#include "CDlgFormSetting.h"
#include "CDlgUpdateForm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace
{
std::wstring Shown(float value)
{
    wchar_t text[32];
    FormatFormSize(value, text, 32);
    return text;
}

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
        EXPECT_EQ(expected, Shown(ConvertCustomFormSize(std::wcstof(shown, nullptr), from, to)))
            << testhost::Utf8(shown) << " from unit " << from << " to " << to;
}

// What OK does with a typed size: refuses it below one inch, else stores
// whole millimetres. 0 marks a refused value.
TEST(CustomFormSize, OneInchMinimumAndWholeMillimetres)
{
    const std::tuple<float, DWORD, DWORD> rows[] = {
        // clang-format off
        {25.4f, kUnitMillimetres, 0}, /* as a float just below 25.4 */ {25.41f, kUnitMillimetres, 25},
        {1.0f, kUnitInches, 25}, {0.99f, kUnitInches, 0}, {8.5f, kUnitInches, 215}, {11.0f, kUnitInches, 279},
        {72.0f, kUnitPoints, 25}, {71.9f, kUnitPoints, 0}, {612.0f, kUnitPoints, 215},
        {0.0f, kUnitMillimetres, 0} /* no number */, {-300.0f, kUnitInches, 0}, {std::nanf(""), kUnitPoints, 0},
        {1e30f, kUnitMillimetres, 0xFFFFFFFF}, // refused by the catalogue
        // clang-format on
    };
    for (const auto& [value, unit, stored] : rows)
        EXPECT_EQ(stored, IsBelowOneInch(value, unit) ? 0 : ToWholeMillimetres(value, unit))
            << value << " in unit " << unit;
}

TEST(FavoriteOffer, OnlyFavoritesNamingACatalogueFormAreOffered)
{
    const wchar_t* names[] = {L"Letter", L"Legal", L"A4", L"A5", L"a5", L"Tarvik Card 0123456789 0123456789"};
    FORM_ITEM items[std::size(names)] = {};
    FORM_ITEM* forms[std::size(names)];
    for (size_t i = 0; i < std::size(names); ++i)
    {
        lstrcpyW(items[i].szName, names[i]);
        forms[i] = &items[i];
    }
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
}
} // namespace
