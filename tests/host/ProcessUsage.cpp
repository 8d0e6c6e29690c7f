#include "ProcessUsage.h"

#include <psapi.h>
#include <winternl.h>

#include <vector>

namespace testhost
{
namespace
{
constexpr SYSTEM_INFORMATION_CLASS kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

struct HandleEntry // SYSTEM_HANDLE_TABLE_ENTRY_INFO
{
    USHORT processId;
    USHORT creatorBackTraceIndex;
    UCHAR objectType;
    UCHAR attributes;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};

DWORD HandlesInSystemList()
{
    std::vector<BYTE> list(1 << 20);
    ULONG length = 0;
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(kSystemHandleInformation, list.data(), static_cast<ULONG>(list.size()),
                                              &length)) == kInfoLengthMismatch)
        list.resize(list.size() * 2);
    if (status != 0)
        return 0;
    const ULONG count = *reinterpret_cast<const ULONG*>(list.data());
    const auto* entries = reinterpret_cast<const HandleEntry*>(list.data() + sizeof(ULONG_PTR));
    DWORD own = 0;
    for (ULONG i = 0; i < count; ++i)
        own += entries[i].processId == static_cast<USHORT>(GetCurrentProcessId()) ? 1 : 0;
    return own;
}
} // namespace

ProcessUsage CurrentProcessUsage()
{
    ProcessUsage usage;
    if (!GetProcessHandleCount(GetCurrentProcess(), &usage.handles) || usage.handles == 0)
        usage.handles = HandlesInSystemList();
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters)))
        usage.privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return usage;
}
} // namespace testhost
