// The resource module holds only resources; this entry point lets it load
// without the C runtime.
#include <windows.h>

// The loader moves a module to a random base (ASLR) only by its base
// relocations, and a module without code that needs any gets no relocation
// table at all: this one address gives it one.
__attribute__((used)) static const void* const kRelocatable = &kRelocatable;

BOOL WINAPI ResourceModuleEntry(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
