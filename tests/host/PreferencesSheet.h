// Printing Preferences of the installed printer, worked by a user on a
// second thread: open it with a record, go to one tab, act, confirm.
#pragma once

#include "SettingsRecord.h"

#include <windows.h>

#include <functional>

namespace testhost
{
// Shows the tab of `sheet` titled by string `titleId` of the resource module
// that the driver loaded; returns that page's window, or null when the sheet
// has no such tab.
HWND ShowSheetTab(HWND sheet, UINT titleId);

// Opens Printing Preferences of `printer` on `in` (DocumentPropertiesW with
// DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER) while a second thread finds
// the sheet, shows the tab `titleId`, runs `user` with the sheet and the
// page (null when there is no such tab) and then presses OK. The caller's
// record comes back in *out; returns DocumentPropertiesW's result.
LONG EditInSheet(HANDLE printer, const TARVIK_DEVMODE& in, TARVIK_DEVMODE* out, UINT titleId,
                 const std::function<void(HWND sheet, HWND page)>& user);
} // namespace testhost
