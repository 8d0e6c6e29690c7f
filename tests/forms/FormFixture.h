// Shared ground of the form tests: the installed printer "Tarvik", the
// spooler's own list of its forms, and raw access to the custom-form and
// favourite values of the private prefix, which every test sets up and
// removes.
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
// The value's bytes; `type` is REG_NONE when it is missing.
std::vector<BYTE> ReadValue(const wchar_t* key, const wchar_t* name, DWORD* type);

// Installs the printer once per program; every test starts and ends with
// no custom forms and no favourites stored.
class PrinterFormsTest : public testing::Test
{
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    static HANDLE s_printer;
    static std::vector<Form> s_spoolerForms; // EnumFormsW level 1, in order
};
} // namespace formtest
