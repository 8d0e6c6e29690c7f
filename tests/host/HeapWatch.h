// Watches the allocations made with operator new on the calling thread:
// counts the blocks still alive, so a test sees that a call released
// everything it allocated; it records the sizes of the allocations it counts
// and can make one of them fail as an exhausted heap would. Watches nest: an inner watch (one that
// makes an allocation fail) is seen by the outer one as well, and the test
// program's leak check (TestMain.cpp) is the outermost watch of every test.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace testhost
{
class HeapWatch
{
  public:
    // Which allocations count towards failAt (and Sizes).
    enum class Forms
    {
        NonThrowing, // new (std::nothrow): the failing one gives null
        All,         // also plain new: the failing one throws std::bad_alloc
    };

    // The failAt-th counted allocation from now (1 = the next) fails. 0 =
    // none fails.
    explicit HeapWatch(long failAt = 0, Forms forms = Forms::NonThrowing);
    ~HeapWatch();
    HeapWatch(const HeapWatch&) = delete;
    HeapWatch& operator=(const HeapWatch&) = delete;

    bool Failed() const;                      // the failing allocation was reached
    const std::vector<size_t>& Sizes() const; // counted sizes seen, the failed one included
    long Alive() const;                       // blocks allocated while watched, not yet released
    std::vector<size_t> AliveSizes() const;   // their sizes, smallest first

    struct State; // the bookkeeping of one watch

    // While one lives, the thread's allocations are neither watched nor
    // failed: for the host's own bookkeeping inside a watched call (the
    // debug-stream capture's lines).
    class Unwatched
    {
      public:
        Unwatched();
        ~Unwatched();
        Unwatched(const Unwatched&) = delete;
        Unwatched& operator=(const Unwatched&) = delete;

      private:
        bool m_previous;
    };

  private:
    State* m_state;
};

// Runs `call` with its first, second, ... allocation failing, until a run
// reaches no failing allocation; returns the number of runs.
long FailEachAllocation(const std::function<void(const HeapWatch&)>& call,
                        HeapWatch::Forms forms = HeapWatch::Forms::NonThrowing);
} // namespace testhost
