#include "PageInput.h"

#include "WindowDriver.h"

#include <commctrl.h>

#include <vector>

namespace testhost
{
HWND ShowTab(HWND sheet, const std::wstring& title)
{
    const std::vector<std::wstring> titles = TabTitles(sheet);
    for (size_t i = 0; i < titles.size(); ++i)
    {
        if (titles[i] == title)
        {
            SendMessageW(sheet, PSM_SETCURSEL, i, 0);
            return PropSheet_GetCurrentPageHwnd(sheet);
        }
    }
    return nullptr;
}

void PickListItem(HWND list, int index)
{
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

bool IsChecked(HWND button)
{
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND button, bool checked)
{
    if (IsChecked(button) != checked)
        ClickButton(button);
}

void TypeText(HWND edit, const std::wstring& text)
{
    for (wchar_t c : text)
        SendMessageW(edit, WM_CHAR, c, 1);
}

void ReplaceText(HWND edit, const std::wstring& text)
{
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    TypeText(edit, text);
}
} // namespace testhost
