#include "core/Globals.h"

#include <libmerrow/error.h>

#include <iterator>

namespace
{
const wchar_t kResourceModuleName[] = L"tarvikres7.dll";

// The full path of the resource module: the folder that holds this module.
// Loading by a bare name would search the current directory, so a stray
// file of that name beside a user's document could end up inside a
// printing application.
bool ResourceModulePath(wchar_t* path, DWORD capacity)
{
    const DWORD length = GetModuleFileNameW(g_hModule, path, capacity);
    if (length == 0 || length >= capacity)
        return false;
    wchar_t* slash = nullptr;
    for (wchar_t* p = path; *p; ++p)
    {
        if (*p == L'\\' || *p == L'/')
            slash = p;
    }
    wchar_t* name = slash ? slash + 1 : path;
    const size_t room = capacity - static_cast<size_t>(name - path);
    return lstrlenW(kResourceModuleName) < static_cast<int>(room) &&
           lstrcpynW(name, kResourceModuleName, static_cast<int>(room)) != nullptr;
}

// No-UI requests come on several spooler threads at once: the module is
// loaded by exactly one of them, and the others wait for it. A failed load
// leaves the once undone, so a later call tries again.
INIT_ONCE g_resourceModuleOnce = INIT_ONCE_STATIC_INIT;

BOOL CALLBACK LoadResourceModule(PINIT_ONCE, PVOID failure, PVOID*)
{
    wchar_t path[MAX_PATH * 2];
    if (ResourceModulePath(path, static_cast<DWORD>(std::size(path))))
        g_hResModule = LoadLibraryW(path);
    else
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
    if (g_hResModule)
        return TRUE;
    *static_cast<DWORD*>(failure) = GetLastError();
    return FALSE;
}
} // namespace

bool EnsureResourceModule()
{
    DWORD failure = 0;
    if (InitOnceExecuteOnce(&g_resourceModuleOnce, LoadResourceModule, &failure, nullptr))
        return true;
    DebugPrintW(L"Can not load resource dll. error = %d", static_cast<int>(failure));
    MessageBoxW(GetForegroundWindow(), L"Can not load resource dll. Please reinstall program", L"ERROR", MB_OK);
    return false;
}
