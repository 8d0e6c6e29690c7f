#include "FormFixture.h"

#include "PrinterInstaller.h"
#include "ReportLines.h"

#include "CFormManager.h"

#include <winspool.h>

namespace formtest
{
HANDLE PrinterFormsTest::s_printer = nullptr;
std::vector<Form> PrinterFormsTest::s_spoolerForms;

namespace
{
void RemoveStoredForms()
{
    RegDeleteKeyW(HKEY_CURRENT_USER, TARVIK_FORMS_KEY);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS)
    {
        RegDeleteValueW(key, TARVIK_FAVORITE_VALUE);
        RegCloseKey(key);
    }
}
} // namespace

std::vector<std::wstring> CustomFormNames()
{
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, TARVIK_FORMS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    DWORD length = 256;
    for (DWORD i = 0; RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == 0; ++i, length = 256)
        names.emplace_back(name, length);
    RegCloseKey(key);
    return names;
}

LONG WriteValue(const wchar_t* key, const std::wstring& name, DWORD type, const void* data, DWORD size)
{
    HKEY handle = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    if (rc == ERROR_SUCCESS)
    {
        rc = RegSetValueExW(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(handle);
    }
    return rc;
}

std::vector<BYTE> ReadValue(const wchar_t* key, const wchar_t* name, DWORD* type)
{
    std::vector<BYTE> data(16384);
    DWORD size = 16384;
    *type = REG_NONE;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, type, data.data(), &size) != 0)
        size = 0;
    data.resize(size);
    return data;
}

void PrinterFormsTest::SetUpTestSuite()
{
    std::wstring step;
    ASSERT_EQ(0u, testhost::InstallTarvikPrinter(&step)) << "installing the printer failed at " << testhost::Utf8(step);
    s_printer = testhost::OpenTarvikPrinter();
    ASSERT_NE(nullptr, s_printer) << GetLastError();
    DWORD needed = 0;
    DWORD count = 0;
    EnumFormsW(s_printer, 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(EnumFormsW(s_printer, 1, buffer.data(), needed, &needed, &count)) << GetLastError();
    const auto* forms = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        s_spoolerForms.push_back({forms[i].pName, forms[i].Flags, forms[i].Size.cx, forms[i].Size.cy});
    // Wine's spooler has over a hundred built-in forms, A4 and Letter
    // among them.
    ASSERT_GT(s_spoolerForms.size(), 100u);
}

void PrinterFormsTest::TearDownTestSuite()
{
    ClosePrinter(s_printer);
    s_printer = nullptr;
}

void PrinterFormsTest::SetUp()
{
    ASSERT_NE(nullptr, s_printer);
    RemoveStoredForms();
}

void PrinterFormsTest::TearDown()
{
    RemoveStoredForms();
}
} // namespace formtest
