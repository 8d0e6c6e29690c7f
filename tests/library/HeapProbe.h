// Watches the library's array allocations (new (std::nothrow) T[n]) made on
// the calling thread: records their sizes, can make the n-th one fail as an
// exhausted heap would, and tells which of them are still alive, so a test
// can see that a failed call released everything it allocated.
#pragma once

#include <cstddef>
#include <vector>

namespace testlib
{
class HeapProbe
{
  public:
    HeapProbe();
    ~HeapProbe();
    HeapProbe(const HeapProbe&) = delete;
    HeapProbe& operator=(const HeapProbe&) = delete;

    // The n-th allocation from now (1 = the next) returns null.
    void FailAllocation(int n);
    // Sizes in bytes of the allocations seen, failed ones included.
    std::vector<size_t> Sizes() const;
    // Allocations seen that have not been released yet.
    int Alive() const;
};
} // namespace testlib
