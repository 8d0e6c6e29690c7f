#include "pages/CPresetRow.h"

#include "pages/CDlgSavePreset.h"
#include "resource.h"

#include <iterator>

namespace
{
// The names of the built-ins in the list's order, then the list's "Custom".
constexpr UINT kBuiltinNameIds[] = {IDS_PRESET_STANDARD, IDS_PRESET_HIGH_QUALITY_PRINT, IDS_PRESET_SMALLEST_FILE,
                                    IDS_PRESET_PDFA_ARCHIVE, IDS_PRESET_CUSTOM};
static_assert(std::size(kBuiltinNameIds) == kBuiltinPresetCount + 1, "a name for every built-in and Custom");

// The record's encryption fields for the level "none", as the security page
// stores them.
constexpr DWORD kNotEncrypted = 1;
} // namespace

void CPresetRow::Attach(CDlgPropSheetPage* page)
{
    m_pPage = page;
    m_hList = GetDlgItem(page->m_hWnd, IDC_PRESET);
    m_hDelete = GetDlgItem(page->m_hWnd, IDC_PRESET_DELETE);
    std::wstring names[std::size(kBuiltinNameIds)];
    const wchar_t* reserved[std::size(kBuiltinNameIds)];
    for (size_t i = 0; i < std::size(kBuiltinNameIds); ++i)
    {
        names[i] = CDialogWindow::ResourceText(kBuiltinNameIds[i]);
        reserved[i] = names[i].c_str();
    }
    m_catalogue.SetReservedNames(reserved, std::size(reserved));
    m_catalogue.Load();
    _Fill();
}

void CPresetRow::_Fill()
{
    SendMessageW(m_hList, CB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < m_catalogue.Count(); ++i)
    {
        const std::wstring builtin = m_catalogue.IsBuiltin(i) ? CDialogWindow::ResourceText(kBuiltinNameIds[i]) : L"";
        const wchar_t* name = m_catalogue.IsBuiltin(i) ? builtin.c_str() : m_catalogue.OwnName(i);
        SendMessageW(m_hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    ShowMatch();
}

PRESET_FIELDS CPresetRow::ShownFields(bool* encrypted) const
{
    PRESET_QUERY query = {};
    query.op = kPresetRead;
    query.fields = ReadPresetFields(*m_pPage->m_pRecord);
    m_pPage->QueryPages(kPresetQueryTag, reinterpret_cast<LPARAM>(&query));
    if (encrypted)
        *encrypted = query.security ? query.encrypted : IsEncryptedRecord(*m_pPage->m_pRecord);
    return query.fields;
}

void CPresetRow::ShowMatch()
{
    if (!m_hList || m_bChoosing)
        return;
    const int match = m_catalogue.Match(ShownFields(nullptr));
    const int custom = _CustomItem();
    const bool listsCustom = SendMessageW(m_hList, CB_GETCOUNT, 0, 0) > custom;
    // "Custom" is listed only while it is what the pages show.
    if (match < 0 && !listsCustom)
    {
        const std::wstring text = CDialogWindow::ResourceText(IDS_PRESET_CUSTOM);
        SendMessageW(m_hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    else if (match >= 0 && listsCustom)
        SendMessageW(m_hList, CB_DELETESTRING, static_cast<WPARAM>(custom), 0);
    SendMessageW(m_hList, CB_SETCURSEL, static_cast<WPARAM>(match >= 0 ? match : custom), 0);
    EnableWindow(m_hDelete, match >= 0 && !m_catalogue.IsBuiltin(static_cast<size_t>(match)));
}

bool CPresetRow::Choose(size_t index)
{
    const PRESET_FIELDS fields = m_catalogue.Fields(index);
    bool encrypted = false;
    ShownFields(&encrypted);
    const bool encryptionOff = NeedsEncryptionOff(fields) && encrypted;
    if (encryptionOff && CDialogWindow::ShowMessage(m_pPage->m_hWnd, IDS_PRESET_ENCRYPTION_OFF, IDS_CAPTION_PRESETS,
                                                    MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
        return false;

    m_bChoosing = true;
    PRESET_QUERY query = {};
    query.op = kPresetShow;
    query.fields = fields;
    query.encryptionOff = encryptionOff;
    m_pPage->QueryPages(kPresetQueryTag, reinterpret_cast<LPARAM>(&query));
    m_bChoosing = false;
    // The pages without a window read the record when they get one.
    const DWORD rest = kPresetGroupAll & ~query.groups;
    WritePresetFields(fields, rest, m_pPage->m_pRecord);
    if (rest & kPresetGroupGraphics)
        m_bRecordHoldsImages = true;
    if (encryptionOff && !query.security)
    {
        m_pPage->m_pRecord->dwEncrypt = kNotEncrypted;
        m_pPage->m_pRecord->dwKeyLength = 0;
    }
    m_pPage->MarkChanged();
    return true;
}

bool CPresetRow::OnCommand(WORD controlId, WORD notifyCode)
{
    switch (controlId)
    {
    case IDC_PRESET:
        if (notifyCode == CBN_SELCHANGE)
        {
            const LRESULT index = SendMessageW(m_hList, CB_GETCURSEL, 0, 0);
            // The list then shows the match again: the page frame sends
            // kPagesChanged after every selection.
            if (index >= 0 && index < _CustomItem())
                Choose(static_cast<size_t>(index));
        }
        return true;
    case IDC_PRESET_SAVE:
        if (notifyCode == BN_CLICKED)
            _Save();
        return true;
    case IDC_PRESET_DELETE:
        if (notifyCode == BN_CLICKED)
            _Delete();
        return true;
    default:
        return false;
    }
}

LRESULT CPresetRow::OnQuery(const PRESET_QUERY& query) const
{
    return query.op == kPresetRecordHolds && m_bRecordHoldsImages ? 1 : 0;
}

void CPresetRow::_Save()
{
    CDlgSavePreset dialog(&m_catalogue, ShownFields(nullptr));
    if (dialog.DoModal(m_pPage->m_hWnd) == 1)
        _Fill();
}

void CPresetRow::_Delete()
{
    const LRESULT index = SendMessageW(m_hList, CB_GETCURSEL, 0, 0);
    if (index < 0 || index >= _CustomItem() || m_catalogue.IsBuiltin(static_cast<size_t>(index)))
        return;
    const std::wstring name = m_catalogue.OwnName(static_cast<size_t>(index));
    const std::wstring question = CDialogWindow::ResourceTextWith(IDS_PRESET_DELETE, name.c_str());
    if (CDialogWindow::ShowMessageText(m_pPage->m_hWnd, question.c_str(), IDS_CAPTION_PRESETS,
                                       MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    m_catalogue.Delete(name.c_str());
    _Fill();
}
