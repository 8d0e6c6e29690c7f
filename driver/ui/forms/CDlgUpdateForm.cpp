#include "forms/CDlgUpdateForm.h"

#include "sheet/CDlgPropSheetPage.h"
#include "core/Globals.h"
#include "resource.h"

#include <libmerrow/error.h>

#include <cwchar>
#include <iterator>

namespace
{
// The size edits take a number of at most 15 characters.
constexpr int kSizeTextLength = 15;

DWORD UnitOfRadio(int radioId)
{
    switch (radioId)
    {
    case IDC_CUSTOM_FORM_UNIT_INCH:
        return kUnitInches;
    case IDC_CUSTOM_FORM_UNIT_POINT:
        return kUnitPoints;
    default:
        return kUnitMillimetres;
    }
}

// The leading number of an edit's text; 0 when there is none.
float ReadSize(HWND edit)
{
    wchar_t text[kSizeTextLength + 1];
    text[0] = L'\0';
    GetWindowTextW(edit, text, static_cast<int>(std::size(text)));
    return static_cast<float>(std::wcstod(text, nullptr));
}

void WriteSize(HWND edit, float value)
{
    wchar_t text[64];
    FormatFormSize(value, text, std::size(text));
    SetWindowTextW(edit, text);
}
} // namespace

float ConvertCustomFormSize(float value, DWORD from, DWORD to)
{
    const double v = value;
    if (from == to)
        return value;
    if (from == kUnitInches)
        return to == kUnitMillimetres ? static_cast<float>(v * 2.54 * 10.0) : value * 72.0f;
    if (from == kUnitPoints)
        return to == kUnitMillimetres ? static_cast<float>(v / 72.0 * 2.54 * 10.0) : static_cast<float>(v / 72.0);
    const float inches = static_cast<float>(v / 10.0 / 2.54);
    return to == kUnitInches ? inches : inches * 72.0f;
}

bool IsBelowOneInch(float value, DWORD unit)
{
    // Written as "not at least", so that a NaN is refused as well.
    if (unit == kUnitInches)
        return !(value >= 1.0f);
    if (unit == kUnitPoints)
        return !(value >= 72.0f);
    return !(static_cast<double>(value) >= 25.4);
}

DWORD ToWholeMillimetres(float value, DWORD unit)
{
    const double v = value;
    double millimetres = v;
    if (unit == kUnitInches)
        millimetres = v * 2.54 * 10.0;
    else if (unit == kUnitPoints)
        millimetres = v / 72.0 * 2.54 * 10.0;
    const float held = static_cast<float>(millimetres);
    if (!(held >= 0.0f))
        return 0;
    if (held >= 4294967296.0f)
        return 0xFFFFFFFF;
    return static_cast<DWORD>(held);
}

CDlgUpdateForm::CDlgUpdateForm() : CModalDialog(IDD_CUSTOM_FORM, L"CDlgUpdateForm") {}

void CDlgUpdateForm::Prepare(HANDLE hPrinter, LPCWSTR name, DWORD width, DWORD height)
{
    m_hPrinter = hPrinter;
    m_pInitialName = name;
    m_dwInitialWidth = width;
    m_dwInitialHeight = height;
}

void CDlgUpdateForm::OnCommand(WORD controlId, WORD notifyCode)
{
    if (notifyCode != BN_CLICKED)
        return;
    switch (controlId)
    {
    case IDOK:
        _OnOK();
        break;
    case IDCANCEL:
        EndDialog(m_hWnd, 0);
        break;
    case IDC_CUSTOM_FORM_UNIT_MM:
    case IDC_CUSTOM_FORM_UNIT_INCH:
    case IDC_CUSTOM_FORM_UNIT_POINT:
        _SwitchUnit(controlId);
        break;
    default:
        break;
    }
}

BOOL CDlgUpdateForm::OnInitDialog()
{
    m_hUnitMm = GetDlgItem(m_hWnd, IDC_CUSTOM_FORM_UNIT_MM);
    m_hUnitInch = GetDlgItem(m_hWnd, IDC_CUSTOM_FORM_UNIT_INCH);
    m_hUnitPoint = GetDlgItem(m_hWnd, IDC_CUSTOM_FORM_UNIT_POINT);
    m_hName = GetDlgItem(m_hWnd, IDC_CUSTOM_FORM_NAME);
    m_hWidth = GetDlgItem(m_hWnd, IDC_CUSTOM_FORM_WIDTH);
    m_hHeight = GetDlgItem(m_hWnd, IDC_CUSTOM_FORM_HEIGHT);

    m_nCurrentUnit = IDC_CUSTOM_FORM_UNIT_MM;
    CheckRadioButton(m_hWnd, IDC_CUSTOM_FORM_UNIT_MM, IDC_CUSTOM_FORM_UNIT_POINT, IDC_CUSTOM_FORM_UNIT_MM);

    SendMessageW(m_hName, EM_LIMITTEXT, kCustomFormNameLength, 0);
    SendMessageW(m_hWidth, EM_LIMITTEXT, kSizeTextLength, 0);
    SendMessageW(m_hHeight, EM_LIMITTEXT, kSizeTextLength, 0);
    wchar_t text[16];
    wsprintfW(text, L"%d", static_cast<int>(m_dwInitialWidth));
    SetWindowTextW(m_hWidth, text);
    wsprintfW(text, L"%d", static_cast<int>(m_dwInitialHeight));
    SetWindowTextW(m_hHeight, text);

    if (m_pInitialName)
    {
        SetWindowTextW(m_hName, m_pInitialName);
        EnableWindow(m_hName, FALSE);
        SetFocus(m_hWidth);
    }
    else
    {
        SetFocus(m_hName);
    }
    return FALSE;
}

void CDlgUpdateForm::_SwitchUnit(int radioId)
{
    if (radioId == m_nCurrentUnit)
        return;
    const DWORD from = UnitOfRadio(m_nCurrentUnit);
    const DWORD to = UnitOfRadio(radioId);
    const float width = ConvertCustomFormSize(ReadSize(m_hWidth), from, to);
    const float height = ConvertCustomFormSize(ReadSize(m_hHeight), from, to);
    WriteSize(m_hWidth, width);
    WriteSize(m_hHeight, height);
    m_nCurrentUnit = radioId;
}

void CDlgUpdateForm::_OnOK()
{
    m_szName[0] = L'\0';
    GetWindowTextW(m_hName, m_szName, static_cast<int>(std::size(m_szName)));
    const float width = ReadSize(m_hWidth);
    const float height = ReadSize(m_hHeight);
    if (!m_szName[0])
    {
        CDlgPropSheetPage::ShowMessage(m_hWnd, IDS_EMPTY_FORM_NAME, IDS_CAPTION_ERROR, MB_ICONERROR);
        return;
    }

    DWORD unit = kUnitMillimetres;
    if (SendMessageW(m_hUnitInch, BM_GETCHECK, 0, 0) == BST_CHECKED)
        unit = kUnitInches;
    else if (SendMessageW(m_hUnitPoint, BM_GETCHECK, 0, 0) == BST_CHECKED)
        unit = kUnitPoints;
    if (IsBelowOneInch(width, unit) || IsBelowOneInch(height, unit))
    {
        CDlgPropSheetPage::ShowMessage(m_hWnd, IDS_FORM_TOO_SMALL, IDS_CAPTION_ERROR, MB_ICONERROR);
        return;
    }

    CFormManager forms;
    if (forms.AddForm(m_szName, ToWholeMillimetres(width, unit), ToWholeMillimetres(height, unit)) != 0)
    {
        CDlgPropSheetPage::ShowMessageText(m_hWnd, GetLastErrorTextW(), IDS_CAPTION_ERROR, MB_ICONERROR);
        return;
    }
    EndDialog(m_hWnd, 1);
}
