// Printing Preferences of the printer "Tarvik" opened on the test's thread
// while a user's script works it from a second thread; also a sheet of the
// test's own for page objects that no sheet includes.
#pragma once

#include "RecordFields.h"
#include "WindowDriver.h"

#include "sheet/CDlgPropSheetPage.h"

#include <commctrl.h>

namespace testhost
{
constexpr int kApplyButton = 0x3021; // of a property sheet

std::wstring ResourceText(UINT id); // of the resource module
// What AnswerMessageBox reads off a box with these strings.
std::wstring MessageOf(UINT captionId, UINT textId);

// Shows the tab titled by string `titleId` (0: the one shown); its page, or
// null when the sheet has no such tab.
HWND ShowTab(HWND sheet, UINT titleId);
struct Sheet
{
    HWND window;
    HWND page;                     // of the tab the session showed
    const TARVIK_DEVMODE& working; // the caller's output buffer, which the pages edit
};

// Opens Printing Preferences of `printer` on `in` (DocumentPropertiesW with
// DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER) and, on a second thread, shows
// the tab titled by string `titleId` (0: the one it opens on) and runs `user`.
// Then it cancels the dialogs the script left open over the sheet and
// presses `button` (0: the script ends the sheet itself). A sheet still open
// fails the test and is cancelled. Returns the caller's output record;
// `answer` receives DocumentPropertiesW's.
TARVIK_DEVMODE RunSheet(HANDLE printer, const TARVIK_DEVMODE& in, UINT titleId,
                        const std::function<void(const Sheet&)>& user, int button = PSBTN_OK, LONG* answer = nullptr);

// Shows `pages` (dialog template `templateId`, tab title `titleId`) in a
// modal property sheet of this process while `user` works it on a second
// thread; returns PropertySheetW's result.
INT_PTR RunPageSheet(const std::vector<CDlgPropSheetPage*>& pages, WORD templateId, WORD titleId,
                     const std::function<void(HWND sheet)>& user);
} // namespace testhost
