// Printing Preferences through the spooler, worked by a user on a second
// thread: what every page test of this folder shares.
#pragma once

#include "SettingsRecord.h"

#include <functional>
#include <string>

namespace settings
{
// Opens Printing Preferences of `printer` on the input record `in` and runs
// `user` on a second thread with the sheet and the live working record (the
// caller's output buffer, which the pages write into). The script ends the
// sheet; one still open when it returns is cancelled. Returns the caller's
// output record.
TARVIK_DEVMODE RunSheet(HANDLE printer, const TARVIK_DEVMODE& in,
                        const std::function<void(HWND sheet, const TARVIK_DEVMODE& working)>& user);

// A string of the resource module.
std::wstring ResourceText(UINT id);
} // namespace settings
