// The custom form dialog: the name, width and height of one of the user's
// own paper forms, typed in millimetres, inches or points. The favourite
// forms dialog opens it to add a form (empty name, A4 proposed) or to change
// the size of an existing one (name fixed). OK stores the form in whole
// millimetres in the registry.
#pragma once

#include "forms/CFormManager.h"
#include "sheet/CModalDialog.h"

#include <windows.h>

// Longest custom form name the dialog takes: it must fit the settings
// record's form name (31 characters and the terminator), or a page that
// stores the form could never find it again.
constexpr int kCustomFormNameLength = 31;

// DoModal gives 1 when the form was stored (its name is then in GetName()),
// 0 when nothing was stored.
class CDlgUpdateForm : public CModalDialog
{
  public:
    CDlgUpdateForm();

    // Before the dialog runs. `name` is null to add a form; otherwise the
    // name of the form to change (owned by the caller, not editable).
    // Width and height in whole millimetres.
    void Prepare(HANDLE hPrinter, LPCWSTR name, DWORD width, DWORD height);

    LPCWSTR GetName() const { return m_szName; }

  private:
    BOOL OnInitDialog() override;
    void OnCommand(WORD controlId, WORD notifyCode) override;
    void _SwitchUnit(DWORD unit);
    void _OnOK();
    // The message for a new form's name, or 0 when the name can be stored.
    UINT _CheckNewName() const;
    // Shows message `textId` (the limit in `unit` for a size too large) and
    // puts the focus on `field`.
    void _Refuse(HWND field, UINT textId, DWORD unit);

    HANDLE m_hPrinter = nullptr;
    HWND m_hName = nullptr;
    HWND m_hWidth = nullptr;
    HWND m_hHeight = nullptr;
    DWORD m_dwCurrentUnit = kUnitMillimetres; // the unit the size edits are in
    WCHAR m_szName[128] = {};
    LPCWSTR m_pInitialName = nullptr;
    DWORD m_dwInitialWidth = 0;
    DWORD m_dwInitialHeight = 0;
};

// The rules of the size edits, by FormUnit.

// Whether `value` in `unit` is smaller than one inch (the smallest paper
// accepted). A value that is not a number counts as too small.
bool IsBelowOneInch(float value, DWORD unit);
// The largest size the catalogue can store, in whole `unit`s.
DWORD LargestCustomFormSize(DWORD unit);
// The typed text of a width or height in `unit`: 0 with the size in `value`
// when it can be stored, else the message refusing it (not a number, too
// large, too small). Spaces may follow the number, nothing else.
UINT ReadCustomFormSize(LPCWSTR text, DWORD unit, float* value);
// `value` in `unit` as whole millimetres, fractions cut (not rounded).
// Values beyond what a DWORD holds give 0xFFFFFFFF, which the catalogue
// refuses.
DWORD ToWholeMillimetres(float value, DWORD unit);
