// The program's own operator new and delete, on top of malloc and free like
// the runtime's, so that blocks pass freely between these and the runtime.
#include "HeapWatch.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <unordered_map>

namespace testhost
{
struct HeapWatch::State
{
    State* outer = nullptr;
    long failAt = 0;
    bool countThrowing = false;
    long seen = 0;
    std::vector<size_t> sizes;
    std::unordered_map<const void*, size_t> live; // block -> size
};

namespace
{
// Allocations are seen on the watching thread only: the platform and the
// test framework allocate on their own threads as they please. A block may
// be released on any thread (a thread's start block is freed by the thread
// itself), so releases are looked up in every watch.
thread_local HeapWatch::State* t_inner = nullptr;
// The bookkeeping itself allocates and releases: those calls pass through.
thread_local bool t_busy = false;
SRWLOCK g_lock = SRWLOCK_INIT; // a platform lock: it never allocates, so it can guard the allocator

// The lock, with the thread's own allocations passing through meanwhile (the
// lock does not nest).
struct Hold : HeapWatch::Unwatched
{
    Hold() { AcquireSRWLockExclusive(&g_lock); }
    ~Hold() { ReleaseSRWLockExclusive(&g_lock); }
};
std::atomic<int> g_watches(0);
std::vector<HeapWatch::State*>* g_all = nullptr; // every living watch, of every thread

void* Allocate(std::size_t size, bool throwing)
{
    if (!t_inner || t_busy)
        return std::malloc(size ? size : 1);
    const Hold hold;
    HeapWatch::State* inner = t_inner;
    bool fail = false;
    if (!throwing || inner->countThrowing)
    {
        inner->sizes.push_back(size);
        fail = ++inner->seen == inner->failAt;
    }
    void* block = fail ? nullptr : std::malloc(size ? size : 1);
    for (HeapWatch::State* watch = inner; watch && block; watch = watch->outer)
        watch->live.emplace(block, size);
    return block;
}

void Release(void* block)
{
    if (block && g_watches.load() > 0 && !t_busy)
    {
        const Hold hold;
        for (HeapWatch::State* watch : *g_all)
        {
            watch->live.erase(block);
        }
    }
    std::free(block);
}

void* AllocateOrThrow(std::size_t size)
{
    void* block = Allocate(size, true);
    if (!block)
        throw std::bad_alloc();
    return block;
}
} // namespace

HeapWatch::HeapWatch(long failAt, Forms forms)
{
    {
        const Hold hold;
        m_state = new State();
        m_state->failAt = failAt;
        m_state->countThrowing = forms == Forms::All;
        m_state->outer = t_inner;
        if (!g_all)
            g_all = new std::vector<State*>();
        g_all->push_back(m_state);
    }
    t_inner = m_state;
    ++g_watches;
}

HeapWatch::~HeapWatch()
{
    --g_watches;
    t_inner = m_state->outer;
    const Hold hold;
    g_all->erase(std::find(g_all->begin(), g_all->end(), m_state));
    delete m_state;
}

HeapWatch::Unwatched::Unwatched() : m_previous(t_busy)
{
    t_busy = true;
}

HeapWatch::Unwatched::~Unwatched()
{
    t_busy = m_previous;
}

bool HeapWatch::Failed() const
{
    return m_state->failAt > 0 && m_state->seen >= m_state->failAt;
}

const std::vector<size_t>& HeapWatch::Sizes() const
{
    return m_state->sizes;
}

long HeapWatch::Alive() const
{
    const Hold hold;
    return static_cast<long>(m_state->live.size());
}

std::vector<size_t> HeapWatch::AliveSizes() const
{
    std::vector<size_t> sizes;
    {
        const Hold hold;
        for (const auto& block : m_state->live)
            sizes.push_back(block.second);
    }
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

long FailEachAllocation(const std::function<void(const HeapWatch&)>& call, HeapWatch::Forms forms)
{
    for (long failAt = 1;; ++failAt)
    {
        const HeapWatch watch(failAt, forms);
        call(watch);
        if (!watch.Failed())
            return failAt;
    }
}
} // namespace testhost

// clang-format off
void* operator new(std::size_t size) { return testhost::AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return testhost::AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return testhost::Allocate(size, false); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return testhost::Allocate(size, false); }
void operator delete(void* block) noexcept { testhost::Release(block); }
void operator delete[](void* block) noexcept { testhost::Release(block); }
void operator delete(void* block, std::size_t) noexcept { testhost::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { testhost::Release(block); }
// clang-format on
