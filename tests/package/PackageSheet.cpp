// The installing hand of the package test: run from the unpacked release
// folder, it installs the printer "Tarvik" from the DLLs beside it, opens
// Printing Preferences through the spooler, prints the sheet's tab titles and
// the driver module the spooler loaded, and closes the sheet with Cancel.
#include "PrinterInstaller.h"
#include "RecordFields.h"
#include "WindowDriver.h"

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <cstdio>
#include <vector>

int wmain()
{
    std::wstring step;
    if (const DWORD rc = testhost::InstallTarvikPrinter(&step))
    {
        std::fprintf(stderr, "installing the printer failed at %ls: error %lu\n", step.c_str(), rc);
        return 1;
    }
    HANDLE printer = testhost::OpenTarvikPrinter(PRINTER_ACCESS_USE);
    if (!printer)
        return 1;
    std::vector<std::wstring> titles;
    std::wstring module;
    {
        testhost::UserThread user([&] {
            HWND sheet = testhost::WaitForSheet(60000);
            if (!sheet)
                return;
            titles = testhost::TabTitles(sheet);
            wchar_t path[MAX_PATH] = L"";
            GetModuleFileNameW(GetModuleHandleW(L"tarvikui.dll"), path, MAX_PATH);
            module = path;
            PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        });
        wchar_t name[] = L"Tarvik";
        const LONG size = DocumentPropertiesW(nullptr, printer, name, nullptr, nullptr, 0);
        std::vector<BYTE> out(size > 0 ? static_cast<size_t>(size) : 1);
        DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(out.data()), nullptr,
                            DM_IN_PROMPT | DM_OUT_BUFFER);
    }
    ClosePrinter(printer);
    std::printf("module: %s\n", testhost::Utf8(module).c_str());
    for (const std::wstring& title : titles)
        std::printf("tab: %s\n", testhost::Utf8(title).c_str());
    return titles.empty() ? 1 : 0;
}
