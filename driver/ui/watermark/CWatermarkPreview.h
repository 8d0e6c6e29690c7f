// A miniature page with watermark texts and pictures on it, each rotated,
// made partly transparent and either fitted into the page's margin area or
// placed at one of nine anchors.
//
// The control takes over a static control of a dialog (it subclasses the
// window), sizes it to the page's shape inside a frame window and paints
// into an off-screen bitmap of fixed area that it stretches onto the
// control. Texts are drawn as filled glyph outlines (GDI gives the outlines,
// GDI+ fills them transformed and transparent); pictures are GDI+ images.
//
// The owner keeps the item records and their pictures alive while the
// control lives, and calls Refresh after changing any of them.
#pragma once

#include "core/CPtrArray.h"
#include "watermark/CWatermarkLayout.h"

#include <windows.h>

#include <gdiplus.h>

class CWatermarkPreview
{
  public:
    CWatermarkPreview();
    virtual ~CWatermarkPreview();
    CWatermarkPreview(const CWatermarkPreview&) = delete;
    CWatermarkPreview& operator=(const CWatermarkPreview&) = delete;

    // Takes over `hControl` and shows a page of pageWidth x pageHeight
    // tenths of a millimetre, scaled and centred in `hFrame`. Attaching the
    // same control again (another page size) keeps the items and turns the
    // guides off. The control must not outlive the object: its window
    // procedure is not given back. Returns 0.
    DWORD Attach(HWND hFrame, HWND hControl, int pageWidth, int pageHeight);
    // Appends an item; it is drawn above the ones before it. Returns 0.
    DWORD AddItem(WATERMARK_ITEM* pItem);
    // Exchanges two items' places in the drawing order.
    void SwapItems(UINT a, UINT b);
    // Computes the layout fields of every item.
    void LayoutItems();
    // LayoutItems, then repaints the control.
    void Refresh();
    // Dashed margin guides (millimetres), drawn when `show` is 1.
    void SetGuides(DWORD show, int left, int top, int right, int bottom);

    HWND m_hFrame = nullptr;
    HWND m_hControl = nullptr;
    float m_fPageWidth = 0; // millimetres
    float m_fPageHeight = 0;
    float m_fPagePixelWidth = 0; // page pixels, 96 per inch
    float m_fPagePixelHeight = 0;
    float m_fScale = 0; // bitmap pixels per page pixel; 0 while the page cannot be drawn
    int m_nBitmapWidth = 0;
    int m_nBitmapHeight = 0;
    CPtrArray m_items; // WATERMARK_ITEM*, the owner's
    DWORD m_dwGuides = 0;
    int m_nGuideMargin[4] = {};
    HBITMAP m_hBitmap = nullptr;
    HPEN m_hFramePen = nullptr;
    WNDPROC m_pfnPrevProc = nullptr;

    // Paints the page (white, items, guides) into a DC that holds m_hBitmap.
    void PaintPage(HDC hdc) const;

  private:
    void _SizeControlAndBitmap();
    void _DrawPicture(HDC hdc, const WATERMARK_ITEM& item) const;
    void _DrawText(HDC hdc, const WATERMARK_ITEM& item) const;
    void _DrawGuides(HDC hdc) const;
    void _OnPaint();
    static LRESULT CALLBACK _WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    bool m_bHoldsGdiplus; // this control's own count of GDI+
};
