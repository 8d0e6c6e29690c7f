// Pictures of the Printing Preferences sheet for the headless main job:
// each tab is selected in turn and the sheet's window is copied from the
// screen into a PNG file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The top-level property sheet of this process, waiting up to `waitMs`.
HWND WaitForPropertySheet(DWORD waitMs);

// Copies `window` from the screen into the PNG file `file` (GDI+ must be
// started).
bool SaveWindowPng(HWND window, const std::wstring& file);

// Selects every tab of `sheet` in turn and saves "tab-N-<title>.png" into
// `folder`. Returns the files written.
std::vector<std::wstring> SaveTabScreenshots(HWND sheet, const std::wstring& folder);
