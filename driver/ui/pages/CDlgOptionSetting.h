// The option page: the option flag word of the settings record, through six
// check boxes and two groups of radio buttons. The document sheet does not
// include it; a sheet that wants it hosts it like any other page. Only the
// tests and the main job reach it today.
#pragma once

#include "sheet/CDlgPropSheetPage.h"

class CDlgOptionSetting : public CDlgPropSheetPage
{
  public:
    DWORD Apply() override;
    int Validate(HWND /*hDlg*/) override { return 1; }

    HWND m_hOpenAfterSave = nullptr;  // 1201, bit 31
    HWND m_hCompressText = nullptr;   // 1202, bit 30
    HWND m_hAutoRotate = nullptr;     // 1203, bit 29
    HWND m_hKeepLinks = nullptr;      // 1204, bit 26
    HWND m_hRotateEach = nullptr;     // 1227, bit 28 (else bit 27)
    HWND m_hRotateAll = nullptr;      // 1228
    HWND m_hBookmarks = nullptr;      // 1229, bit 25
    HWND m_hOpeningView = nullptr;    // 1220, bit 24
    HWND m_hViewPages = nullptr;      // 1222, bits 23 and 22
    HWND m_hViewBookmarks = nullptr;  // 1223, bit 23
    HWND m_hViewThumbnails = nullptr; // 1224, bit 22

  protected:
    void OnInitDialog() override;
    void OnCommand(WORD controlId, WORD notifyCode, HWND control) override;

  private:
    void _OpeningViewRule();
    void _AutoRotateRule();
};
