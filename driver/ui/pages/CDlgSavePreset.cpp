#include "pages/CDlgSavePreset.h"

#include "resource.h"

namespace
{
// What the dialog says about a name the catalogue refuses.
UINT RefusalText(PresetNameCheck check)
{
    switch (check)
    {
    case kPresetNameEmpty:
        return IDS_PRESET_NAME_EMPTY;
    case kPresetNameTooLong:
        return IDS_PRESET_NAME_TOO_LONG;
    case kPresetNameSeparator:
        return IDS_PRESET_NAME_SEPARATOR;
    default:
        return IDS_PRESET_NAME_RESERVED;
    }
}
} // namespace

CDlgSavePreset::CDlgSavePreset(CPresetCatalogue* catalogue, const PRESET_FIELDS& fields)
    : CModalDialog(IDD_SAVE_PRESET, L"CDlgSavePreset"), m_pCatalogue(catalogue), m_fields(fields)
{
}

BOOL CDlgSavePreset::OnInitDialog()
{
    m_hName = GetDlgItem(m_hWnd, IDC_PRESET_NAME);
    // One character more than a name may have, so that a pasted longer
    // name is refused with its message instead of cut without one.
    SendMessageW(m_hName, EM_LIMITTEXT, kPresetNameLength + 1, 0);
    return TRUE;
}

void CDlgSavePreset::OnCommand(WORD controlId, WORD /*notifyCode*/)
{
    if (controlId == IDOK)
        _OnOK();
    else if (controlId == IDCANCEL)
        EndDialog(m_hWnd, 0);
}

void CDlgSavePreset::_OnOK()
{
    const std::wstring name = ControlText(m_hName);
    const PresetNameCheck check = m_pCatalogue->CheckName(name.c_str());
    if (check != kPresetNameOk)
    {
        ShowMessage(m_hWnd, RefusalText(check), IDS_CAPTION_PRESETS, MB_OK | MB_ICONEXCLAMATION);
        SetFocus(m_hName);
        return;
    }
    if (m_pCatalogue->FindOwn(name.c_str()) >= 0)
    {
        const std::wstring question = ResourceTextWith(IDS_PRESET_REPLACE, name.c_str());
        if (ShowMessageText(m_hWnd, question.c_str(), IDS_CAPTION_PRESETS, MB_YESNO | MB_ICONQUESTION) != IDYES)
        {
            SetFocus(m_hName);
            return;
        }
    }
    if (m_pCatalogue->Save(name.c_str(), m_fields) != 0)
    {
        ShowMessage(m_hWnd, IDS_PRESET_NOT_STORED, IDS_CAPTION_ERROR, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(m_hWnd, 1);
}
