// The favourite forms dialog: every form of the catalogue with its size in
// millimetres, inches or points; the ticked ones are the forms the paper page
// offers. Custom forms are added, changed and deleted from here through the
// custom form dialog; those changes reach the registry at once, while the
// favourites are stored only by OK.
#pragma once

#include "CFormManager.h"

#include <windows.h>

class CDlgRegFavoriteForm
{
  public:
    CDlgRegFavoriteForm() = default;
    virtual ~CDlgRegFavoriteForm() = default;

    CDlgRegFavoriteForm(const CDlgRegFavoriteForm&) = delete;
    CDlgRegFavoriteForm& operator=(const CDlgRegFavoriteForm&) = delete;

    // Loads the catalogue and the stored favourites for `hPrinter` (not
    // owned). A catalogue that cannot be loaded leaves no favourite ticked.
    DWORD Prepare(HANDLE hPrinter);

    // Runs the dialog modally over `owner`: 1 after OK, 0 after Cancel.
    INT_PTR DoModal(HWND owner);

    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void _OnInitDialog();
    void _FillList();
    void _RefreshSizes();
    void _OnAdd();
    void _OnEdit();
    void _OnDelete();
    void _OnOK();
    void _AppendRow(LPCWSTR name);
    int _SelectedRow(LPWSTR text, int capacity) const;

    HANDLE m_hPrinter = nullptr;
    HWND m_hWnd = nullptr;
    HWND m_hUnitMm = nullptr;
    HWND m_hUnitInch = nullptr;
    HWND m_hUnitPoint = nullptr;
    HWND m_hList = nullptr;
    CFormManager m_Forms;
};
