// The information page: the installed version, a picture, the maker's
// address as a clickable link, the support page and the update check.
// It edits nothing in the settings record.
#pragma once

#include "sheet/CDlgPropSheetPage.h"

#include <libmerrow/scoped.h>

// The maker's web server: the support page and the update answer live there.
#define TARVIK_WEB_SERVER L"http://www.kastrel.com"
#define TARVIK_SUPPORT_URL TARVIK_WEB_SERVER L"/qna.do?cmd=insert"
#define TARVIK_UPDATE_URL TARVIK_WEB_SERVER L"/tarvikpro7/checkupdate.html"

class CDlgInfoSetting : public CDlgPropSheetPage
{
  public:
    CDlgInfoSetting() = default;

    DWORD Apply() override { return 0; }
    int Validate(HWND /*hDlg*/) override { return 1; }

    // Asks the maker's server whether a newer version exists and tells the
    // user; offers to open the download address when there is one.
    void CheckForUpdate();
    // The same check against another update address (the tests' server).
    void CheckForUpdateAt(const wchar_t* updateUrl);

    HWND m_hLink = nullptr;
    HFONT m_hDialogFont = nullptr;
    ScopedGdiObject m_hUnderlineFont;     // the link's font, made from the dialog's
    ScopedGdiObject m_hLargePicture;      // the picture for 144 DPI and up, while the page shows it
    HGDIOBJ m_hTemplatePicture = nullptr; // the one the template gave, given back when the page goes
    WORD m_wMajor1 = 0;
    WORD m_wMajor2 = 0;
    WORD m_wMinor1 = 0;
    WORD m_wMinor2 = 0;
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
