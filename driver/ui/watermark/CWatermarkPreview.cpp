#include "watermark/CWatermarkPreview.h"

#include "core/ExceptionBarrier.h"

#include "core/Globals.h"
#include "core/Units.h"

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
// The outline pen is this many times thinner than the font size.
constexpr float kOutlineDivisor = 50;
constexpr size_t kTextCapacity = std::extent_v<decltype(WATERMARK_ITEM::szText)>;

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
    m_fPagePixelWidth = MillimetresToPixels(m_fPageWidth);
    m_fPagePixelHeight = MillimetresToPixels(m_fPageHeight);
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
    const CWatermarkLayout layout(m_fPagePixelWidth, m_fPagePixelHeight);
    for (UINT i = 0; i < m_items.GetCount(); ++i)
        layout.Layout(static_cast<WATERMARK_ITEM*>(m_items.GetAt(i)));
}

void CWatermarkPreview::PaintPage(HDC hdc) const
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
    const int length = ItemTextLength(item);
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
    const int left = at(MillimetresToPixels(static_cast<float>(m_nGuideMargin[0])));
    const int top = at(MillimetresToPixels(static_cast<float>(m_nGuideMargin[1])));
    const int right = at(m_fPagePixelWidth - MillimetresToPixels(static_cast<float>(m_nGuideMargin[2])));
    const int bottom = at(m_fPagePixelHeight - MillimetresToPixels(static_cast<float>(m_nGuideMargin[3])));
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
        PaintPage(memory);
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
