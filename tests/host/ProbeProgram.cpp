// Run by the tests under other executable names (explorer.exe, hwp.exe, ...),
// so that they see what the module decides in a process of that name.
//   papers  prints the catalogue's count, the three paper answers' counts,
//           and 1 when names and numbers match the catalogue's first forms
//           and end with "Custom Size"
//   fonts   confirms the font page on a record whose excluded list is
//           ";Gate Probe Font;;" (the test reads the registry itself) and
//           exits with 0 when the caller's record came back with
//           ";Gate Probe Font;"
#include "PrinterInstaller.h"
#include "RecordFields.h"
#include "SheetSession.h"

#include "CFormManager.h"
#include "resource.h"

#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace
{
int Papers(HANDLE printer)
{
    CFormManager forms;
    forms.SetPrinter(printer);
    forms.LoadAvailableForm();
    const DWORD n = forms.GetFormCount();
    const DWORD names = DrvDeviceCapabilities(printer, nullptr, DC_PAPERNAMES, nullptr, nullptr);
    const DWORD papers = DrvDeviceCapabilities(printer, nullptr, DC_PAPERS, nullptr, nullptr);
    const DWORD sizes = DrvDeviceCapabilities(printer, nullptr, DC_PAPERSIZE, nullptr, nullptr);
    std::vector<wchar_t> nameSlots(64 * (n + 1));
    std::vector<WORD> numbers(n + 1);
    bool same = names == n + 1 && papers == n + 1 &&
                DrvDeviceCapabilities(printer, nullptr, DC_PAPERNAMES, nameSlots.data(), nullptr) == n + 1 &&
                DrvDeviceCapabilities(printer, nullptr, DC_PAPERS, numbers.data(), nullptr) == n + 1 &&
                lstrcmpW(&nameSlots[64 * n], L"Custom Size") == 0 && numbers[n] == DMPAPER_USER;
    for (DWORD k = 0; same && k < n; ++k)
        same = lstrcmpW(&nameSlots[64 * k], forms.GetForms()[k]->szName) == 0 && numbers[k] == k + 1;
    std::printf("%lu %lu %lu %lu %d\n", n, names, papers, sizes, same ? 1 : 0);
    return 0;
}

int Fonts(HANDLE printer)
{
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    in.dwFontMode = 2;
    lstrcpyW(in.szExcludeFonts, L";Gate Probe Font;;");
    const TARVIK_DEVMODE out = testhost::RunSheet(printer, in, IDS_TITLE_FONT, [](const testhost::Sheet&) {});
    std::printf("list \"%ls\"\n", out.szExcludeFonts);
    return lstrcmpW(out.szExcludeFonts, L";Gate Probe Font;") == 0 ? 0 : 2;
}
} // namespace

int main(int argc, char** argv)
{
    HANDLE printer = testhost::OpenTarvikPrinter(PRINTER_ACCESS_USE);
    if (!printer || argc < 2)
        return std::printf("no printer (error %lu) or no argument\n", GetLastError()), 1;
    const int result = std::strcmp(argv[1], "papers") == 0 ? Papers(printer) : Fonts(printer);
    ClosePrinter(printer);
    return result;
}
