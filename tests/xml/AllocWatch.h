// Makes one allocation of the parser fail, and sees what the failure left.
#pragma once

namespace xmltest
{
// While an AllocWatch lives, the non-throwing allocations (the only kind the
// parser and its tree make) are counted; the one numbered failAt (from 0)
// gives null. Only one may live at a time.
class AllocWatch
{
  public:
    explicit AllocWatch(long failAt);
    ~AllocWatch();
    AllocWatch(const AllocWatch&) = delete;
    AllocWatch& operator=(const AllocWatch&) = delete;

    bool Failed() const; // whether the failing allocation was reached
    long Live() const;   // blocks allocated while watched and not yet released
};
} // namespace xmltest
