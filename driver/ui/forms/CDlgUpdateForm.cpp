#include "forms/CDlgUpdateForm.h"

#include "core/Globals.h"
#include "resource.h"

#include <libmerrow/error.h>
#include <libmerrow/scoped.h>

#include <cmath>
#include <cwchar>
#include <cwctype>
#include <iterator>
#include <string>

namespace
{
// The size edits take a number of at most 15 characters.
constexpr int kSizeTextLength = 15;

const CDialogWindow::UnitRadios kUnitRadios = {IDC_CUSTOM_FORM_UNIT_MM, IDC_CUSTOM_FORM_UNIT_INCH,
                                               IDC_CUSTOM_FORM_UNIT_POINT};

void ReadSizeText(HWND edit, wchar_t (&text)[kSizeTextLength + 1])
{
    text[0] = L'\0';
    GetWindowTextW(edit, text, static_cast<int>(std::size(text)));
}

void WriteSize(HWND edit, float value)
{
    wchar_t text[64];
    FormatFormSize(value, text, std::size(text));
    SetWindowTextW(edit, text);
}
} // namespace

bool IsBelowOneInch(float value, DWORD unit)
{
    // Written as "not at least", so that a NaN is refused as well.
    return !(static_cast<double>(value) >= OneInchIn(unit));
}

DWORD LargestCustomFormSize(DWORD unit)
{
    // Whole units only, so that every size up to the number a message names
    // is stored, whatever the float rounding of the typed text.
    if (unit != kUnitInches && unit != kUnitPoints)
        return kLargestFormMillimetres;
    const double inches = kLargestFormMillimetres / OneInchIn(kUnitMillimetres);
    return static_cast<DWORD>(inches * OneInchIn(unit));
}

UINT ReadCustomFormSize(LPCWSTR text, DWORD unit, float* value)
{
    wchar_t* end = nullptr;
    const double number = std::wcstod(text, &end);
    while (*end && std::iswspace(*end))
        ++end;
    // "12abc" is refused too: taking its 12 would store what the user never meant.
    if (end == text || *end || std::isnan(number))
        return IDS_FORM_SIZE_NOT_NUMBER;
    if (number > LargestCustomFormSize(unit))
        return IDS_FORM_TOO_LARGE;
    *value = static_cast<float>(number);
    if (IsBelowOneInch(*value, unit))
        return IDS_FORM_TOO_SMALL;
    return 0;
}

DWORD ToWholeMillimetres(float value, DWORD unit)
{
    const float held = ConvertLength(value, unit, kUnitMillimetres);
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
        _SwitchUnit(kUnitMillimetres);
        break;
    case IDC_CUSTOM_FORM_UNIT_INCH:
        _SwitchUnit(kUnitInches);
        break;
    case IDC_CUSTOM_FORM_UNIT_POINT:
        _SwitchUnit(kUnitPoints);
        break;
    default:
        break;
    }
}

BOOL CDlgUpdateForm::OnInitDialog()
{
    m_hName = GetDlgItem(m_hWnd, IDC_CUSTOM_FORM_NAME);
    m_hWidth = GetDlgItem(m_hWnd, IDC_CUSTOM_FORM_WIDTH);
    m_hHeight = GetDlgItem(m_hWnd, IDC_CUSTOM_FORM_HEIGHT);

    m_dwCurrentUnit = kUnitMillimetres;
    ShowUnit(kUnitRadios, kUnitMillimetres);

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

void CDlgUpdateForm::_SwitchUnit(DWORD unit)
{
    if (unit == m_dwCurrentUnit)
        return;
    const float width = ConvertLength(static_cast<float>(NumberIn(m_hWidth)), m_dwCurrentUnit, unit);
    const float height = ConvertLength(static_cast<float>(NumberIn(m_hHeight)), m_dwCurrentUnit, unit);
    WriteSize(m_hWidth, width);
    WriteSize(m_hHeight, height);
    m_dwCurrentUnit = unit;
}

void CDlgUpdateForm::_Refuse(HWND field, UINT textId, DWORD unit)
{
    if (textId != IDS_FORM_TOO_LARGE)
    {
        ShowMessage(m_hWnd, textId, IDS_CAPTION_ERROR, MB_ICONERROR);
    }
    else
    {
        // The limit in the unit the user typed in, in whichever order the
        // language puts number and unit.
        const std::wstring format = ResourceText(IDS_FORM_TOO_LARGE);
        const std::wstring word = ResourceText(UnitWordId(unit));
        wchar_t limit[16];
        wsprintfW(limit, L"%lu", static_cast<unsigned long>(LargestCustomFormSize(unit)));
        DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(limit), reinterpret_cast<DWORD_PTR>(word.c_str())};
        ScopedLocalBlock text;
        FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                       format.c_str(), 0, 0, reinterpret_cast<LPWSTR>(text.Out()), 0,
                       reinterpret_cast<va_list*>(arguments));
        ShowMessageText(m_hWnd, text.Get() ? static_cast<LPCWSTR>(text.Get()) : format.c_str(), IDS_CAPTION_ERROR,
                        MB_ICONERROR);
    }
    // Back to what needs changing, its text selected for typing over.
    SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
}

UINT CDlgUpdateForm::_CheckNewName() const
{
    if (!m_szName[0])
        return IDS_EMPTY_FORM_NAME;
    // The favourite list is kept as names joined by ";".
    if (std::wcschr(m_szName, L';'))
        return IDS_FORM_NAME_SEPARATOR;
    // The catalogue finds the spooler's form of a name first, so a custom form
    // of the same name could never be shown, edited or chosen. The forms read
    // before a failed load still count; without them nothing can be compared.
    CFormManager forms;
    forms.SetPrinter(m_hPrinter);
    forms.LoadAvailableForm();
    const FORM_ITEM* form = forms.FindForm(m_szName);
    if (form && !(form->dwFlags & FORM_CUSTOM))
        return IDS_FORM_NAME_TAKEN;
    return 0;
}

void CDlgUpdateForm::_OnOK()
{
    m_szName[0] = L'\0';
    GetWindowTextW(m_hName, m_szName, static_cast<int>(std::size(m_szName)));
    const DWORD unit = CheckedUnit(kUnitRadios, kUnitMillimetres);

    // A form being changed keeps the name it was stored under, whatever it is.
    if (const UINT refused = m_pInitialName ? 0 : _CheckNewName())
    {
        _Refuse(m_hName, refused, unit);
        return;
    }
    float sizes[2] = {};
    const HWND fields[2] = {m_hWidth, m_hHeight};
    for (int i = 0; i < 2; ++i)
    {
        wchar_t text[kSizeTextLength + 1];
        ReadSizeText(fields[i], text);
        if (const UINT refused = ReadCustomFormSize(text, unit, &sizes[i]))
        {
            _Refuse(fields[i], refused, unit);
            return;
        }
    }

    CFormManager forms;
    if (forms.AddForm(m_szName, ToWholeMillimetres(sizes[0], unit), ToWholeMillimetres(sizes[1], unit)) != 0)
    {
        ShowMessageText(m_hWnd, GetLastErrorTextW(), IDS_CAPTION_ERROR, MB_ICONERROR);
        return;
    }
    EndDialog(m_hWnd, 1);
}
