// The program's own non-throwing operator new and every operator delete, on
// top of malloc and free like the runtime's, so that blocks pass freely
// between these and the runtime's throwing forms.
#include "HeapWatch.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace testhost
{
namespace
{
constexpr long kMaxLive = 8192;

// Only the watching thread is seen: the platform and the test framework
// allocate on their own threads as they please.
struct Watch
{
    bool busy = false; // the bookkeeping itself allocates and releases
    long failAt = 0;
    long seen = 0;
    std::vector<size_t> sizes;
    void* live[kMaxLive] = {};
    long liveCount = 0; // kMaxLive + 1 once the list overflowed: then it vouches for nothing
    const void* freed[256] = {};
    long freedCount = 0;
};
thread_local Watch* t_watch = nullptr;

void* Allocate(std::size_t size)
{
    Watch* watch = t_watch;
    if (!watch || watch->busy)
        return std::malloc(size ? size : 1);
    watch->busy = true;
    watch->sizes.push_back(size);
    void* block = ++watch->seen == watch->failAt ? nullptr : std::malloc(size ? size : 1);
    if (block)
    {
        if (watch->liveCount < kMaxLive)
            watch->live[watch->liveCount++] = block;
        else
            watch->liveCount = kMaxLive + 1;
    }
    watch->busy = false;
    return block;
}

void Release(void* block)
{
    Watch* watch = t_watch;
    if (watch && !watch->busy && block)
    {
        if (watch->freedCount < 256)
            watch->freed[watch->freedCount++] = block;
        for (long i = watch->liveCount <= kMaxLive ? watch->liveCount - 1 : -1; i >= 0; --i)
        {
            if (watch->live[i] == block)
            {
                watch->live[i] = watch->live[--watch->liveCount];
                break;
            }
        }
    }
    std::free(block);
}
} // namespace

HeapWatch::HeapWatch(long failAt)
{
    Watch* watch = new Watch();
    watch->failAt = failAt;
    t_watch = watch;
}

HeapWatch::~HeapWatch()
{
    Watch* watch = t_watch;
    t_watch = nullptr;
    delete watch;
}

bool HeapWatch::Failed() const
{
    return t_watch->failAt > 0 && t_watch->seen >= t_watch->failAt;
}

const std::vector<size_t>& HeapWatch::Sizes() const
{
    return t_watch->sizes;
}

long HeapWatch::Alive() const
{
    return t_watch->liveCount;
}

long FailEachAllocation(const std::function<void(const HeapWatch&)>& call)
{
    for (long failAt = 1;; ++failAt)
    {
        const HeapWatch watch(failAt);
        call(watch);
        if (!watch.Failed())
            return failAt;
    }
}

bool HeapWatch::Freed(const void* block) const
{
    return std::find(t_watch->freed, t_watch->freed + t_watch->freedCount, block) !=
           t_watch->freed + t_watch->freedCount;
}
} // namespace testhost

// clang-format off
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return testhost::Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return testhost::Allocate(size); }
void operator delete(void* block) noexcept { testhost::Release(block); }
void operator delete[](void* block) noexcept { testhost::Release(block); }
void operator delete(void* block, std::size_t) noexcept { testhost::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { testhost::Release(block); }
// clang-format on
