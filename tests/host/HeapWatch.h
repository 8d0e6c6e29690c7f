// Watches the non-throwing allocations (the only kind the product makes)
// made on the calling thread: records their sizes, can make one of them
// fail as an exhausted heap would, and counts the blocks still alive, so a
// test sees that a failed call released everything it allocated, and which
// blocks a call released.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace testhost
{
class HeapWatch
{
  public:
    // The failAt-th allocation from now (1 = the next) gives null; 0 = none.
    explicit HeapWatch(long failAt = 0);
    ~HeapWatch();
    HeapWatch(const HeapWatch&) = delete;
    HeapWatch& operator=(const HeapWatch&) = delete;

    bool Failed() const;                      // the failing allocation was reached
    const std::vector<size_t>& Sizes() const; // sizes seen, the failed one included
    long Alive() const;
    bool Freed(const void* block) const; // released while watched (the first 256 releases)                       //
                                         // blocks allocated while watched, not yet released
};

// Runs `call` with its first, second, ... allocation failing, until a run
// reaches no failing allocation; returns the number of runs.
long FailEachAllocation(const std::function<void(const HeapWatch&)>& call);
} // namespace testhost
