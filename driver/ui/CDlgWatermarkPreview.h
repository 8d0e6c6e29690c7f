// A modal dialog that shows the watermark preview with three sample items:
// a diagonal text fitted into the page, a stamp picture in the bottom right
// corner whose background colour is keyed out, and a bold outlined text at
// the top. The user turns the page between portrait and landscape and shows
// or hides the margin guides.
#pragma once

#include "CWatermarkPreview.h"

class CDlgWatermarkPreview
{
  public:
    CDlgWatermarkPreview();
    virtual ~CDlgWatermarkPreview();
    CDlgWatermarkPreview(const CDlgWatermarkPreview&) = delete;
    CDlgWatermarkPreview& operator=(const CDlgWatermarkPreview&) = delete;

    // Shows the dialog (template of the resource module, which must be
    // loaded). Returns the DialogBoxParamW result.
    INT_PTR DoModal(HWND hOwner);

    HWND m_hWnd = nullptr;
    CWatermarkPreview m_preview; // declared first: it holds GDI+ while the stamp lives
    WATERMARK_ITEM m_items[3] = {};
    Gdiplus::Bitmap* m_pStamp = nullptr;
    bool m_bLandscape = false;

  private:
    static INT_PTR CALLBACK _DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
    void _OnInitDialog();
    void _OnCommand(WORD controlId, WORD notifyCode);
    void _ShowPage();
    void _ShowGuides();
};
