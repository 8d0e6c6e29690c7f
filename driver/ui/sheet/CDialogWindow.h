// What every page and modal dialog of the module does with its window: texts
// from the resource module, message boxes by string ID, check boxes, the
// three unit radios of the paper dialogs and numbers typed into edits. The
// page frame (CDlgPropSheetPage) and the modal frame (CModalDialog) both
// derive from it, so a page or dialog says only what is its own.
#pragma once

#include "core/Units.h"

#include <windows.h>

#include <string>

class CDialogWindow
{
  public:
    CDialogWindow() = default;
    CDialogWindow(const CDialogWindow&) = delete;
    CDialogWindow& operator=(const CDialogWindow&) = delete;
    virtual ~CDialogWindow() = default;

    // The string `id` of the resource module, whatever its length; empty
    // when the module or the string is missing.
    static std::wstring ResourceText(UINT id);
    // The same with its "%s" replaced by `value` (a name the person typed,
    // which is never read as a format).
    static std::wstring ResourceTextWith(UINT id, const wchar_t* value);

    // A message box whose text and caption are strings of the resource
    // module; what MessageBoxW gives.
    static int ShowMessage(HWND owner, UINT textId, UINT captionId, UINT flags);
    // The same with a text that is not a resource string (a failure text).
    static int ShowMessageText(HWND owner, const wchar_t* text, UINT captionId, UINT flags);

    static bool IsChecked(HWND button);
    static void SetChecked(HWND button, bool checked);

    // The whole text of a control, whatever its length.
    static std::wstring ControlText(HWND control);
    // The decimal number at the start of a control's text, read as the C
    // library's wcstod and wcstol read it (0 without one).
    static double NumberIn(HWND control);
    static long WholeNumberIn(HWND control);

    // The millimetre, inch and point radios of one dialog, by control ID.
    struct UnitRadios
    {
        int millimetres;
        int inches;
        int points;
    };
    // Checks the radio of `unit` (FormUnit; any other value checks
    // millimetres) and clears the other two.
    void ShowUnit(const UnitRadios& radios, DWORD unit) const;
    // The FormUnit whose radio is checked, inches first; `noneChecked`
    // (millimetres or points) when neither inches nor the other one is.
    DWORD CheckedUnit(const UnitRadios& radios, DWORD noneChecked) const;

    HWND m_hWnd = nullptr;
};
