// Where the watermark preview puts each item on its page: a picture or a
// text fitted into the page's margin area, or placed at its own size at one
// of nine anchors. Sizes are page pixels at 96 per inch; texts are measured
// in GDI fonts of the item's face. The rules need no window: the preview
// calls them before it paints.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <functional>

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
// own. The fields marked "layout" are written by CWatermarkLayout.
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

// Measures an item's text in the GDI font of character height `fontHeight`
// (negative); false when it cannot.
using TextMeasure = std::function<bool(int fontHeight, SIZE* extent)>;

// The GDI font of an item at `height` page pixels (precision and quality as
// CreateFontIndirectW takes them); the caller deletes it.
HFONT CreateItemFont(const WATERMARK_ITEM& item, int height, BYTE precision, BYTE quality);
// The length of an item's text within its field.
int ItemTextLength(const WATERMARK_ITEM& item);

class CWatermarkLayout
{
  public:
    // A page of pageWidth x pageHeight page pixels.
    CWatermarkLayout(float pageWidth, float pageHeight) : m_fPageWidth(pageWidth), m_fPageHeight(pageHeight) {}

    // Writes the layout fields of one item by its kind and layout; texts are
    // measured on the screen.
    void Layout(WATERMARK_ITEM* item) const;

    // The layouts one by one. Without `measure`, texts are measured on the
    // screen. The fitted layouts return how many sizes their search tried.
    int FitPicture(WATERMARK_ITEM* item) const;
    int FitText(WATERMARK_ITEM* item, const TextMeasure* measure = nullptr) const;
    void Anchor(WATERMARK_ITEM* item, const TextMeasure* measure = nullptr) const;

  private:
    // The page minus the item's margins (sizes truncated); false when the
    // margins leave nothing of the page.
    bool _MarginArea(const WATERMARK_ITEM& item, float* left, float* top, int* width, int* height) const;

    float m_fPageWidth;
    float m_fPageHeight;
};
