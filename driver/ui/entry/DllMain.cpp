#include "core/Globals.h"

#include <libmerrow/scoped.h>

#include <commctrl.h>
#include <psapi.h>

#include <cwchar>
#include <iterator>

HINSTANCE g_hModule = nullptr;
HINSTANCE g_hResModule = nullptr;
BOOL g_bSpoolerOrShell = FALSE;
ULONG_PTR g_gdiplusToken = 0;

void CheckHostProcess()
{
    const ScopedKernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, GetCurrentProcessId()));
    if (!process)
    {
        // A process that may not even query itself is a locked-down host
        // (the spooler service): treat it as one.
        if (GetLastError() == ERROR_ACCESS_DENIED)
            g_bSpoolerOrShell = TRUE;
        return;
    }
    wchar_t name[1024];
    if (GetModuleBaseNameW(process.Get(), nullptr, name, static_cast<DWORD>(std::size(name))) > 0)
        g_bSpoolerOrShell = (wcscmp(name, L"explorer.exe") == 0 || wcscmp(name, L"spoolsv.exe") == 0);
    else
        g_bSpoolerOrShell = FALSE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID /*reserved*/)
{
    switch (reason)
    {
    case DLL_PROCESS_ATTACH: {
        g_hModule = hInstance;
        CheckHostProcess();
        INITCOMMONCONTROLSEX icc;
        icc.dwSize = sizeof(icc);
        icc.dwICC = 0xFF;
        InitCommonControlsEx(&icc);
        break;
    }
    case DLL_PROCESS_DETACH:
        if (g_hResModule)
        {
            FreeLibrary(g_hResModule);
            g_hResModule = nullptr;
        }
        break;
    default:
        break;
    }
    return TRUE;
}
