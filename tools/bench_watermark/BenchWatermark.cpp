// Times the watermark preview under Wine's GDI and GDI+:
//  - a repaint of the control (the page painted into the off-screen bitmap
//    and stretched onto the control; the layout is not part of it) with 0
//    to 20 items at the size of the preview dialog's frame, and the page
//    painting alone for each item on its own;
//  - the same repaint with ten items at three window sizes;
//  - the layout of ten items (the fitted searches create fonts);
//  - the most sizes each fitted search tries over a sweep of page sizes,
//    angles, margins and text lengths, against the bound of a bisection.
//
// Usage: bench_watermark [rounds]   (default 15)
#include "BenchClock.h"
#include "watermark/CWatermarkPreview.h"
#include "core/Globals.h"
#include "resource.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace
{
// Milliseconds per call: each round runs `work` for about 100 ms; the
// median over the rounds is given.
double MsPerCall(int rounds, const std::function<void()>& work)
{
    std::vector<double> samples;
    for (int round = 0; round < rounds; ++round)
    {
        const double start = Now();
        int calls = 0;
        while (Now() - start < 0.1)
        {
            work();
            ++calls;
        }
        samples.push_back((Now() - start) * 1000 / calls);
    }
    return Median(samples);
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The client size of the preview dialog's frame, as its template lays it out.
SIZE DialogFrameSize()
{
    SIZE size = {300, 330};
    HWND dialog = CreateDialogParamW(g_hResModule, MAKEINTRESOURCEW(IDD_WATERMARK_PREVIEW), nullptr, NoDialogProc, 0);
    RECT frame;
    if (dialog && GetClientRect(GetDlgItem(dialog, IDC_WATERMARK_FRAME), &frame))
        size = {frame.right, frame.bottom};
    if (dialog)
        DestroyWindow(dialog);
    return size;
}

// A visible frame window with a static control inside, like the dialog's.
struct PreviewWindow
{
    PreviewWindow(int width, int height)
        : frame(CreateWindowExW(WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                                nullptr, nullptr, nullptr)),
          control(
              CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, frame, nullptr, nullptr, nullptr))
    {
    }
    ~PreviewWindow() { DestroyWindow(frame); }
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;
    HWND frame;
    HWND control;
};

// A 256 x 256 picture: a gradient with a disc of the key colour.
Gdiplus::Bitmap* MakePicture(COLORREF key)
{
    auto* picture = new Gdiplus::Bitmap(256, 256, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(picture);
    Gdiplus::LinearGradientBrush gradient(Gdiplus::Point(0, 0), Gdiplus::Point(256, 256),
                                          Gdiplus::Color(255, 30, 90, 200), Gdiplus::Color(255, 240, 200, 40));
    graphics.FillRectangle(&gradient, 0, 0, 256, 256);
    Gdiplus::SolidBrush disc(Gdiplus::Color(255, GetRValue(key), GetGValue(key), GetBValue(key)));
    graphics.FillEllipse(&disc, 64, 64, 128, 128);
    return picture;
}

// A text (when `text` is given) or the picture; `size` is the font size in
// points or the picture's side in millimetres.
WATERMARK_ITEM Item(Gdiplus::Image* picture, const wchar_t* text, DWORD layout, int angle, int opacity, DWORD anchor,
                    int size)
{
    WATERMARK_ITEM item = {};
    item.dwEnabled = 1;
    item.dwKind = text ? WATERMARK_KIND_TEXT : 0;
    item.dwLayout = layout;
    item.nAngle = angle;
    item.nOpacity = opacity;
    std::fill(std::begin(item.nMargin), std::end(item.nMargin), 15);
    item.dwAnchor = anchor;
    lstrcpynW(item.szText, text ? text : L"", 128);
    lstrcpynW(item.szFaceName, L"Tahoma", 32);
    item.nFontSize = size;
    item.crColor = RGB(200, 0, 0);
    item.pPicture = picture;
    item.fWidth = item.fHeight = static_cast<float>(size);
    item.dwKeepAspect = 1;
    item.crKeyColor = RGB(255, 0, 255);
    return item;
}

// Ten items as an owner might stack them: five texts and five pictures,
// fitted and anchored, turned and straight, bold, italic and keyed.
std::vector<WATERMARK_ITEM> TenItems(Gdiplus::Image* picture)
{
    const DWORD fit = 0, anchor = WATERMARK_LAYOUT_ANCHOR;
    std::vector<WATERMARK_ITEM> items = {Item(nullptr, L"CONFIDENTIAL", fit, 45, 50, 0, 0),
                                         Item(picture, nullptr, fit, 0, 25, 0, 0),
                                         Item(nullptr, L"DRAFT", anchor, 0, 70, 2, 60),
                                         Item(picture, nullptr, anchor, 15, 85, 5, 40),
                                         Item(nullptr, L"Internal use only - do not distribute", fit, 0, 30, 0, 0),
                                         Item(picture, nullptr, anchor, 0, 60, 1, 25),
                                         Item(nullptr, L"Page 1 of 1", anchor, 0, 100, 6, 12),
                                         Item(picture, nullptr, fit, 30, 20, 0, 0),
                                         Item(nullptr, L"COPY", fit, 90, 20, 0, 200),
                                         Item(picture, nullptr, anchor, 60, 50, 9, 50)};
    items[2].dwStyle = items[8].dwStyle = WATERMARK_STYLE_BOLD;
    items[4].dwStyle = WATERMARK_STYLE_ITALIC;
    items[3].dwColorKey = items[7].dwColorKey = items[9].dwColorKey = 1;
    return items;
}

void Attach(CWatermarkPreview* preview, const PreviewWindow& window, std::vector<WATERMARK_ITEM>* items, size_t count)
{
    preview->Attach(window.frame, window.control, 2100, 2970);
    for (size_t i = 0; i < count; ++i)
        preview->AddItem(&(*items)[i % items->size()]);
    preview->LayoutItems();
}

double MsPerRepaint(HWND control, int rounds)
{
    return MsPerCall(rounds, [control] { RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
}

double MsPerPagePaint(const CWatermarkPreview& preview, int rounds)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ previous = SelectObject(memory, preview.m_hBitmap);
    const double ms = MsPerCall(rounds, [&] { preview.PaintPage(memory); });
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ms;
}

// The most tries of each fitted search over pages from A5 to A0 (both
// ways round), a strip, every 15 degrees, two margins and four text lengths.
void SweepSearches(SIZE frame, Gdiplus::Image* picture)
{
    const SIZE pages[] = {{1480, 2100}, {2100, 2970}, {8410, 11890}, {2970, 2100}, {11890, 8410}, {2100, 30000}};
    const int lengths[] = {1, 12, 40, 127};
    int mostTextTries = 0, mostPictureTries = 0, items = 0;
    float largestSide = 0;
    for (const SIZE& page : pages)
    {
        CWatermarkPreview preview; // outlives its window
        const PreviewWindow window(frame.cx, frame.cy);
        preview.Attach(window.frame, window.control, page.cx, page.cy);
        largestSide = std::max({largestSide, preview.m_fPagePixelWidth, preview.m_fPagePixelHeight});
        const CWatermarkLayout layout(preview.m_fPagePixelWidth, preview.m_fPagePixelHeight);
        for (int angle = 0; angle < 360; angle += 15)
        {
            for (const int margin : {10, 50})
            {
                WATERMARK_ITEM item = Item(picture, nullptr, 0, angle, 50, 0, 0);
                std::fill(std::begin(item.nMargin), std::end(item.nMargin), margin);
                for (const DWORD keep : {0u, 1u})
                {
                    item.dwKeepAspect = keep;
                    mostPictureTries = std::max(mostPictureTries, layout.FitPicture(&item));
                }
                for (const int length : lengths)
                {
                    WATERMARK_ITEM text =
                        Item(nullptr, std::wstring(static_cast<size_t>(length), L'W').c_str(), 0, angle, 50, 0, 0);
                    std::fill(std::begin(text.nMargin), std::end(text.nMargin), margin);
                    mostTextTries = std::max(mostTextTries, layout.FitText(&text));
                    ++items;
                }
            }
        }
    }
    const int pictureBound = static_cast<int>(std::ceil(std::log2(1.5 * largestSide / 0.01))) + 1;
    std::printf("\nFitted searches over %d text and %d picture layouts:\n", items, items / 2);
    std::printf("  text: at most %d font heights tried (bisection of 1024 heights: 10)\n", mostTextTries);
    std::printf("  picture: at most %d widths tried (bound for a %.0f-pixel page side: %d)\n", mostPictureTries,
                largestSide, pictureBound);
}
} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    if (!EnsureResourceModule())
        return 1;

    CWatermarkPreview keeper; // holds GDI+ for the pictures
    Gdiplus::Bitmap* picture = MakePicture(RGB(255, 0, 255));
    std::vector<WATERMARK_ITEM> items = TenItems(picture);
    const SIZE dialog = DialogFrameSize();
    std::printf("Repaint at the dialog's frame size (%ld x %ld), A4 portrait, median of %d rounds:\n", dialog.cx,
                dialog.cy, rounds);
    std::printf("  %5s  %12s  %12s\n", "items", "repaint ms", "layout ms");
    for (const size_t count : {0u, 1u, 2u, 5u, 10u, 20u})
    {
        CWatermarkPreview preview; // outlives its window, which takes no other preview
        const PreviewWindow window(dialog.cx, dialog.cy);
        Attach(&preview, window, &items, count);
        const double repaint = MsPerRepaint(window.control, rounds);
        std::printf("  %5zu  %12.2f  %12.2f\n", count, repaint, MsPerCall(rounds, [&] { preview.LayoutItems(); }));
    }
    std::printf("\nPage painting with one item alone:\n  %4s  %-8s  %-8s  %5s  %8s\n", "item", "kind", "layout",
                "angle", "page ms");
    for (size_t i = 0; i < items.size(); ++i)
    {
        CWatermarkPreview preview;
        const PreviewWindow window(dialog.cx, dialog.cy);
        std::vector<WATERMARK_ITEM> one = {items[i]};
        Attach(&preview, window, &one, 1);
        std::printf("  %4zu  %-8s  %-8s  %5d  %8.2f\n", i + 1,
                    one[0].dwKind == WATERMARK_KIND_TEXT ? "text" : "picture",
                    one[0].dwLayout == WATERMARK_LAYOUT_ANCHOR ? "anchored" : "fitted", one[0].nAngle,
                    MsPerPagePaint(preview, rounds));
    }
    std::printf("\nRepaint of 10 items by window size:\n  %11s  %11s  %12s\n", "frame", "control", "repaint ms");
    for (const SIZE size : {SIZE{120, 130}, dialog, SIZE{1000, 1000}})
    {
        CWatermarkPreview preview;
        const PreviewWindow window(size.cx, size.cy);
        Attach(&preview, window, &items, 10);
        RECT control;
        GetClientRect(window.control, &control);
        std::printf("  %5ld x %-4ld %5ld x %-4ld %12.2f\n", size.cx, size.cy, control.right, control.bottom,
                    MsPerRepaint(window.control, rounds));
    }
    SweepSearches(dialog, picture);
    delete picture;
    return 0;
}
