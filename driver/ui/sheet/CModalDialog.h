// The frame of the module's modal dialogs: the template comes from the
// resource module, the dialog object is found again from its window, and
// every message passes the exception barrier, so a dialog class only says
// what its initialisation and its commands do.
#pragma once

#include "sheet/CDialogWindow.h"

#include <windows.h>

class CModalDialog : public CDialogWindow
{
  public:
    // Runs the dialog modally over `owner`; what the dialog gave EndDialog,
    // or -1 when it could not be created.
    INT_PTR DoModal(HWND owner);

  protected:
    // `templateId` is a dialog of the resource module; `name` names the
    // dialog in failure lines.
    CModalDialog(WORD templateId, const wchar_t* name) : m_templateId(templateId), m_pName(name) {}
    ~CModalDialog() override = default;

    // WM_INITDIALOG: TRUE lets the dialog manager give the first control
    // the focus, FALSE when the dialog set it itself.
    virtual BOOL OnInitDialog() = 0;
    virtual void OnCommand(WORD controlId, WORD notifyCode) = 0;

  private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

    WORD m_templateId;
    const wchar_t* m_pName;
};
