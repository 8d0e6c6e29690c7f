#include "watermark/CWatermarkLayout.h"

#include "core/Units.h"

#include <libmerrow/scoped.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <iterator>
#include <type_traits>

namespace
{
// The fitted-picture search: the first upper bound (times the area's larger
// side), the midpoint factor and the width tolerance in page pixels.
constexpr float kSearchFactor = 1.5f;
constexpr float kMidpoint = 0.5f;
constexpr float kTolerance = 0.01f;
// The fitted-text search runs over GDI font heights between this and 0.
constexpr int kLargestFontHeight = -1024;
constexpr double kPi = 3.14159265358979323846;
constexpr size_t kTextCapacity = std::extent_v<decltype(WATERMARK_ITEM::szText)>;

// The bounding box of a width x height rectangle turned by the drawing
// rotation of `angle` (360 - angle degrees, clockwise on the screen).
void RotatedBox(float width, float height, int angle, float* boxWidth, float* boxHeight)
{
    const double radians = (360 - angle) * kPi / 180;
    const double c = std::fabs(std::cos(radians)), s = std::fabs(std::sin(radians));
    *boxWidth = static_cast<float>(width * c + height * s);
    *boxHeight = static_cast<float>(width * s + height * c);
}

// Measures an item's text on the screen in fonts of several heights; the
// glyph indices are looked up once, in the first font.
class TextMeter
{
  public:
    explicit TextMeter(const WATERMARK_ITEM& item)
        : m_item(item), m_screen(GetDC(nullptr)), m_length(ItemTextLength(item)), m_glyphsReady(false)
    {
    }
    ~TextMeter()
    {
        if (m_screen)
            ReleaseDC(nullptr, m_screen);
    }
    TextMeter(const TextMeter&) = delete;
    TextMeter& operator=(const TextMeter&) = delete;

    bool Measure(int height, SIZE* extent)
    {
        ScopedGdiObject font(CreateItemFont(m_item, height, OUT_RASTER_PRECIS, PROOF_QUALITY));
        if (!m_screen || !font)
            return false;
        const HGDIOBJ previous = SelectObject(m_screen, font.Get());
        if (!m_glyphsReady)
            m_glyphsReady = GetGlyphIndicesW(m_screen, m_item.szText, m_length, m_glyphs, 0) != GDI_ERROR;
        const bool measured = m_glyphsReady && GetTextExtentPointI(m_screen, m_glyphs, m_length, extent);
        SelectObject(m_screen, previous);
        return measured;
    }

  private:
    const WATERMARK_ITEM& m_item;
    HDC m_screen;
    int m_length;
    bool m_glyphsReady;
    WORD m_glyphs[kTextCapacity];
};
} // namespace

int ItemTextLength(const WATERMARK_ITEM& item)
{
    return static_cast<int>(wcsnlen(item.szText, kTextCapacity));
}

HFONT CreateItemFont(const WATERMARK_ITEM& item, int height, BYTE precision, BYTE quality)
{
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWeight = (item.dwStyle & WATERMARK_STYLE_BOLD) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (item.dwStyle & WATERMARK_STYLE_ITALIC) ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = precision;
    font.lfQuality = quality;
    // The record's face need not be terminated within its field.
    const size_t length =
        std::min(wcsnlen(item.szFaceName, std::size(item.szFaceName)), std::size(font.lfFaceName) - 1);
    std::wmemcpy(font.lfFaceName, item.szFaceName, length);
    return CreateFontIndirectW(&font);
}

void CWatermarkLayout::Layout(WATERMARK_ITEM* item) const
{
    if (item->dwLayout == WATERMARK_LAYOUT_ANCHOR)
        Anchor(item);
    else if (item->dwKind == WATERMARK_KIND_TEXT)
        FitText(item);
    else
        FitPicture(item);
}

// The page minus the item's margins, in page pixels (sizes truncated);
// false when the margins leave nothing of the page.
bool CWatermarkLayout::_MarginArea(const WATERMARK_ITEM& item, float* left, float* top, int* width, int* height) const
{
    *left = MillimetresToPixels(static_cast<float>(item.nMargin[0]));
    *top = MillimetresToPixels(static_cast<float>(item.nMargin[1]));
    *width = static_cast<int>(m_fPageWidth - *left - MillimetresToPixels(static_cast<float>(item.nMargin[2])));
    *height = static_cast<int>(m_fPageHeight - *top - MillimetresToPixels(static_cast<float>(item.nMargin[3])));
    return *width > 0 && *height > 0;
}

int CWatermarkLayout::FitPicture(WATERMARK_ITEM* pItem) const
{
    pItem->fDrawWidth = pItem->fDrawHeight = 0;
    float left = 0, top = 0;
    int areaWidth = 0, areaHeight = 0;
    if (!_MarginArea(*pItem, &left, &top, &areaWidth, &areaHeight) || !pItem->pPicture)
        return 0;
    pItem->fCenterX = left + areaWidth / 2.0f;
    pItem->fCenterY = top + areaHeight / 2.0f;
    const float ratio = pItem->dwKeepAspect == 1 ? static_cast<float>(pItem->pPicture->GetWidth()) /
                                                       static_cast<float>(pItem->pPicture->GetHeight())
                                                 : static_cast<float>(areaWidth) / static_cast<float>(areaHeight);
    if (!(ratio > 0) || !std::isfinite(ratio))
        return 0; // a picture without pixels

    // Bisection on the width: the largest rectangle of this ratio whose
    // turned bounding box reaches the area's width or height.
    float lower = 0, upper = kSearchFactor * static_cast<float>(std::max(areaWidth, areaHeight));
    float width = (lower + upper) * kMidpoint;
    int tries = 0;
    while (upper - lower >= kTolerance)
    {
        ++tries;
        float boxWidth = 0, boxHeight = 0;
        RotatedBox(width, width / ratio, pItem->nAngle, &boxWidth, &boxHeight);
        if (static_cast<int>(boxWidth) == areaWidth || static_cast<int>(boxHeight) == areaHeight)
            break;
        if (boxWidth < areaWidth && boxHeight < areaHeight)
            lower = width;
        else
            upper = width;
        width = (lower + upper) * kMidpoint;
    }
    pItem->fDrawWidth = width;
    pItem->fDrawHeight = width / ratio;
    pItem->fDrawX = -pItem->fDrawWidth / 2;
    pItem->fDrawY = -pItem->fDrawHeight / 2;
    return tries;
}

int CWatermarkLayout::FitText(WATERMARK_ITEM* pItem, const TextMeasure* measure) const
{
    pItem->nFontHeight = 0;
    float left = 0, top = 0;
    int areaWidth = 0, areaHeight = 0;
    if (!_MarginArea(*pItem, &left, &top, &areaWidth, &areaHeight))
        return 0;

    // Bisection on the GDI font height: `fits` is the largest character
    // height known to fit (0 fits trivially), `tooLarge` the smallest known
    // not to; the interval shrinks each try until they are neighbours.
    TextMeter meter(*pItem);
    const TextMeasure screen = [&meter](int height, SIZE* extent) { return meter.Measure(height, extent); };
    const TextMeasure& measureText = measure ? *measure : screen;
    int fits = 0, tooLarge = kLargestFontHeight, height = kLargestFontHeight / 2, tries = 0;
    SIZE extent = {};
    for (;;)
    {
        ++tries;
        if (!measureText(height, &extent))
            break;
        float boxWidth = 0, boxHeight = 0;
        RotatedBox(static_cast<float>(extent.cx), static_cast<float>(extent.cy), pItem->nAngle, &boxWidth, &boxHeight);
        if (boxWidth < areaWidth && boxHeight < areaHeight)
            fits = height;
        else
            tooLarge = height;
        height = (fits + tooLarge) / 2;
        if (height == fits)
            break;
    }
    pItem->nFontHeight = fits;
    pItem->fCenterX = left + areaWidth / 2.0f;
    pItem->fCenterY = top + areaHeight / 2.0f;
    pItem->fDrawX = -extent.cx / 2.0f;
    pItem->fDrawY = -extent.cy / 2.0f;
    return tries;
}

void CWatermarkLayout::Anchor(WATERMARK_ITEM* pItem, const TextMeasure* measure) const
{
    pItem->fDrawWidth = pItem->fDrawHeight = 0;
    pItem->nFontHeight = 0;
    float left = 0, top = 0;
    int areaWidth = 0, areaHeight = 0;
    if (!_MarginArea(*pItem, &left, &top, &areaWidth, &areaHeight))
        return;

    float width = 0, height = 0;
    int fontHeight = 0;
    if (pItem->dwKind == WATERMARK_KIND_TEXT)
    {
        fontHeight = -PointsToPixels(pItem->nFontSize);
        SIZE extent = {};
        const bool measured =
            measure ? (*measure)(fontHeight, &extent) : TextMeter(*pItem).Measure(fontHeight, &extent);
        if (!measured)
            return;
        width = static_cast<float>(extent.cx);
        height = static_cast<float>(extent.cy);
    }
    else if (pItem->dwSizeUnit == WATERMARK_UNIT_MM)
    {
        width = MillimetresToPixels(pItem->fWidth);
        height = MillimetresToPixels(pItem->fHeight);
    }
    else
    {
        const float perUnit = pItem->dwSizeUnit == WATERMARK_UNIT_INCH ? kPixelsPerInch : 1.0f;
        width = pItem->fWidth * perUnit;
        height = pItem->fHeight * perUnit;
    }

    float boxWidth = 0, boxHeight = 0;
    RotatedBox(width, height, pItem->nAngle, &boxWidth, &boxHeight);
    const float hw = boxWidth / 2, hh = boxHeight / 2;
    const float right = MillimetresToPixels(static_cast<float>(pItem->nMargin[2]));
    const float bottom = MillimetresToPixels(static_cast<float>(pItem->nMargin[3]));
    const float W = m_fPageWidth, H = m_fPageHeight;
    struct Centre
    {
        float x, y;
    };
    const Centre byAnchor[] = {{0, 0},
                               {left + hw, top + hh},
                               {W / 2, top + hh},
                               {W - hw - right, top + hh},
                               {W - hw - right, H / 2},
                               {W - hw - right, H - hh - bottom},
                               {W / 2, H - hh - bottom},
                               {left + hw, H - hh - bottom},
                               {left + hw, H / 2},
                               {W / 2, H / 2}};
    const Centre centre = pItem->dwAnchor < std::size(byAnchor) ? byAnchor[pItem->dwAnchor] : byAnchor[0];
    pItem->fCenterX = centre.x;
    pItem->fCenterY = centre.y;
    pItem->fDrawX = -width / 2;
    pItem->fDrawY = -height / 2;
    if (pItem->dwKind == WATERMARK_KIND_TEXT)
    {
        pItem->nFontHeight = fontHeight;
    }
    else
    {
        pItem->fDrawWidth = width;
        pItem->fDrawHeight = height;
    }
}
