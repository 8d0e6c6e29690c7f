#include "sheet/CDialogWindow.h"

#include "core/Globals.h"

#include <cwchar>
#include <initializer_list>
#include <memory>

std::wstring CDialogWindow::ResourceText(UINT id)
{
    // With no buffer, LoadStringW gives a read-only pointer into the
    // resource and the text's length; the text there is not terminated.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(g_hResModule, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

std::wstring CDialogWindow::ResourceTextWith(UINT id, const wchar_t* value)
{
    std::wstring text = ResourceText(id);
    const size_t at = text.find(L"%s");
    if (at != std::wstring::npos)
        text.replace(at, 2, value);
    return text;
}

int CDialogWindow::ShowMessage(HWND owner, UINT textId, UINT captionId, UINT flags)
{
    return ShowMessageText(owner, ResourceText(textId).c_str(), captionId, flags);
}

int CDialogWindow::ShowMessageText(HWND owner, const wchar_t* text, UINT captionId, UINT flags)
{
    return MessageBoxW(owner, text, ResourceText(captionId).c_str(), flags);
}

bool CDialogWindow::IsChecked(HWND button)
{
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CDialogWindow::SetChecked(HWND button, bool checked)
{
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::wstring CDialogWindow::ControlText(HWND control)
{
    const int length = GetWindowTextLengthW(control);
    if (length <= 0)
        return std::wstring();
    std::unique_ptr<wchar_t[]> text(new wchar_t[static_cast<size_t>(length) + 1]);
    const int copied = GetWindowTextW(control, text.get(), length + 1);
    return std::wstring(text.get(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

double CDialogWindow::NumberIn(HWND control)
{
    return std::wcstod(ControlText(control).c_str(), nullptr);
}

long CDialogWindow::WholeNumberIn(HWND control)
{
    return std::wcstol(ControlText(control).c_str(), nullptr, 10);
}

void CDialogWindow::ShowUnit(const UnitRadios& radios, DWORD unit) const
{
    const int checked = unit == kUnitInches ? radios.inches : unit == kUnitPoints ? radios.points : radios.millimetres;
    for (int id : {radios.millimetres, radios.inches, radios.points})
        SetChecked(GetDlgItem(m_hWnd, id), id == checked);
}

DWORD CDialogWindow::CheckedUnit(const UnitRadios& radios, DWORD noneChecked) const
{
    if (IsChecked(GetDlgItem(m_hWnd, radios.inches)))
        return kUnitInches;
    const bool pointsLast = noneChecked == kUnitPoints;
    if (IsChecked(GetDlgItem(m_hWnd, pointsLast ? radios.millimetres : radios.points)))
        return pointsLast ? kUnitMillimetres : kUnitPoints;
    return noneChecked;
}
