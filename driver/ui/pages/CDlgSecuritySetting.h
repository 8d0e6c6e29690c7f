// The security page: whether the PDF file is encrypted, with which RC4 key
// length, with which passwords, and which permissions a reader gets. The
// permissions are kept as the permission word P of the PDF standard security
// handler and rewritten on every click; the passwords reach the record only
// at Apply, and the page cannot be left while they do not agree.
#pragma once

#include "presets/PresetQuery.h"
#include "sheet/CDlgPropSheetPage.h"

#include <initializer_list>

class CDlgSecuritySetting : public CDlgPropSheetPage
{
  public:
    // The controls, in the order of m_hControls. The enabling rules name the
    // controls they switch; nothing depends on this order.
    enum Control
    {
        kLevel,
        kOpenGroup,
        kOpen,
        kOpenPasswordLabel,
        kOpenPassword,
        kOpenConfirmLabel,
        kOpenConfirm,
        kPermissions,
        kPermissionsPasswordLabel,
        kPermissionsPassword,
        kPermissionsConfirmLabel,
        kPermissionsConfirm,
        kEncryptGroup,
        kEncryptAll,
        kAllowLabel,
        kPrint,
        kPrintLow,
        kPrintHigh,
        kChange,
        kCopy,
        kAccessibility,
        kAnnotate,
        kFillForms,
        kAssemble,
        kControlCount
    };

    // Positions of the level list.
    enum Level
    {
        kNoEncryption = 0,
        kRc4Bits40 = 1,
        kRc4Bits128 = 2
    };

    // The longest password in bytes of the ANSI code page (its field holds a NUL more).
    static constexpr int kPasswordBytes = 32;

    DWORD Apply() override;
    int Validate(HWND hDlg) override;

    // The permission word for the level position `level` when the permission
    // controls whose P values are in `granted` are checked: the 40-bit level
    // knows only 4, 8, 16 and 32; the 128-bit level adds 256, 512, 1024 and
    // 2048; without encryption no permission is granted.
    static DWORD PermissionWord(int level, DWORD granted);

    HWND m_hControls[kControlCount] = {};

  protected:
    void OnInitDialog() override;
    void OnCommand(WORD controlId, WORD notifyCode, HWND control) override;
    bool HandlesKillActive() const override { return true; }
    // A preset that needs encryption off turns the level to none.
    LRESULT OnQueryPages(WPARAM code, LPARAM data) override;

  private:
    int _Level() const;
    bool _Checked(Control control) const;
    void _Check(Control control, bool checked);
    void _Enable(std::initializer_list<Control> controls, bool enabled);
    bool _IsOneOf(HWND window, std::initializer_list<Control> controls) const;
    void _ApplyLevel(int level);
    void _OpenPasswordRule();
    void _PermissionsRule();
    void _PrintingRule();
    void _CopyRule();
    void _RecomputePermissions();
};
