// The favourite forms dialog: every form of the catalogue with its size in
// millimetres, inches or points; the ticked ones are the forms the paper page
// offers. Custom forms are added, changed and deleted from here through the
// custom form dialog; those changes reach the registry at once, while the
// favourites are stored only by OK.
#pragma once

#include "forms/CFormManager.h"
#include "sheet/CModalDialog.h"

#include <windows.h>

// DoModal gives 1 after OK, 0 after Cancel.
class CDlgRegFavoriteForm : public CModalDialog
{
  public:
    CDlgRegFavoriteForm();

    // Loads the catalogue and the stored favourites for `hPrinter` (not
    // owned). A catalogue that cannot be loaded leaves no favourite ticked.
    DWORD Prepare(HANDLE hPrinter);

  private:
    BOOL OnInitDialog() override;
    void OnCommand(WORD controlId, WORD notifyCode) override;
    void _FillList();
    void _RefreshSizes();
    void _OnAdd();
    void _OnEdit();
    void _OnDelete();
    void _OnOK();
    void _AppendRow(LPCWSTR name);
    int _SelectedRow(LPWSTR text, int capacity) const;

    HANDLE m_hPrinter = nullptr;
    HWND m_hList = nullptr;
    CFormManager m_Forms;
};
