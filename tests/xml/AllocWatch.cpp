// The program's own operator new and delete, on top of malloc and free, so
// that AllocWatch can see every non-throwing allocation and every release.
#include "AllocWatch.h"

#include <cstdlib>
#include <new>

namespace
{
constexpr int kMaxLive = 8192;

bool g_armed = false;
long g_failAt = -1;
long g_count = 0;
bool g_failed = false;
void* g_live[kMaxLive];
int g_liveCount = 0;
bool g_overflow = false;

void* Allocate(std::size_t size)
{
    return std::malloc(size ? size : 1);
}

void* AllocateWatched(std::size_t size)
{
    if (!g_armed)
        return Allocate(size);
    if (g_count++ == g_failAt)
    {
        g_failed = true;
        return nullptr;
    }
    void* block = Allocate(size);
    if (block && g_liveCount < kMaxLive)
        g_live[g_liveCount++] = block;
    else if (block)
        g_overflow = true;
    return block;
}

void Release(void* block)
{
    if (!block)
        return;
    for (int i = g_liveCount - 1; i >= 0; --i)
    {
        if (g_live[i] == block)
        {
            g_live[i] = g_live[--g_liveCount];
            break;
        }
    }
    std::free(block);
}

void* AllocateOrThrow(std::size_t size)
{
    void* block = Allocate(size);
    if (!block)
        throw std::bad_alloc();
    return block;
}
} // namespace

void* operator new(std::size_t size)
{
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size)
{
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return AllocateWatched(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return AllocateWatched(size);
}
void operator delete(void* block) noexcept
{
    Release(block);
}
void operator delete[](void* block) noexcept
{
    Release(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    Release(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    Release(block);
}

namespace xmltest
{
AllocWatch::AllocWatch(long failAt)
{
    g_armed = true;
    g_failAt = failAt;
    g_count = 0;
    g_failed = false;
    g_liveCount = 0;
    g_overflow = false;
}

AllocWatch::~AllocWatch()
{
    g_armed = false;
    g_liveCount = 0;
}

long AllocWatch::Count() const
{
    return g_count;
}

long AllocWatch::Live() const
{
    // An overflowing list cannot vouch for anything: report it as a leak.
    return g_overflow ? kMaxLive + 1 : g_liveCount;
}

bool AllocWatch::Failed() const
{
    return g_failed;
}
} // namespace xmltest
