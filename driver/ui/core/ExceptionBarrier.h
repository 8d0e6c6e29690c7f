// The barrier at every way into the module from outside: the exported
// functions and the dialog and page procedures. An exception raised below it
// (an exhausted heap, a container that could not grow) must never unwind
// into the spooler, an application or the window manager: it is written to
// the debugger output stream and becomes the entry's failure answer, with
// ERROR_NOT_ENOUGH_MEMORY as the thread's last error.
#pragma once

#include <windows.h>

// Writes the failure lines of an exception stopped at `entry` and sets the
// last error.
void ReportStoppedException(const wchar_t* entry) noexcept;

// Runs `body` and returns its result, or `failure` when an exception
// reached the barrier.
template <class Result, class Body>
Result ExceptionBarrier(const wchar_t* entry, Result failure, Body&& body) noexcept
{
    try
    {
        return body();
    }
    catch (...)
    {
        ReportStoppedException(entry);
    }
    return failure;
}
