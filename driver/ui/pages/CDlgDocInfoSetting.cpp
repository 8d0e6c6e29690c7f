#include "pages/CDlgDocInfoSetting.h"

#include "resource.h"

namespace
{
// Each text field of the record holds 64 code units with its terminator.
constexpr int kDocInfoFieldLength = 64;

// One edit and the record field it edits. Subject and keywords cross: the
// record keeps keywords first, the page shows subject first.
struct DocInfoField
{
    int controlId;
    HWND CDlgDocInfoSetting::*edit;
    WCHAR (TARVIK_DEVMODE::*field)[kDocInfoFieldLength];
};

const DocInfoField kFields[] = {
    {IDC_DOCINFO_TITLE, &CDlgDocInfoSetting::m_hTitle, &TARVIK_DEVMODE::szTitle},
    {IDC_DOCINFO_AUTHOR, &CDlgDocInfoSetting::m_hAuthor, &TARVIK_DEVMODE::szAuthor},
    {IDC_DOCINFO_SUBJECT, &CDlgDocInfoSetting::m_hSubject, &TARVIK_DEVMODE::szSubject},
    {IDC_DOCINFO_KEYWORDS, &CDlgDocInfoSetting::m_hKeywords, &TARVIK_DEVMODE::szKeywords},
    {IDC_DOCINFO_EXTRA, &CDlgDocInfoSetting::m_hExtra, &TARVIK_DEVMODE::szDocInfoExtra},
};
} // namespace

void CDlgDocInfoSetting::OnInitDialog()
{
    for (const DocInfoField& f : kFields)
        this->*f.edit = GetDlgItem(m_hWnd, f.controlId);

    for (const DocInfoField& f : kFields)
    {
        // An application's record may fill the field without a terminator:
        // the text ends at the field's end, never in the next field.
        const WCHAR* field = m_pRecord->*f.field;
        WCHAR text[kDocInfoFieldLength + 1];
        int length = 0;
        while (length < kDocInfoFieldLength && field[length] != L'\0')
        {
            text[length] = field[length];
            ++length;
        }
        text[length] = L'\0';
        SetWindowTextW(this->*f.edit, text);
    }

    for (const DocInfoField& f : kFields)
        SendMessageW(this->*f.edit, EM_LIMITTEXT, kDocInfoFieldLength, 0);
}

void CDlgDocInfoSetting::OnCommand(WORD /*controlId*/, WORD notifyCode, HWND /*control*/)
{
    // EN_UPDATE comes before the edit repaints: the sheet learns of the
    // change as soon as the user types.
    if (notifyCode == EN_UPDATE)
        MarkChanged();
}

DWORD CDlgDocInfoSetting::Apply()
{
    for (const DocInfoField& f : kFields)
    {
        WCHAR* field = m_pRecord->*f.field;
        // Cut to 63 characters and always terminated.
        if (GetWindowTextW(this->*f.edit, field, kDocInfoFieldLength) <= 0)
            field[0] = L'\0';
    }
    return 0;
}
