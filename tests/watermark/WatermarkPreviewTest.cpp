// The watermark preview painted by Wine's GDI and GDI+ into a real control:
// where the ink of the page read back lies and what colour it has.
#include "ImportPatch.h"

#include "watermark/CWatermarkPreview.h"
#include "entry/DriverInterface.h"
#include "core/Globals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

namespace
{
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kKey = RGB(255, 0, 255);

// The painted page, top-down, colours without the alpha byte Wine writes.
struct Page
{
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int Count(COLORREF colour) const { return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour)); }
    // The bounds of every pixel that is not white; empty when there is none.
    RECT Ink() const
    {
        RECT ink = {width, height, 0, 0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y) != kWhite)
                    ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                           std::max<LONG>(ink.bottom, y + 1)};
        return ink.right > ink.left ? ink : RECT{};
    }
    // Ink pixels in the first and the second half of `box`, split across its longer side.
    std::pair<int, int> Halves(const RECT& box) const
    {
        const bool wide = box.right - box.left > box.bottom - box.top;
        const int middle = wide ? (box.left + box.right) / 2 : (box.top + box.bottom) / 2;
        std::pair<int, int> halves;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                if (At(x, y) != kWhite)
                    ++((wide ? x : y) < middle ? halves.first : halves.second);
        return halves;
    }
    // The most frequent colour that is not white: the inside of the shapes.
    COLORREF Fill() const
    {
        std::map<COLORREF, int> counts;
        for (COLORREF c : pixels)
            counts[c] += c != kWhite;
        return std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })
            ->first;
    }
};

// An item with margins of 20 mm; a picture item shows `picture`.
WATERMARK_ITEM Item(DWORD kind, DWORD layout, int angle, int opacity, Gdiplus::Image* picture = nullptr)
{
    WATERMARK_ITEM item = {};
    item.dwEnabled = 1;
    item.dwKind = kind;
    item.dwLayout = layout;
    item.nAngle = angle;
    item.nOpacity = opacity;
    std::fill(std::begin(item.nMargin), std::end(item.nMargin), 20);
    item.dwAnchor = 9;
    item.nFontSize = 72;
    lstrcpyW(item.szFaceName, L"Tahoma");
    lstrcpyW(item.szText, L"MMMM....");
    item.dwSizeUnit = WATERMARK_UNIT_MM;
    item.fWidth = item.fHeight = 50;
    item.pPicture = picture;
    return item;
}

// A square picture of `outer` with a centred square of `inner`.
struct Picture : Gdiplus::Bitmap
{
    explicit Picture(COLORREF outer, COLORREF inner = CLR_INVALID) : Gdiplus::Bitmap(40, 40, PixelFormat32bppARGB)
    {
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
            {
                const COLORREF c = (x >= 10 && x < 30 && y >= 10 && y < 30 && inner != CLR_INVALID) ? inner : outer;
                SetPixel(x, y, Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c)));
            }
    }
};

class WatermarkPreview : public testing::Test
{
  protected:
    void SetUp() override
    {
        m_frame = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                                  400, nullptr, nullptr, nullptr, nullptr);
        m_control =
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, m_frame, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_control);
    }
    void TearDown() override { DestroyWindow(m_frame); } // the control keeps the preview's window procedure

    // Shows `items` on a page of width x height tenths of a millimetre and reads the painted page back.
    Page Render(std::vector<WATERMARK_ITEM*> items, int width = 2100, int height = 2970)
    {
        m_preview.m_items.RemoveAll();
        m_preview.Attach(m_frame, m_control, width, height);
        for (WATERMARK_ITEM* item : items)
            m_preview.AddItem(item);
        return Paint();
    }

    Page Paint()
    {
        m_preview.Refresh();
        UpdateWindow(m_control);
        Page page;
        page.width = m_preview.m_nBitmapWidth;
        page.height = m_preview.m_nBitmapHeight;
        page.pixels.resize(static_cast<size_t>(page.width) * page.height);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), page.width, -page.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HDC screen = GetDC(nullptr);
        GetDIBits(screen, m_preview.m_hBitmap, 0, page.height, page.pixels.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        for (COLORREF& c : page.pixels) // BGRA in memory: back to a COLORREF
            c = RGB(GetBValue(c), GetGValue(c), GetRValue(c));
        return page;
    }

    // Page pixels (96 per inch) of `mm` millimetres, in pixels of the painted page.
    float Bitmap(float mm) const { return mm / 25.4f * 96 * m_preview.m_fScale; }

    CWatermarkPreview m_preview; // outlives the windows
    HWND m_frame = nullptr;
    HWND m_control = nullptr;
};

TEST_F(WatermarkPreview, ItemsThatCannotBeDrawnLeaveAWhitePageInItsFrame)
{
    Picture picture(RGB(0, 0, 0));
    WATERMARK_ITEM text = Item(WATERMARK_KIND_TEXT, 0, 0, 100), disabled = text, noPicture = Item(0, 0, 0, 100);
    WATERMARK_ITEM noAreaText = text, noAreaPicture = Item(0, WATERMARK_LAYOUT_ANCHOR, 0, 100, &picture);
    disabled.dwEnabled = 0;
    for (WATERMARK_ITEM* item : {&noAreaText, &noAreaPicture})
        item->nMargin[0] = item->nMargin[2] = 110; // 220 mm of a 210 mm page
    // The item, the page's width and the frame's size.
    const std::tuple<const char*, WATERMARK_ITEM*, int, int> rows[] = {
        {"disabled", &disabled, 2100, 400},          {"no picture", &noPicture, 2100, 400},
        {"no area, fitted", &noAreaText, 2100, 400}, {"no area, anchored", &noAreaPicture, 2100, 400},
        {"page of width 0", &text, 0, 400},          {"frame of 39 pixels", &text, 2100, 39}};
    for (const auto& [what, item, pageWidth, frameSize] : rows)
    {
        SCOPED_TRACE(what);
        SetWindowPos(m_frame, nullptr, 0, 0, frameSize, frameSize, SWP_NOZORDER | SWP_NOACTIVATE);
        const Page page = Render({item}, pageWidth);
        EXPECT_EQ(page.width * page.height, page.Count(kWhite));
        // On the screen: the frame's grey along the edge, white inside.
        RECT client;
        GetClientRect(m_control, &client);
        ASSERT_TRUE(client.right > 2 && client.bottom > 2);
        HDC hdc = GetDC(m_control);
        EXPECT_EQ(RGB(200, 200, 200), GetPixel(hdc, 0, client.bottom / 2));
        EXPECT_EQ(kWhite, GetPixel(hdc, client.right / 2, client.bottom / 2));
        ReleaseDC(m_control, hdc);
    }
}

// Angle 90 turns a text a quarter turn counter-clockwise: it then reads
// upwards, so its first letters (the heavy "MMMM") are at the bottom.
TEST_F(WatermarkPreview, AngleTurnsCounterClockwise)
{
    // The angle; whether the ink is wider than tall, and whether its left
    // (wide) or top (tall) half holds more of it.
    const std::tuple<int, bool, bool> rows[] = {
        {0, true, true}, {90, false, false}, {180, true, false}, {270, false, true}};
    for (const auto& [angle, wide, heavyFirst] : rows)
    {
        SCOPED_TRACE(angle);
        WATERMARK_ITEM text = Item(WATERMARK_KIND_TEXT, 0, angle, 100);
        const Page page = Render({&text});
        const RECT ink = page.Ink();
        EXPECT_EQ(wide, ink.right - ink.left > ink.bottom - ink.top);
        const auto halves = page.Halves(ink);
        EXPECT_EQ(heavyFirst, halves.first > halves.second) << halves.first << " / " << halves.second;
    }
}

// Opacity blends over white (alpha 255 at 100 %, 127 at 50 %), a text in
// its colour. At 50 % a bold text's outline lies over its own fill: where
// both are, the colour is darker than the fill alone, and still the text's hue.
TEST_F(WatermarkPreview, OpacityBlendsOverWhiteAndBoldTextIsOutlinedInItsColour)
{
    Picture black(RGB(0, 0, 0));
    // The kind, opacity, style and text colour; the fill's red and blue.
    const std::tuple<DWORD, int, DWORD, COLORREF, int, int> rows[] = {
        {WATERMARK_KIND_TEXT, 100, 0, RGB(0, 0, 0), 0, 0},
        {WATERMARK_KIND_TEXT, 50, 0, RGB(0, 0, 255), 128, 255},
        {WATERMARK_KIND_TEXT, 50, WATERMARK_STYLE_BOLD, RGB(0, 0, 255), 128, 255},
        {0, 100, 0, RGB(0, 0, 255), 0, 0},
        {0, 50, 0, RGB(0, 0, 255), 128, 128}};
    for (const auto& [kind, opacity, style, colour, red, blue] : rows)
    {
        SCOPED_TRACE(testing::Message() << kind << " at " << opacity << ", style " << style);
        WATERMARK_ITEM item = Item(kind, WATERMARK_LAYOUT_ANCHOR, 0, opacity, &black);
        item.dwStyle = style;
        item.crColor = colour;
        const Page page = Render({&item});
        const COLORREF fill = page.Fill();
        EXPECT_NEAR(red, GetRValue(fill), 1);
        EXPECT_NEAR(blue, GetBValue(fill), 1);
        int overlap = 0;
        for (COLORREF c : page.pixels)
        {
            if (GetRValue(c) >= GetRValue(fill) - 8)
                continue;
            ++overlap;
            EXPECT_TRUE(GetBValue(c) == blue && GetRValue(c) == GetGValue(c)) << std::hex << c;
        }
        EXPECT_EQ(style != 0, overlap > 100) << overlap;
    }
}

// The ink lies where the layout puts it, the text measured in the screen's
// fonts: a long text fitted flat on a landscape page spans the width between
// its 20 mm margins; a 50 mm square turned by 30 degrees at anchor 5 (bottom
// right) touches the right (30 mm) and bottom (40 mm) margins with its turned box.
TEST_F(WatermarkPreview, InkLiesWhereTheLayoutPutsIt)
{
    WATERMARK_ITEM text = Item(WATERMARK_KIND_TEXT, 0, 0, 100);
    lstrcpyW(text.szText, L"CONFIDENTIAL - DO NOT COPY");
    RECT ink = Render({&text}, 2970, 2100).Ink();
    EXPECT_TRUE(ink.left >= Bitmap(20) - 1 && ink.right <= Bitmap(277) + 1 && ink.top >= Bitmap(20) - 1 &&
                ink.bottom <= Bitmap(190) + 1 && ink.right - ink.left > 0.9f * Bitmap(257))
        << ink.left << " " << ink.top << " " << ink.right << " " << ink.bottom;
    Picture picture(RGB(0, 0, 200));
    WATERMARK_ITEM item = Item(0, WATERMARK_LAYOUT_ANCHOR, 30, 100, &picture);
    item.nMargin[2] = 30;
    item.nMargin[3] = 40;
    item.dwAnchor = 5;
    ink = Render({&item}).Ink();
    const float side = Bitmap(50) * (std::cos(0.5236f) + std::sin(0.5236f)); // the turned box
    EXPECT_NEAR(Bitmap(210 - 30), ink.right, 1);
    EXPECT_NEAR(Bitmap(297 - 40), ink.bottom, 1);
    EXPECT_NEAR(side, ink.right - ink.left, 2);
    EXPECT_NEAR(side, ink.bottom - ink.top, 2);
}

// Later items lie on top; swapping two changes which one shows.
TEST_F(WatermarkPreview, SwappedItemsChangePlaces)
{
    Picture red(RGB(255, 0, 0)), blue(RGB(0, 0, 255));
    WATERMARK_ITEM under = Item(0, WATERMARK_LAYOUT_ANCHOR, 0, 100, &red),
                   over = Item(0, WATERMARK_LAYOUT_ANCHOR, 0, 100, &blue);
    Page page = Render({&under, &over});
    EXPECT_EQ(RGB(0, 0, 255), page.At(page.width / 2, page.height / 2));
    m_preview.SwapItems(0, 1);
    m_preview.SwapItems(1, 2); // no third item: nothing changes
    page = Paint();
    EXPECT_EQ(RGB(255, 0, 0), page.At(page.width / 2, page.height / 2));
}

TEST_F(WatermarkPreview, ColourKeyLeavesItsColourOut)
{
    Picture picture(kKey, RGB(0, 160, 0));
    for (const DWORD keyed : {0u, 1u})
    {
        SCOPED_TRACE(keyed);
        WATERMARK_ITEM item = Item(0, 0, 0, 100, &picture);
        item.dwKeepAspect = 1;
        item.dwColorKey = keyed;
        item.crKeyColor = kKey;
        const Page page = Render({&item});
        EXPECT_GT(page.Count(RGB(0, 160, 0)), 1000);
        EXPECT_TRUE(keyed ? page.Count(kKey) == 0 : page.Count(kKey) > 1000) << page.Count(kKey);
    }
}

// GDI+ is counted: a closing sheet leaves it to a live preview, also when the sheet's own start failed.
TEST(GdiplusUsers, ASheetClosingLeavesGdiplusToALivePreview)
{
    ASSERT_EQ(0u, g_gdiplusToken);
    for (const bool sheetStartFails : {false, true})
    {
        SCOPED_TRACE(sheetStartFails);
        HMODULE self = GetModuleHandleW(nullptr);
        const auto failingStartup = +[](ULONG_PTR*, const Gdiplus::GdiplusStartupInput*,
                                        Gdiplus::GdiplusStartupOutput*) { return Gdiplus::GenericError; };
        void* startup = sheetStartFails ? testhost::PatchImport(self, "gdiplus.dll", "GdiplusStartup",
                                                                reinterpret_cast<void*>(failingStartup))
                                        : nullptr;
        PROPSHEETUI_INFO info = {};
        info.cbSize = sizeof(info);
        info.pfnComPropSheet = [](HANDLE, UINT, LPARAM, LPARAM) -> LONG_PTR { return 0; };
        info.Reason = PROPSHEETUI_REASON_INIT;
        DOCUMENTPROPERTYHEADER header = {};
        header.cbSize = sizeof(header);
        ASSERT_EQ(1, DrvDocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&header)));
        EXPECT_EQ(sheetStartFails, g_gdiplusToken == 0);
        if (startup)
            testhost::PatchImport(self, "gdiplus.dll", "GdiplusStartup", startup);
        {
            CWatermarkPreview preview;
            info.Reason = PROPSHEETUI_REASON_DESTROY;
            ASSERT_EQ(1, DrvDocumentPropertySheets(&info, 0));
            EXPECT_NE(0u, g_gdiplusToken);
        }
        EXPECT_EQ(0u, g_gdiplusToken);
    }
}
} // namespace
