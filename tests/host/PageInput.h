// A user's hands on the controls of a property page, from the driving
// thread (see WindowDriver.h): each call sends what the mouse or the
// keyboard would make the control send.
#pragma once

#include <windows.h>

#include <string>

namespace testhost
{
// Selects the tab titled `title`; returns its page window, or null.
HWND ShowTab(HWND sheet, const std::wstring& title);
// Picks item `index` of a drop-down list (selection, then CBN_SELCHANGE).
void PickListItem(HWND list, int index);
bool IsChecked(HWND button);
// Clicks `button` when its check state differs from `checked`.
void SetChecked(HWND button, bool checked);
// Types `text` at the caret of an edit, one WM_CHAR per UTF-16 unit.
void TypeText(HWND edit, const std::wstring& text);
// Selects the whole text of an edit and types `text` over it.
void ReplaceText(HWND edit, const std::wstring& text);
} // namespace testhost
