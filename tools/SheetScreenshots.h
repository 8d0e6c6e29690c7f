// Pictures of the Printing Preferences sheet for the headless main job:
// each tab is selected in turn and the sheet's window is copied from the
// screen into a PNG file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Saves what the screen shows of `window`, once all of it has painted, as a
// PNG file; GDI+ must be started.
bool SaveWindowPng(HWND window, const std::wstring& file);

// The top-level property sheet of this process, waiting up to `waitMs`.
HWND WaitForPropertySheet(DWORD waitMs);

// Selects every tab of `sheet` in turn and saves "tab-N-<title>.png" into
// `folder`. Returns the files written. A tab that did not finish painting,
// or whose picture shows no tab strip, is reported and sets `faulty`.
std::vector<std::wstring> SaveTabScreenshots(HWND sheet, const std::wstring& folder, bool* faulty);
