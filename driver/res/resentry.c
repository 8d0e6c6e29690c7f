// The resource module holds only resources; this entry point lets it load
// without the C runtime.
#include <windows.h>

BOOL WINAPI ResourceModuleEntry(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
