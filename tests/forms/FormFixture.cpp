#include "FormFixture.h"

#include "PrinterInstaller.h"
#include "ReportLines.h"

#include "CFormManager.h"

#include <winspool.h>

namespace formtest
{
HANDLE PrinterFormsTest::s_printer = nullptr;
std::vector<Form> PrinterFormsTest::s_spoolerForms;

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

std::wstring StoredFavorites()
{
    wchar_t text[1024];
    DWORD size = sizeof(text);
    return RegGetValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE, RRF_RT_REG_SZ, nullptr, text,
                        &size) == ERROR_SUCCESS
               ? text
               : L"(none)";
}

LONG StoreFavorites(const std::wstring& text)
{
    return WriteValue(TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE, REG_SZ, text.c_str(),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// Installs the printer once per program (the handle lives until it ends).
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
    ASSERT_GT(s_spoolerForms.size(), 100u); // Wine's built-in forms
}

void PrinterFormsTest::SetUp()
{
    ASSERT_NE(nullptr, s_printer);
    RegDeleteKeyW(HKEY_CURRENT_USER, TARVIK_FORMS_KEY);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE);
}
} // namespace formtest
