// Run under other names by the form-count cap test. Prints the catalogue's
// count, the three paper answers' counts, and 1 when names and numbers match
// the catalogue's first forms and end with "Custom Size".
#include "CFormManager.h"
#include "DriverInterface.h"

#include <winspool.h>

#include <cstdio>
#include <vector>

int main()
{
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(L"Tarvik"), &printer, nullptr))
        return 1;
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
    printf("%lu %lu %lu %lu %d\n", n, names, papers, sizes, same ? 1 : 0);
    ClosePrinter(printer);
    return 0;
}
