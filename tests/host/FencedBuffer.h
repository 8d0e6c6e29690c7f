// A buffer whose last byte touches a no-access page, with guard bytes just
// before its first: a read or write past its end faults at once, and a write
// before its start shows in the guard. The pages are reserved once and
// reused for every placement.
#pragma once

#include <windows.h>

#include <cstddef>

namespace testhost
{
class FencedBuffer
{
  public:
    static constexpr size_t kGuardBytes = 64;
    static constexpr BYTE kGuardByte = 0xA5;

    explicit FencedBuffer(size_t capacity); // the largest size Place is asked for
    ~FencedBuffer();
    FencedBuffer(const FencedBuffer&) = delete;
    FencedBuffer& operator=(const FencedBuffer&) = delete;

    // `size` bytes ending at the fence, holding `bytes` (or `fill` without
    // them), the guard before them set.
    BYTE* Place(size_t size, const void* bytes = nullptr, BYTE fill = 0xCC);
    // Null-terminated text whose terminator is the last unit before the fence.
    wchar_t* PlaceText(const wchar_t* text, size_t length);

    BYTE* Data() const { return m_data; }
    size_t Size() const { return m_size; }
    bool GuardIntact() const;
    // Whether `address` lies in the no-access page.
    bool InFence(const void* address) const;

  private:
    BYTE* m_base = nullptr;
    BYTE* m_fence = nullptr;
    size_t m_capacity;
    size_t m_page = 0;
    BYTE* m_data = nullptr;
    size_t m_size = 0;
};
} // namespace testhost
