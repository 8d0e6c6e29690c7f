// A modal dialog that shows the watermark preview with three sample items:
// a diagonal text fitted into the page, a stamp picture in the bottom right
// corner whose background colour is keyed out, and a bold outlined text at
// the top. The user turns the page between portrait and landscape and shows
// or hides the margin guides. No page of the sheet opens it: only the tests
// and the main job reach it today.
#pragma once

#include "sheet/CModalDialog.h"
#include "watermark/CWatermarkPreview.h"

// DoModal (the resource module must be loaded) gives IDOK or IDCANCEL.
class CDlgWatermarkPreview : public CModalDialog
{
  public:
    CDlgWatermarkPreview();
    ~CDlgWatermarkPreview() override;

    CWatermarkPreview m_preview; // declared first: it holds GDI+ while the stamp lives
    WATERMARK_ITEM m_items[3] = {};
    Gdiplus::Bitmap* m_pStamp = nullptr;
    bool m_bLandscape = false;

  private:
    BOOL OnInitDialog() override;
    void OnCommand(WORD controlId, WORD notifyCode) override;
    void _ShowPage();
    void _ShowGuides();
};
