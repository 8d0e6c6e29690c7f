// The information page: the installed version, a picture, the maker's
// address as a clickable link, the support page and the update check.
// It edits nothing in the settings record.
#pragma once

#include "sheet/CDlgPropSheetPage.h"
#include "update/CheckForUpdate.h"

#include <libmerrow/scoped.h>

#define TARVIK_SUPPORT_URL TARVIK_WEB_SERVER L"/qna.do?cmd=insert"

class CDlgInfoSetting : public CDlgPropSheetPage
{
  public:
    CDlgInfoSetting() = default;

    DWORD Apply() override { return 0; }
    int Validate(HWND /*hDlg*/) override { return 1; }

    // Tells the user what an update check found, in exactly one message
    // box over `owner`; the offer of a newer version opens its download
    // address when the user chooses OK.
    static void ShowUpdateResult(HWND owner, const UpdateCheckResult& result);

    HWND m_hLink = nullptr;
    HFONT m_hDialogFont = nullptr;
    ScopedGdiObject m_hUnderlineFont;     // the link's font, made from the dialog's
    ScopedGdiObject m_hLargePicture;      // the picture for 144 DPI and up, while the page shows it
    HGDIOBJ m_hTemplatePicture = nullptr; // the one the template gave, given back when the page goes
    WORD m_wVersion[4] = {};              // this module's: major, minor, build, revision
    HCURSOR m_hHandCursor = nullptr;
    HCURSOR m_hArrowCursor = nullptr;

  protected:
    void OnInitDialog() override;
    void OnCommand(WORD controlId, WORD notifyCode, HWND control) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    bool _CursorOverLink() const;
    void _PlacePicture();
    void _UnderlineLink();
    void _ShowVersion();
};
