#include "HeapProbe.h"

#include <cstdlib>
#include <new>

namespace testlib
{
namespace
{
constexpr int kMaxBlocks = 64;

// Only the thread that made the probe is watched: the platform and the test
// framework allocate on their own threads as they please.
struct Watch
{
    bool active = false;
    int failAt = 0;
    int seen = 0;
    std::vector<size_t> sizes;
    void* blocks[kMaxBlocks] = {};
};
thread_local Watch* t_watch = nullptr;

void Forget(const void* p)
{
    Watch* watch = t_watch;
    if (!watch || !p)
        return;
    for (void*& block : watch->blocks)
    {
        if (block == p)
            block = nullptr;
    }
}
} // namespace

HeapProbe::HeapProbe()
{
    t_watch = new Watch();
    t_watch->active = true;
}

HeapProbe::~HeapProbe()
{
    Watch* watch = t_watch;
    t_watch = nullptr;
    delete watch;
}

void HeapProbe::FailAllocation(int n)
{
    t_watch->failAt = t_watch->seen + n;
}

std::vector<size_t> HeapProbe::Sizes() const
{
    return t_watch->sizes;
}

int HeapProbe::Alive() const
{
    int n = 0;
    for (const void* block : t_watch->blocks)
        n += block != nullptr;
    return n;
}
} // namespace testlib

// The replaceable array forms. The plain forms stay those of the runtime;
// all of them end in malloc and free, so blocks pass freely between them.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    using testlib::t_watch;
    testlib::Watch* watch = t_watch;
    if (!watch || !watch->active)
        return std::malloc(size ? size : 1);
    watch->active = false; // the bookkeeping below allocates
    watch->sizes.push_back(size);
    void* p = ++watch->seen == watch->failAt ? nullptr : std::malloc(size ? size : 1);
    for (void*& block : watch->blocks)
    {
        if (p && !block)
        {
            block = p;
            break;
        }
    }
    watch->active = true;
    return p;
}

void operator delete[](void* p) noexcept
{
    testlib::Forget(p);
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    testlib::Forget(p);
    std::free(p);
}
