#include "watermark/CWatermarkPreview.h"

#include "core/ExceptionBarrier.h"

#include "core/Globals.h"

#include <libmerrow/scoped.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <iterator>
#include <memory>
#include <new>
#include <type_traits>

namespace
{
// The frame window keeps this many pixels free around the control.
constexpr int kFrameBorder = 20;
// The off-screen page holds about this many pixels whatever the page's shape.
constexpr double kBitmapArea = 0xAA800;
// The fitted-picture search: the first upper bound (times the area's larger
// side), the midpoint factor and the width tolerance in page pixels.
constexpr float kSearchFactor = 1.5f;
constexpr float kMidpoint = 0.5f;
constexpr float kTolerance = 0.01f;
// The fitted-text search runs over GDI font heights between this and 0.
constexpr int kLargestFontHeight = -1024;
// The outline pen is this many times thinner than the font size.
constexpr float kOutlineDivisor = 50;
constexpr double kPi = 3.14159265358979323846;
constexpr size_t kTextCapacity = std::extent_v<decltype(WATERMARK_ITEM::szText)>;

float MmToPixels(float mm)
{
    return mm / 10.0f / 2.54f * 96.0f;
}

// The bounding box of a width x height rectangle turned by the drawing
// rotation of `angle` (360 - angle degrees, clockwise on the screen).
void RotatedBox(float width, float height, int angle, float* boxWidth, float* boxHeight)
{
    const double radians = (360 - angle) * kPi / 180;
    const double c = std::fabs(std::cos(radians)), s = std::fabs(std::sin(radians));
    *boxWidth = static_cast<float>(width * c + height * s);
    *boxHeight = static_cast<float>(width * s + height * c);
}

int TextLength(const WATERMARK_ITEM& item)
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

// Measures an item's text on the screen in fonts of several heights; the
// glyph indices are looked up once, in the first font.
class TextMeter
{
  public:
    explicit TextMeter(const WATERMARK_ITEM& item)
        : m_item(item), m_screen(GetDC(nullptr)), m_length(TextLength(item)), m_glyphsReady(false)
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

// The text colour with the item's opacity as alpha (taken modulo 256).
Gdiplus::Color TextColor(const WATERMARK_ITEM& item)
{
    const int alpha = static_cast<int>(item.nOpacity / 100.0 * 255);
    return Gdiplus::Color(static_cast<BYTE>(alpha & 0xFF), GetRValue(item.crColor), GetGValue(item.crColor),
                          GetBValue(item.crColor));
}

// Builds a GDI+ figure list from the path GDI recorded on `hdc`.
bool ConvertGdiPath(HDC hdc, Gdiplus::GraphicsPath* path)
{
    const int count = GetPath(hdc, nullptr, nullptr, 0);
    if (count <= 0)
        return false;
    std::unique_ptr<POINT[]> points(new (std::nothrow) POINT[count]);
    std::unique_ptr<BYTE[]> types(new (std::nothrow) BYTE[count]);
    if (!points || !types || GetPath(hdc, points.get(), types.get(), count) != count)
        return false;
    auto at = [&](int i) {
        return Gdiplus::PointF(static_cast<Gdiplus::REAL>(points[i].x), static_cast<Gdiplus::REAL>(points[i].y));
    };
    Gdiplus::PointF current;
    for (int i = 0; i < count;)
    {
        const BYTE type = types[i] & ~PT_CLOSEFIGURE;
        int last = i;
        if (type == PT_MOVETO)
        {
            path->StartFigure();
        }
        else if (type == PT_LINETO)
        {
            path->AddLine(current, at(i));
        }
        else if (type == PT_BEZIERTO && i + 2 < count)
        {
            last = i + 2;
            path->AddBezier(current, at(i), at(i + 1), at(i + 2));
        }
        else
        {
            break; // a curve cut short ends the outline
        }
        if (type != PT_MOVETO && (types[last] & PT_CLOSEFIGURE))
            path->CloseFigure();
        current = at(last);
        i = last + 1;
    }
    path->CloseFigure();
    return true;
}
} // namespace

CWatermarkPreview::CWatermarkPreview() : m_items(8, 8), m_bHoldsGdiplus(StartGdiplus()) {}

CWatermarkPreview::~CWatermarkPreview()
{
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
    if (m_hFramePen)
        DeleteObject(m_hFramePen);
    if (m_bHoldsGdiplus)
        StopGdiplus();
}

DWORD CWatermarkPreview::Attach(HWND hFrame, HWND hControl, int pageWidth, int pageHeight)
{
    // Subclassing twice would make the control call itself for ever.
    const bool subclassed = m_pfnPrevProc && m_hControl == hControl;
    m_hFrame = hFrame;
    m_hControl = hControl;
    m_fPageWidth = pageWidth / 10.0f;
    m_fPageHeight = pageHeight / 10.0f;
    m_fPagePixelWidth = MmToPixels(m_fPageWidth);
    m_fPagePixelHeight = MmToPixels(m_fPageHeight);
    m_dwGuides = 0;
    SetWindowLongPtrW(hControl, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (!subclassed)
        m_pfnPrevProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(_WindowProc)));
    if (!m_hFramePen)
        m_hFramePen = CreatePen(PS_SOLID, 1, RGB(200, 200, 200));
    _SizeControlAndBitmap();
    return 0;
}

void CWatermarkPreview::_SizeControlAndBitmap()
{
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    m_fScale = 0;

    RECT client = {};
    GetClientRect(m_hFrame, &client);
    const int roomWidth = client.right - 2 * kFrameBorder, roomHeight = client.bottom - 2 * kFrameBorder;
    bool drawable = roomWidth > 0 && roomHeight > 0 && m_fPagePixelWidth > 0 && m_fPagePixelHeight > 0;
    int width = 0, height = 0;
    if (drawable)
    {
        const float scale = std::min(roomWidth / m_fPagePixelWidth, roomHeight / m_fPagePixelHeight);
        width = static_cast<int>(m_fPagePixelWidth * scale);
        height = static_cast<int>(m_fPagePixelHeight * scale);
    }
    else
    {
        // Nothing to scale: an empty page takes the room there is.
        const bool room = roomWidth > 0 && roomHeight > 0;
        width = room ? roomWidth : client.right;
        height = room ? roomHeight : client.bottom;
    }

    RECT frame = {};
    GetWindowRect(m_hFrame, &frame);
    POINT origin = {(frame.left + frame.right) / 2 - width / 2, (frame.top + frame.bottom) / 2 - height / 2};
    ScreenToClient(GetParent(m_hControl), &origin);
    SetWindowPos(m_hControl, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    if (drawable)
    {
        const double ratio = m_fPagePixelWidth / m_fPagePixelHeight;
        m_nBitmapHeight = static_cast<int>(std::sqrt(kBitmapArea / ratio));
        m_nBitmapWidth = static_cast<int>(m_nBitmapHeight * ratio);
        drawable = m_nBitmapWidth >= 1 && m_nBitmapHeight >= 1;
    }
    if (!drawable)
        m_nBitmapWidth = m_nBitmapHeight = 1; // a white page, nothing on it
    HDC screen = GetDC(nullptr);
    m_hBitmap = CreateCompatibleBitmap(screen, m_nBitmapWidth, m_nBitmapHeight);
    ReleaseDC(nullptr, screen);
    if (drawable && m_hBitmap)
        m_fScale = m_nBitmapWidth / m_fPagePixelWidth;
}

DWORD CWatermarkPreview::AddItem(WATERMARK_ITEM* pItem)
{
    m_items.Add(pItem);
    return 0;
}

void CWatermarkPreview::SwapItems(UINT a, UINT b)
{
    if (a >= m_items.GetCount() || b >= m_items.GetCount())
        return;
    std::swap(m_items.GetData()[a], m_items.GetData()[b]);
}

void CWatermarkPreview::SetGuides(DWORD show, int left, int top, int right, int bottom)
{
    m_dwGuides = show;
    m_nGuideMargin[0] = left;
    m_nGuideMargin[1] = top;
    m_nGuideMargin[2] = right;
    m_nGuideMargin[3] = bottom;
    if (m_hControl)
        InvalidateRect(m_hControl, nullptr, FALSE);
}

void CWatermarkPreview::Refresh()
{
    LayoutItems();
    if (m_hControl)
        InvalidateRect(m_hControl, nullptr, FALSE);
}

void CWatermarkPreview::LayoutItems()
{
    for (UINT i = 0; i < m_items.GetCount(); ++i)
    {
        auto* item = static_cast<WATERMARK_ITEM*>(m_items.GetAt(i));
        if (item->dwLayout == WATERMARK_LAYOUT_ANCHOR)
            _LayoutAnchored(item);
        else if (item->dwKind == WATERMARK_KIND_TEXT)
            _LayoutFittedText(item);
        else
            _LayoutFittedPicture(item);
    }
}

// The page minus the item's margins, in page pixels (sizes truncated);
// false when the margins leave nothing of the page.
bool CWatermarkPreview::_MarginArea(const WATERMARK_ITEM& item, float* left, float* top, int* width, int* height) const
{
    *left = MmToPixels(static_cast<float>(item.nMargin[0]));
    *top = MmToPixels(static_cast<float>(item.nMargin[1]));
    *width = static_cast<int>(m_fPagePixelWidth - *left - MmToPixels(static_cast<float>(item.nMargin[2])));
    *height = static_cast<int>(m_fPagePixelHeight - *top - MmToPixels(static_cast<float>(item.nMargin[3])));
    return *width > 0 && *height > 0;
}

int CWatermarkPreview::_LayoutFittedPicture(WATERMARK_ITEM* pItem) const
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

int CWatermarkPreview::_LayoutFittedText(WATERMARK_ITEM* pItem) const
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
    int fits = 0, tooLarge = kLargestFontHeight, height = kLargestFontHeight / 2, tries = 0;
    SIZE extent = {};
    for (;;)
    {
        ++tries;
        if (!meter.Measure(height, &extent))
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

void CWatermarkPreview::_LayoutAnchored(WATERMARK_ITEM* pItem) const
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
        fontHeight = -(pItem->nFontSize * 96 / 72);
        SIZE extent = {};
        if (!TextMeter(*pItem).Measure(fontHeight, &extent))
            return;
        width = static_cast<float>(extent.cx);
        height = static_cast<float>(extent.cy);
    }
    else if (pItem->dwSizeUnit == WATERMARK_UNIT_MM)
    {
        width = MmToPixels(pItem->fWidth);
        height = MmToPixels(pItem->fHeight);
    }
    else
    {
        const float perUnit = pItem->dwSizeUnit == WATERMARK_UNIT_INCH ? 96.0f : 1.0f;
        width = pItem->fWidth * perUnit;
        height = pItem->fHeight * perUnit;
    }

    float boxWidth = 0, boxHeight = 0;
    RotatedBox(width, height, pItem->nAngle, &boxWidth, &boxHeight);
    const float hw = boxWidth / 2, hh = boxHeight / 2;
    const float right = MmToPixels(static_cast<float>(pItem->nMargin[2]));
    const float bottom = MmToPixels(static_cast<float>(pItem->nMargin[3]));
    const float W = m_fPagePixelWidth, H = m_fPagePixelHeight;
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

void CWatermarkPreview::_PaintPage(HDC hdc) const
{
    const RECT page = {0, 0, m_nBitmapWidth, m_nBitmapHeight};
    FillRect(hdc, &page, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (m_fScale <= 0)
        return;
    for (UINT i = 0; i < m_items.GetCount(); ++i)
    {
        const auto* item = static_cast<const WATERMARK_ITEM*>(m_items.GetAt(i));
        if (item->dwEnabled == 0)
            continue;
        if (item->dwKind == WATERMARK_KIND_TEXT)
            _DrawText(hdc, *item);
        else
            _DrawPicture(hdc, *item);
    }
    if (m_dwGuides == 1)
        _DrawGuides(hdc);
}

namespace
{
// Moves the origin of `graphics` to the item's centre and turns it.
void PlaceItem(Gdiplus::Graphics* graphics, const WATERMARK_ITEM& item, float scale)
{
    graphics->TranslateTransform(item.fCenterX * scale, item.fCenterY * scale);
    if (item.nAngle != 0)
        graphics->RotateTransform(static_cast<Gdiplus::REAL>(360 - item.nAngle));
}
} // namespace

void CWatermarkPreview::_DrawPicture(HDC hdc, const WATERMARK_ITEM& item) const
{
    if (!item.pPicture || !(item.fDrawWidth > 0) || !(item.fDrawHeight > 0))
        return;
    Gdiplus::Graphics graphics(hdc);
    PlaceItem(&graphics, item, m_fScale);
    Gdiplus::ColorMatrix matrix = {};
    for (int i = 0; i < 5; ++i)
        matrix.m[i][i] = 1;
    matrix.m[3][3] = item.nOpacity / 100.0f;
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorMatrix(&matrix);
    if (item.dwColorKey == 1)
    {
        const Gdiplus::Color key(255, GetRValue(item.crKeyColor), GetGValue(item.crKeyColor),
                                 GetBValue(item.crKeyColor));
        attributes.SetColorKey(key, key);
    }
    const Gdiplus::RectF target(item.fDrawX * m_fScale, item.fDrawY * m_fScale, item.fDrawWidth * m_fScale,
                                item.fDrawHeight * m_fScale);
    graphics.DrawImage(item.pPicture, target, 0, 0, static_cast<Gdiplus::REAL>(item.pPicture->GetWidth()),
                       static_cast<Gdiplus::REAL>(item.pPicture->GetHeight()), Gdiplus::UnitPixel, &attributes);
}

void CWatermarkPreview::_DrawText(HDC hdc, const WATERMARK_ITEM& item) const
{
    const int height = static_cast<int>(item.nFontHeight * m_fScale);
    const int length = TextLength(item);
    if (height == 0 || length == 0)
        return; // no font height fitted, or nothing to write
    ScopedGdiObject font(CreateItemFont(item, height, OUT_DEFAULT_PRECIS, DEFAULT_QUALITY));
    if (!font)
        return;

    // GDI records the glyph outlines as a path; GDI+ fills it turned and
    // transparent, which GDI cannot.
    Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
    const HGDIOBJ previousFont = SelectObject(hdc, font.Get());
    const int previousMode = SetBkMode(hdc, TRANSPARENT);
    WORD glyphs[kTextCapacity];
    const bool recorded =
        GetGlyphIndicesW(hdc, item.szText, length, glyphs, 0) != GDI_ERROR && BeginPath(hdc) &&
        ExtTextOutW(hdc, static_cast<int>(item.fDrawX * m_fScale), static_cast<int>(item.fDrawY * m_fScale),
                    ETO_GLYPH_INDEX, nullptr, reinterpret_cast<const wchar_t*>(glyphs), length, nullptr) &&
        EndPath(hdc) && ConvertGdiPath(hdc, &path);
    AbortPath(hdc);
    SetBkMode(hdc, previousMode);
    SelectObject(hdc, previousFont);
    if (!recorded)
        return;

    Gdiplus::Graphics graphics(hdc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    PlaceItem(&graphics, item, m_fScale);
    Gdiplus::SolidBrush brush(TextColor(item));
    graphics.FillPath(&brush, &path);
    if (item.dwStyle & WATERMARK_STYLE_BOLD)
    {
        Gdiplus::Pen pen(&brush, item.nFontSize / kOutlineDivisor * m_fScale);
        graphics.DrawPath(&pen, &path);
    }
}

void CWatermarkPreview::_DrawGuides(HDC hdc) const
{
    ScopedGdiObject pen(CreatePen(PS_DASH, 1, RGB(0, 0, 0)));
    if (!pen)
        return;
    auto at = [this](float pixels) { return static_cast<int>(pixels * m_fScale + 0.5f); };
    const int left = at(MmToPixels(static_cast<float>(m_nGuideMargin[0])));
    const int top = at(MmToPixels(static_cast<float>(m_nGuideMargin[1])));
    const int right = at(m_fPagePixelWidth - MmToPixels(static_cast<float>(m_nGuideMargin[2])));
    const int bottom = at(m_fPagePixelHeight - MmToPixels(static_cast<float>(m_nGuideMargin[3])));
    const HGDIOBJ previous = SelectObject(hdc, pen.Get());
    for (const int y : {top, bottom})
    {
        MoveToEx(hdc, 0, y, nullptr);
        LineTo(hdc, m_nBitmapWidth, y);
    }
    for (const int x : {left, right})
    {
        MoveToEx(hdc, x, 0, nullptr);
        LineTo(hdc, x, m_nBitmapHeight);
    }
    SelectObject(hdc, previous);
}

void CWatermarkPreview::_OnPaint()
{
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(m_hControl, &paint);
    if (!hdc)
        return;
    RECT client = {};
    GetClientRect(m_hControl, &client);
    HDC memory = m_hBitmap ? CreateCompatibleDC(hdc) : nullptr;
    if (memory)
    {
        const HGDIOBJ previous = SelectObject(memory, m_hBitmap);
        _PaintPage(memory);
        SetStretchBltMode(hdc, HALFTONE);
        SetBrushOrgEx(hdc, 0, 0, nullptr);
        StretchBlt(hdc, 0, 0, client.right, client.bottom, memory, 0, 0, m_nBitmapWidth, m_nBitmapHeight, SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    else
    {
        FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    const HGDIOBJ previousPen = SelectObject(hdc, m_hFramePen);
    MoveToEx(hdc, 0, 0, nullptr);
    LineTo(hdc, client.right - 1, 0);
    LineTo(hdc, client.right - 1, client.bottom - 1);
    LineTo(hdc, 0, client.bottom - 1);
    LineTo(hdc, 0, 0);
    SelectObject(hdc, previousPen);
    EndPaint(m_hControl, &paint);
}

LRESULT CALLBACK CWatermarkPreview::_WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ExceptionBarrier(L"CWatermarkPreview::_WindowProc()", LRESULT(0), [&]() -> LRESULT {
        auto* self = reinterpret_cast<CWatermarkPreview*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (!self)
            return DefWindowProcW(hWnd, message, wParam, lParam);
        switch (message)
        {
        case WM_PAINT:
            self->_OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 0; // the page covers the whole control
        default:
            return CallWindowProcW(self->m_pfnPrevProc, hWnd, message, wParam, lParam);
        }
    });
}
