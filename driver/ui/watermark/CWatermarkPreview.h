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

#include <windows.h>

#include <gdiplus.h>

// WATERMARK_ITEM::dwKind
#define WATERMARK_KIND_TEXT 1 // any other value: a picture
// WATERMARK_ITEM::dwLayout
#define WATERMARK_LAYOUT_ANCHOR 1 // any other value: fitted into the margin area, centred
// WATERMARK_ITEM::dwStyle
#define WATERMARK_STYLE_BOLD 0x1 // bold, and outlined with a pen of the text's colour
#define WATERMARK_STYLE_ITALIC 0x2
// WATERMARK_ITEM::dwSizeUnit
#define WATERMARK_UNIT_MM 0
#define WATERMARK_UNIT_INCH 1
#define WATERMARK_UNIT_PIXEL 2

// One watermark. An owner may put it at the start of a larger record of its
// own. The fields marked "layout" are written by CWatermarkPreview.
struct WATERMARK_ITEM
{
    DWORD dwEnabled;     // 0: not drawn
    DWORD dwKind;        // WATERMARK_KIND_TEXT or a picture
    int nAngle;          // degrees, counter-clockwise on the page
    int nOpacity;        // percent, 0 to 100
    DWORD dwLayout;      // WATERMARK_LAYOUT_ANCHOR or fitted
    int nMargin[4];      // left, top, right, bottom, millimetres
    DWORD dwAnchor;      // 1 top left, 2 top centre, 3 top right, 4 middle right, 5 bottom right,
                         // 6 bottom centre, 7 bottom left, 8 middle left, 9 centre
    float fDrawX;        // layout: top-left of the unrotated item relative to its centre,
    float fDrawY;        //   page pixels
    float fDrawWidth;    // layout (pictures): unrotated size, page pixels
    float fDrawHeight;   //
    float fCenterX;      // layout: the item's centre on the page, page pixels
    float fCenterY;      //
    wchar_t szText[128]; // the text (need not be terminated within the field)
    wchar_t szFaceName[32];
    int nFontSize;            // points; also sets the outline pen's width
    DWORD dwStyle;            // WATERMARK_STYLE_...
    COLORREF crColor;         // text colour
    int nFontHeight;          // layout: GDI font height (negative: character height), page pixels; 0 draws nothing
    Gdiplus::Image* pPicture; // the owner's; null: nothing to draw
    DWORD dwSizeUnit;         // WATERMARK_UNIT_... of fWidth and fHeight
    float fWidth;             // picture size at an anchor
    float fHeight;            //
    DWORD dwKeepAspect;       // 1: a fitted picture keeps its own width-to-height ratio
    DWORD dwColorKey;         // 1: crKeyColor is drawn transparent
    COLORREF crKeyColor;
};

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

    // Internal steps, open to the benchmark. The fitted layouts return how
    // many sizes their search tried.
    int _LayoutFittedPicture(WATERMARK_ITEM* pItem) const;
    int _LayoutFittedText(WATERMARK_ITEM* pItem) const;
    void _LayoutAnchored(WATERMARK_ITEM* pItem) const;
    // Paints the page (white, items, guides) into a DC that holds m_hBitmap.
    void _PaintPage(HDC hdc) const;

  private:
    bool _MarginArea(const WATERMARK_ITEM& item, float* left, float* top, int* width, int* height) const;
    void _SizeControlAndBitmap();
    void _DrawPicture(HDC hdc, const WATERMARK_ITEM& item) const;
    void _DrawText(HDC hdc, const WATERMARK_ITEM& item) const;
    void _DrawGuides(HDC hdc) const;
    void _OnPaint();
    static LRESULT CALLBACK _WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    bool m_bHoldsGdiplus; // this control's own count of GDI+
};
