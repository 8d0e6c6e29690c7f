// The installed printer "Tarvik", its spooler forms, and raw access to the
// stored custom forms and favourites, which every test starts and ends without.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class CFormManager;

namespace formtest
{
struct Form
{
    std::wstring name;
    DWORD flags;
    LONG cx;
    LONG cy;
};

constexpr BYTE kUntouched = 0xCD; // what buffers hold before an answer
constexpr size_t kGuard = 256;    // bytes checked past every answer

// The custom forms' value names in the registry's enumeration order.
std::vector<std::wstring> CustomFormNames();
LONG WriteValue(const wchar_t* key, const std::wstring& name, DWORD type, const void* data, DWORD size);
// The favourite list as stored ("FavoriteForm"), or "(none)".
std::wstring StoredFavorites();
LONG StoreFavorites(const std::wstring& text);

// An index of DrvDeviceCapabilities and its output buffer.
using CapsCall = std::function<DWORD(WORD index, void* output)>;
CapsCall Caps(HANDLE printer, const wchar_t* name);

// The paper answers (names, numbers, sizes) asked for their counts, then into
// buffers of exactly that size: "counts" and the six counts (" written past
// the entries" after an overrun), then "name | number | width x height" each.
std::vector<std::wstring> AskPapers(const CapsCall& caps);
// What they must be: the forms numbered from 1, names cut to 63 characters,
// the size of the first form of the name; then "Custom Size", DMPAPER_USER.
std::vector<std::wstring> PapersOf(const CFormManager& catalogue);

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
