// Pictures of the two dialogs of the paper page for the headless main job,
// opened the way a user opens them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// From the paper page of `sheet`: clicks Favorites and saves the favourite
// forms dialog, clicks Add there and saves the custom form dialog, then
// cancels both. Returns the files written into `folder`.
std::vector<std::wstring> SaveFormDialogScreenshots(HWND sheet, const std::wstring& folder);
