// Watches the calling thread's allocations with operator new: counts the
// blocks still alive, records the sizes counted, and can make one fail as an
// exhausted heap would. Watches nest; the leak check of TestMain.cpp is the
// outermost of every test.
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

    // The failAt-th counted allocation from now (1 = the next) fails; 0: none.
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
    // failed: for the host's own bookkeeping inside a watched call.
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
