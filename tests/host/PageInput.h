// A user's hands on the controls of a property page, from the driving
// thread (see WindowDriver.h): pick a tab, a list item, a check state, type.
// Each call sends what the mouse or the keyboard would make the control
// send, so the page sees the same notifications as with a real user.
#pragma once

#include <windows.h>

#include <string>

namespace testhost
{
// Selects the tab titled `title` of `sheet`; returns its page window, or
// null when the sheet has no such tab.
HWND ShowTab(HWND sheet, const std::wstring& title);

// Picks item `index` of a drop-down list: the selection, then CBN_SELCHANGE
// to the list's owner.
void PickListItem(HWND list, int index);

// The text of a list's selected item ("" without a selection).
std::wstring SelectedItemText(HWND list);

bool IsChecked(HWND button);
// Clicks `button` when its check state differs from `checked`.
void SetChecked(HWND button, bool checked);

// Types `text` at the caret of an edit (or of a combo box's edit field),
// one WM_CHAR per UTF-16 unit.
void TypeText(HWND edit, const std::wstring& text);
// Selects the whole text of an edit and types `text` over it.
void ReplaceText(HWND edit, const std::wstring& text);
} // namespace testhost
