#include "sheet/CModalDialog.h"

#include "core/ExceptionBarrier.h"

#include "core/Globals.h"

INT_PTR CModalDialog::DoModal(HWND owner)
{
    return DialogBoxParamW(g_hResModule, MAKEINTRESOURCEW(m_templateId), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CModalDialog::DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Messages before WM_INITDIALOG (WM_SETFONT) find no dialog yet.
    auto* dialog = message == WM_INITDIALOG ? reinterpret_cast<CModalDialog*>(lParam)
                                            : reinterpret_cast<CModalDialog*>(GetWindowLongPtrW(hDlg, GWLP_USERDATA));
    if (!dialog)
        return FALSE;
    return ExceptionBarrier(dialog->m_pName, INT_PTR(FALSE), [&]() -> INT_PTR {
        if (message == WM_INITDIALOG)
        {
            SetWindowLongPtrW(hDlg, GWLP_USERDATA, lParam);
            dialog->m_hWnd = hDlg;
            return dialog->OnInitDialog();
        }
        if (message == WM_COMMAND)
            dialog->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return FALSE;
    });
}
