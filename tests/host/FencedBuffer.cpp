#include "FencedBuffer.h"

#include <algorithm>
#include <cstring>

namespace testhost
{
FencedBuffer::FencedBuffer(size_t capacity) : m_capacity(capacity)
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const size_t page = m_page = info.dwPageSize;
    const size_t usable = (capacity + kGuardBytes + page - 1) / page * page;
    m_base = static_cast<BYTE*>(VirtualAlloc(nullptr, usable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD previous = 0;
    if (!m_base || !VirtualProtect(m_base + usable, page, PAGE_NOACCESS, &previous))
        ExitProcess(ERROR_NOT_ENOUGH_MEMORY); // nothing can be measured without it
    m_fence = m_base + usable;
    m_data = m_fence;
}

FencedBuffer::~FencedBuffer()
{
    VirtualFree(m_base, 0, MEM_RELEASE);
}

BYTE* FencedBuffer::Place(size_t size, const void* bytes, BYTE fill)
{
    if (size > m_capacity)
        size = m_capacity;
    m_size = size;
    m_data = m_fence - size;
    std::memset(m_data - kGuardBytes, kGuardByte, kGuardBytes);
    if (bytes)
        std::memcpy(m_data, bytes, size);
    else
        std::memset(m_data, fill, size);
    return m_data;
}

wchar_t* FencedBuffer::PlaceText(const wchar_t* text, size_t length)
{
    auto* placed = reinterpret_cast<wchar_t*>(Place((length + 1) * sizeof(wchar_t), nullptr, 0));
    std::memcpy(placed, text, length * sizeof(wchar_t));
    return placed;
}

bool FencedBuffer::GuardIntact() const
{
    return std::all_of(m_data - kGuardBytes, m_data, [](BYTE b) { return b == kGuardByte; });
}

bool FencedBuffer::InFence(const void* address) const
{
    const BYTE* p = static_cast<const BYTE*>(address);
    return p >= m_fence && p < m_fence + m_page;
}
} // namespace testhost
