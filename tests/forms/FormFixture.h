// Shared ground of the form tests: the installed printer "Tarvik", the
// spooler's list of its forms, and raw access to the stored custom forms and
// favourites, which every test starts and ends without.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace formtest
{
struct Form
{
    std::wstring name;
    DWORD flags;
    LONG cx;
    LONG cy;
};

// The custom forms' value names in the registry's enumeration order.
std::vector<std::wstring> CustomFormNames();
LONG WriteValue(const wchar_t* key, const std::wstring& name, DWORD type, const void* data, DWORD size);
// The favourite list as stored ("FavoriteForm"), or "(none)".
std::wstring StoredFavorites();
LONG StoreFavorites(const std::wstring& text);

class PrinterFormsTest : public testing::Test
{
  protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override { SetUp(); }

    static HANDLE s_printer;
    static std::vector<Form> s_spoolerForms; // EnumFormsW level 1, in order
};
} // namespace formtest
