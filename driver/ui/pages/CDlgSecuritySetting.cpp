#include "pages/CDlgSecuritySetting.h"

#include "record/AnsiText.h"
#include "resource.h"

#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>

namespace
{
using Page = CDlgSecuritySetting;

// Control IDs in the order of Page::Control.
const WORD kControlIds[Page::kControlCount] = {
    IDC_SECURITY_LEVEL,
    IDC_SECURITY_OPEN_GROUP,
    IDC_SECURITY_OPEN,
    IDC_SECURITY_OPEN_PASSWORD_LABEL,
    IDC_SECURITY_OPEN_PASSWORD,
    IDC_SECURITY_OPEN_CONFIRM_LABEL,
    IDC_SECURITY_OPEN_CONFIRM,
    IDC_SECURITY_PERMISSIONS,
    IDC_SECURITY_PERMISSIONS_PASSWORD_LABEL,
    IDC_SECURITY_PERMISSIONS_PASSWORD,
    IDC_SECURITY_PERMISSIONS_CONFIRM_LABEL,
    IDC_SECURITY_PERMISSIONS_CONFIRM,
    IDC_SECURITY_ENCRYPT_GROUP,
    IDC_SECURITY_ENCRYPT_ALL,
    IDC_SECURITY_ALLOW_LABEL,
    IDC_SECURITY_PRINT,
    IDC_SECURITY_PRINT_LOW,
    IDC_SECURITY_PRINT_HIGH,
    IDC_SECURITY_CHANGE,
    IDC_SECURITY_COPY,
    IDC_SECURITY_ACCESSIBILITY,
    IDC_SECURITY_ANNOTATE,
    IDC_SECURITY_FILL_FORMS,
    IDC_SECURITY_ASSEMBLE,
};

// Permission bits of P (user access permissions of the standard security
// handler). Bit 2048 is "print at high resolution"; printing at low
// resolution only is that bit clear.
constexpr DWORD kAllowPrint = 4;
constexpr DWORD kAllowChange = 8;
constexpr DWORD kAllowCopy = 16;
constexpr DWORD kAllowAnnotate = 32;
constexpr DWORD kAllowFillForms = 256;
constexpr DWORD kAllowAccessibility = 512;
constexpr DWORD kAllowAssemble = 1024;
constexpr DWORD kAllowPrintHigh = 2048;
constexpr DWORD k40BitPermissions = kAllowPrint | kAllowChange | kAllowCopy | kAllowAnnotate;
constexpr DWORD k128BitPermissions = kAllowFillForms | kAllowAccessibility | kAllowAssemble | kAllowPrintHigh;

struct Grant
{
    Page::Control control;
    DWORD value;
};
const Grant kGrants[] = {
    {Page::kPrint, kAllowPrint},         {Page::kChange, kAllowChange},
    {Page::kCopy, kAllowCopy},           {Page::kAnnotate, kAllowAnnotate},
    {Page::kPrintHigh, kAllowPrintHigh}, {Page::kAccessibility, kAllowAccessibility},
    {Page::kFillForms, kAllowFillForms}, {Page::kAssemble, kAllowAssemble},
};

// Reads a password and its confirmation (ANSI bytes, compared byte for
// byte); returns the message that refuses them, or 0.
UINT CheckPassword(HWND edit, HWND confirmEdit, char (&password)[Page::kPasswordBytes + 1], UINT emptyId,
                   UINT mismatchId)
{
    char confirm[Page::kPasswordBytes + 1];
    GetAnsiText(edit, password, std::size(password));
    GetAnsiText(confirmEdit, confirm, std::size(confirm));
    if (!password[0])
        return emptyId;
    return std::strcmp(password, confirm) != 0 ? mismatchId : 0;
}

// The names of the levels, in the order of Page::Level.
const UINT kLevelTextIds[] = {IDS_NO_ENCRYPTION, IDS_LEVEL_RC4_40, IDS_LEVEL_RC4_128};

// The controls that the enabling rules switch together.
constexpr std::initializer_list<Page::Control> kOpenEntries = {Page::kOpenPasswordLabel, Page::kOpenPassword,
                                                               Page::kOpenConfirmLabel, Page::kOpenConfirm};
constexpr std::initializer_list<Page::Control> kPermissionsEntries = {
    Page::kPermissionsPasswordLabel, Page::kPermissionsPassword, Page::kPermissionsConfirmLabel,
    Page::kPermissionsConfirm};
constexpr std::initializer_list<Page::Control> kPermissionGroup = {
    Page::kAllowLabel, Page::kPrint,         Page::kPrintLow, Page::kPrintHigh, Page::kChange,
    Page::kCopy,       Page::kAccessibility, Page::kAnnotate, Page::kFillForms, Page::kAssemble};
// The permission controls whose click rewrites the permission word (the
// print box has a rule of its own first).
constexpr std::initializer_list<Page::Control> kPermissionChoices = {
    Page::kPrintLow, Page::kPrintHigh, Page::kChange,        Page::kCopy,
    Page::kAnnotate, Page::kFillForms, Page::kAccessibility, Page::kAssemble};
} // namespace

DWORD CDlgSecuritySetting::PermissionWord(int level, DWORD granted)
{
    DWORD p = kDefaultPermissions;
    if (level != kNoEncryption)
        p |= granted & k40BitPermissions;
    if (level == kRc4Bits128)
        p |= granted & k128BitPermissions;
    return p;
}

int CDlgSecuritySetting::_Level() const
{
    return static_cast<int>(SendMessageW(m_hControls[kLevel], CB_GETCURSEL, 0, 0));
}

bool CDlgSecuritySetting::_Checked(Control control) const
{
    return IsChecked(m_hControls[control]);
}

void CDlgSecuritySetting::_Check(Control control, bool checked)
{
    SetChecked(m_hControls[control], checked);
}

void CDlgSecuritySetting::_Enable(std::initializer_list<Control> controls, bool enabled)
{
    for (Control control : controls)
        EnableWindow(m_hControls[control], enabled);
}

void CDlgSecuritySetting::OnInitDialog()
{
    for (int i = 0; i < kControlCount; ++i)
        m_hControls[i] = GetDlgItem(m_hWnd, kControlIds[i]);

    for (UINT textId : kLevelTextIds)
    {
        const std::wstring text = ResourceText(textId);
        SendMessageW(m_hControls[kLevel], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    // The level comes from the key length alone.
    const int level = m_pRecord->dwKeyLength == 40    ? kRc4Bits40
                      : m_pRecord->dwKeyLength == 128 ? kRc4Bits128
                                                      : kNoEncryption;
    SendMessageW(m_hControls[kLevel], CB_SETCURSEL, static_cast<WPARAM>(level), 0);
    _ApplyLevel(level);

    for (Control edit : {kPermissionsPassword, kPermissionsConfirm, kOpenPassword, kOpenConfirm})
        SendMessageW(m_hControls[edit], EM_LIMITTEXT, kPasswordBytes, 0);
    // Each confirmation starts equal to its password.
    for (Control edit : {kPermissionsPassword, kPermissionsConfirm})
        SetAnsiText(m_hControls[edit], m_pRecord->szPermissionsPassword, std::size(m_pRecord->szPermissionsPassword),
                    kPasswordBytes);
    for (Control edit : {kOpenPassword, kOpenConfirm})
        SetAnsiText(m_hControls[edit], m_pRecord->szOpenPassword, std::size(m_pRecord->szOpenPassword), kPasswordBytes);

    _Check(kPermissions, m_pRecord->bPermissionsPassword == 1);
    _Enable(kPermissionsEntries, _Checked(kPermissions) && level != kNoEncryption);
    _PermissionsRule();
    _Check(kOpen, m_pRecord->bOpenPassword == 1);
    _Enable(kOpenEntries, _Checked(kOpen) && level != kNoEncryption);
}

bool CDlgSecuritySetting::_IsOneOf(HWND window, std::initializer_list<Control> controls) const
{
    for (Control control : controls)
    {
        if (window && window == m_hControls[control])
            return true;
    }
    return false;
}

void CDlgSecuritySetting::_ApplyLevel(int level)
{
    if (level == kNoEncryption)
    {
        // Check states and texts stay for when encryption comes back.
        for (int i = 0; i < kControlCount; ++i)
        {
            if (i != kLevel)
                EnableWindow(m_hControls[i], FALSE);
        }
        _Check(kEncryptAll, true);
        return;
    }
    _Enable({kOpenGroup, kOpen}, true);
    _OpenPasswordRule();
    _Enable({kPermissions}, true);
    _PermissionsRule();
    _Enable({kEncryptGroup, kEncryptAll}, true);
    _Check(kEncryptAll, true);
    _PermissionsRule();
}

void CDlgSecuritySetting::_OpenPasswordRule()
{
    _Enable(kOpenEntries, _Checked(kOpen) && _Level() != kNoEncryption);
}

// Enables the permission group for the level and reloads its check boxes
// from the stored permission word.
void CDlgSecuritySetting::_PermissionsRule()
{
    const int level = _Level();
    const DWORD p = m_pRecord->dwPermissions;
    if (!_Checked(kPermissions))
    {
        _Enable(kPermissionGroup, false);
        _Enable(kPermissionsEntries, false);
        return;
    }
    if (level == kNoEncryption)
    {
        _Enable(kPermissionsEntries, false);
        return;
    }
    const bool rc4Bits128 = level == kRc4Bits128;
    _Enable({kAllowLabel, kPrint}, true);
    _Enable({kPrintLow, kPrintHigh}, rc4Bits128 && (p & kAllowPrint));
    _Enable({kChange, kCopy}, true);
    _Enable({kAccessibility}, rc4Bits128);
    _Enable({kAnnotate}, true);
    _Enable({kFillForms, kAssemble}, rc4Bits128);

    _Check(kPrint, p & kAllowPrint);
    _PrintingRule();
    _Check(kChange, p & kAllowChange);
    _Check(kCopy, p & kAllowCopy);
    _CopyRule();
    _Check(kAnnotate, p & kAllowAnnotate);
    if (rc4Bits128)
    {
        _Check(kAccessibility, p & kAllowAccessibility);
        _Check(kFillForms, p & kAllowFillForms);
        _Check(kAssemble, p & kAllowAssemble);
    }
    _Enable(kPermissionsEntries, true);
}

// The two print resolutions follow "printing allowed": the 40-bit level
// knows only one, the 128-bit level shows the stored one.
void CDlgSecuritySetting::_PrintingRule()
{
    const int level = _Level();
    if (!_Checked(kPrint))
    {
        _Enable({kPrintLow, kPrintHigh}, false);
        return;
    }
    if (level == kRc4Bits40)
    {
        _Enable({kPrintHigh}, true);
        _Enable({kPrintLow}, false);
        _Check(kPrintLow, false);
        _Check(kPrintHigh, true);
    }
    else if (level == kRc4Bits128)
    {
        const bool high = (m_pRecord->dwPermissions & kAllowPrintHigh) != 0;
        _Enable({kPrintLow, kPrintHigh}, true);
        _Check(kPrintHigh, high);
        _Check(kPrintLow, !high);
    }
}

// At 40 bits copying also allows extraction for accessibility: the box shows it.
void CDlgSecuritySetting::_CopyRule()
{
    if (_Level() == kRc4Bits40)
        _Check(kAccessibility, _Checked(kCopy));
}

void CDlgSecuritySetting::_RecomputePermissions()
{
    DWORD granted = 0;
    for (const Grant& grant : kGrants)
    {
        if (_Checked(grant.control))
            granted |= grant.value;
    }
    m_pRecord->dwPermissions = PermissionWord(_Level(), granted);
}

void CDlgSecuritySetting::OnCommand(WORD controlId, WORD notifyCode, HWND control)
{
    switch (notifyCode)
    {
    case CBN_SELCHANGE:
        if (controlId == IDC_SECURITY_LEVEL && _Level() >= kNoEncryption)
            _ApplyLevel(_Level());
        MarkChanged();
        return;
    case BN_CLICKED:
        if (controlId == IDC_SECURITY_PRINT)
        {
            _PrintingRule();
            _RecomputePermissions();
        }
        else if (_IsOneOf(control, kPermissionChoices))
        {
            if (controlId == IDC_SECURITY_COPY)
                _CopyRule();
            _RecomputePermissions();
        }
        else if (controlId == IDC_SECURITY_OPEN)
            _OpenPasswordRule();
        else if (controlId == IDC_SECURITY_PERMISSIONS)
            _PermissionsRule();
        MarkChanged();
        return;
    case EN_UPDATE:
        // Typing a password keeps it within its field but changes nothing yet.
        for (Control edit : {kOpenPassword, kOpenConfirm, kPermissionsPassword, kPermissionsConfirm})
        {
            if (control == m_hControls[edit])
                LimitAnsiBytes(control, kPasswordBytes);
        }
        return;
    default:
        return;
    }
}

LRESULT CDlgSecuritySetting::OnQueryPages(WPARAM code, LPARAM data)
{
    PRESET_QUERY* query = AsPresetQuery(code, data);
    if (!query)
        return 0;
    if (query->op == kPresetRead)
    {
        query->security = true;
        query->encrypted = _Level() == kRc4Bits40 || _Level() == kRc4Bits128;
    }
    else if (query->op == kPresetShow)
    {
        query->security = true;
        if (query->encryptionOff)
        {
            SendMessageW(m_hControls[kLevel], CB_SETCURSEL, kNoEncryption, 0);
            _ApplyLevel(kNoEncryption);
        }
    }
    return 0;
}

int CDlgSecuritySetting::Validate(HWND hDlg)
{
    const int level = _Level();
    if (level < 0)
        return 0;
    if (level == kNoEncryption)
        return 1;
    const bool open = _Checked(kOpen);
    const bool permissions = _Checked(kPermissions);

    // The first failing condition decides the message.
    char openPassword[kPasswordBytes + 1] = "";
    UINT problem = 0;
    if (open)
        problem = CheckPassword(m_hControls[kOpenPassword], m_hControls[kOpenConfirm], openPassword,
                                IDS_EMPTY_OPEN_PASSWORD, IDS_OPEN_PASSWORD_MISMATCH);
    if (!problem && !open && !permissions)
        problem = IDS_NO_PASSWORD_CHOSEN;
    if (!problem && permissions)
    {
        char permissionsPassword[kPasswordBytes + 1] = "";
        problem = CheckPassword(m_hControls[kPermissionsPassword], m_hControls[kPermissionsConfirm],
                                permissionsPassword, IDS_EMPTY_PERMISSIONS_PASSWORD, IDS_PERMISSIONS_PASSWORD_MISMATCH);
        if (!problem && open && std::strcmp(openPassword, permissionsPassword) == 0)
            problem = IDS_SAME_PASSWORDS;
    }
    if (!problem)
        return 1;
    ShowMessage(hDlg, problem, IDS_CAPTION_ERROR, 0);
    return 0;
}

DWORD CDlgSecuritySetting::Apply()
{
    const int level = _Level();
    const bool encrypted = level == kRc4Bits40 || level == kRc4Bits128;
    m_pRecord->dwEncrypt = encrypted ? 2 : 1;
    m_pRecord->dwKeyLength = !encrypted ? 0 : level == kRc4Bits40 ? 40 : 128;
    if (m_pRecord->dwKeyLength == 0)
        return 0; // the stored passwords and their flags stay
    m_pRecord->bOpenPassword = _Checked(kOpen) ? 1 : 0;
    if (m_pRecord->bOpenPassword)
        GetAnsiText(m_hControls[kOpenPassword], m_pRecord->szOpenPassword, std::size(m_pRecord->szOpenPassword));
    m_pRecord->bPermissionsPassword = _Checked(kPermissions) ? 1 : 0;
    if (m_pRecord->bPermissionsPassword)
        GetAnsiText(m_hControls[kPermissionsPassword], m_pRecord->szPermissionsPassword,
                    std::size(m_pRecord->szPermissionsPassword));
    return 0;
}
