// The program's own operator new and delete, on top of malloc and free, so
// that AllocWatch sees every non-throwing allocation and every release.
#include "AllocWatch.h"

#include <cstdlib>
#include <new>

namespace
{
constexpr int kMaxLive = 8192;

bool g_armed = false;
long g_failAt = -1;
long g_count = 0;
void* g_live[kMaxLive];
int g_liveCount = 0; // kMaxLive + 1 once the list overflowed: then it vouches for nothing

void* AllocateWatched(std::size_t size)
{
    if (g_armed && g_count++ == g_failAt)
        return nullptr;
    void* block = std::malloc(size ? size : 1);
    if (g_armed && block)
    {
        if (g_liveCount < kMaxLive)
            g_live[g_liveCount++] = block;
        else
            g_liveCount = kMaxLive + 1;
    }
    return block;
}

void* AllocateOrThrow(std::size_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    return block;
}

void Release(void* block)
{
    for (int i = g_liveCount <= kMaxLive ? g_liveCount - 1 : -1; i >= 0; --i)
    {
        if (g_live[i] == block)
        {
            g_live[i] = g_live[--g_liveCount];
            break;
        }
    }
    std::free(block);
}
} // namespace

// clang-format off
void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateWatched(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return AllocateWatched(size); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
// clang-format on

namespace xmltest
{
AllocWatch::AllocWatch(long failAt)
{
    g_armed = true;
    g_failAt = failAt;
    g_count = 0;
    g_liveCount = 0;
}

AllocWatch::~AllocWatch()
{
    g_armed = false;
    g_liveCount = 0;
}

bool AllocWatch::Failed() const
{
    return g_failAt >= 0 && g_count > g_failAt;
}

long AllocWatch::Live() const
{
    return g_liveCount;
}
} // namespace xmltest
