#include "FormFixture.h"

#include "PrinterInstaller.h"
#include "RecordFields.h"

#include "forms/CFormManager.h"
#include "entry/DriverInterface.h"

#include <winspool.h>

#include <algorithm>

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
    DWORD length = std::size(name);
    for (DWORD i = 0; RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == 0; ++i)
    {
        names.emplace_back(name, length);
        length = std::size(name);
    }
    RegCloseKey(key);
    return names;
}

LONG WriteValue(const wchar_t* key, const std::wstring& name, DWORD type, const void* data, DWORD size)
{
    return RegSetKeyValueW(HKEY_CURRENT_USER, key, name.c_str(), type, data, size);
}

std::wstring StoredFavorites()
{
    wchar_t text[1024];
    DWORD size = sizeof(text);
    const LONG rc =
        RegGetValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE, RRF_RT_REG_SZ, nullptr, text, &size);
    return rc == ERROR_SUCCESS ? text : L"(none)";
}

LONG StoreFavorites(const std::wstring& text)
{
    return WriteValue(TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE, REG_SZ, text.c_str(),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

CapsCall Caps(HANDLE printer, const wchar_t* name)
{
    return [=](WORD index, void* output) {
        return DrvDeviceCapabilities(printer, const_cast<PWSTR>(name), index, output, nullptr);
    };
}

static std::wstring PaperLine(const std::wstring& name, DWORD number, LONG width, LONG height)
{
    return name + L" | " + std::to_wstring(number) + L" | " + std::to_wstring(width) + L" x " + std::to_wstring(height);
}

std::vector<std::wstring> AskPapers(const CapsCall& caps)
{
    const WORD indexes[] = {DC_PAPERNAMES, DC_PAPERS, DC_PAPERSIZE};
    const size_t widths[] = {64 * sizeof(wchar_t), sizeof(WORD), sizeof(POINT)};
    std::vector<BYTE> out[3];
    DWORD counts[3];
    std::vector<std::wstring> lines = {L"counts"};
    for (int q = 0; q < 3; ++q)
    {
        counts[q] = caps(indexes[q], nullptr);
        lines[0] += L" " + std::to_wstring(counts[q]);
        if (counts[q] > 10000)
            return lines;
        out[q].assign(counts[q] * widths[q] + kGuard, kUntouched);
        lines[0] += L" " + std::to_wstring(caps(indexes[q], out[q].data()));
        if (std::count(out[q].end() - kGuard, out[q].end(), kUntouched) != kGuard)
            lines[0] += L" written past the entries";
    }
    const auto* names = reinterpret_cast<const wchar_t*>(out[0].data());
    for (DWORD k = 0; k < std::min({counts[0], counts[1], counts[2]}); ++k)
    {
        const POINT size = reinterpret_cast<const POINT*>(out[2].data())[k];
        lines.push_back(PaperLine(std::wstring(names + 64 * k, wcsnlen(names + 64 * k, 64)),
                                  reinterpret_cast<const WORD*>(out[1].data())[k], size.x, size.y));
    }
    return lines;
}

std::vector<std::wstring> PapersOf(const CFormManager& catalogue)
{
    const DWORD n = catalogue.GetFormCount();
    std::vector<std::wstring> lines = {L"counts"};
    for (int i = 0; i < 6; ++i)
        lines[0] += L" " + std::to_wstring(n + 1);
    for (DWORD k = 0; k < n; ++k)
    {
        const wchar_t* name = catalogue.GetForms()[k]->szName;
        const SIZEL size = catalogue.FindForm(name)->size;
        lines.push_back(PaperLine(std::wstring(name).substr(0, 63), k + 1, size.cx / 100, size.cy / 100));
    }
    lines.push_back(PaperLine(L"Custom Size", DMPAPER_USER, 0, 0));
    return lines;
}

void PrinterFormsTest::SetUpTestSuite()
{
    if (s_printer) // once per program, however many suites share the fixture
        return;
    std::wstring step;
    ASSERT_EQ(0u, testhost::InstallTarvikPrinter(&step)) << "installing the printer failed at " << testhost::Utf8(step);
    s_printer = testhost::OpenTarvikPrinter(); // lives until the program ends
    ASSERT_NE(nullptr, s_printer) << GetLastError();
    DWORD needed = 0, count = 0;
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
