// What the process holds, for checks that a long run gives back what it
// took: open handles and private memory.
#pragma once

#include <windows.h>

namespace testhost
{
struct ProcessUsage
{
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
};

// GetProcessHandleCount and the PrivateUsage of GetProcessMemoryInfo. Wine 8
// answers 0 to both: there the handles are counted in the system's handle
// list, and the private memory is its PagefileUsage (the private memory in
// use, which Wine fills from the process's resident private pages).
ProcessUsage CurrentProcessUsage();
} // namespace testhost
