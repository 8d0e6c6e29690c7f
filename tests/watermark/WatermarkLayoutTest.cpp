// The watermark layout rules without a window, as rows: an A4 page
// (793.70 x 1122.52 page pixels at 96 per inch) with margins of 10, 20, 30
// and 40 mm (37.80, 75.59, 113.39 and 151.18 page pixels), which leave an
// area of 642 x 895 whole page pixels centred at (358.80, 523.09). Texts are
// measured by a stand-in whose extent follows the font height.
#include "watermark/CWatermarkLayout.h"
#include "core/Globals.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <vector>

namespace
{
constexpr float kPageWidth = 793.70079f, kPageHeight = 1122.51969f;
constexpr float kLeft = 37.79528f, kTop = 75.59055f, kRight = 113.38583f, kBottom = 151.18110f;
const CWatermarkLayout kLayout(kPageWidth, kPageHeight);
const TextMeasure kNoMeasure = [](int, SIZE*) { return false; };

// An item whose layout fields each rule must write.
WATERMARK_ITEM Item(DWORD kind, DWORD layout, int angle)
{
    WATERMARK_ITEM item = {};
    item.dwKind = kind;
    item.dwLayout = layout;
    item.nAngle = angle;
    const int margins[] = {10, 20, 30, 40};
    std::copy(std::begin(margins), std::end(margins), item.nMargin);
    item.fDrawX = item.fDrawY = item.fCenterX = item.fCenterY = item.fDrawWidth = item.fDrawHeight = 7777;
    item.nFontHeight = 7777;
    return item;
}

// An extent of widthFactor x |height| by heightFactor x |height|.
TextMeasure Extent(int widthFactor, int heightFactor)
{
    return [=](int height, SIZE* extent) {
        *extent = {widthFactor * std::abs(height), heightFactor * std::abs(height)};
        return true;
    };
}

// Bisection over the font heights keeps the largest character height whose
// turned extent is narrower and lower than the area; the draw offset is half
// the extent measured last, which may be of a height too large.
TEST(WatermarkLayout, FittedTextTakesTheLargestHeightStrictlyInsideTheArea)
{
    const struct
    {
        const char* what;
        int angle;
        TextMeasure measure;
        int fontHeight;
        float drawX, drawY;
    } rows[] = {
        {"width binds: 3 x 214 = 642 is not narrower", 0, Extent(3, 1), -213, -319.5f, -106.5f},
        {"height binds: 5 x 179 = 895 is not lower", 0, Extent(1, 5), -178, -89.5f, -447.5f},
        {"a quarter turn: the width becomes the height", 90, Extent(3, 1), -298, -448.5f, -149.5f},
        {"nothing measured", 0, kNoMeasure, 0, 0, 0},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.what);
        WATERMARK_ITEM item = Item(WATERMARK_KIND_TEXT, 0, row.angle);
        kLayout.FitText(&item, &row.measure);
        EXPECT_EQ(row.fontHeight, item.nFontHeight);
        EXPECT_NEAR(row.drawX, item.fDrawX, 0.01);
        EXPECT_NEAR(row.drawY, item.fDrawY, 0.01);
        EXPECT_NEAR(358.80, item.fCenterX, 0.01);
        EXPECT_NEAR(523.09, item.fCenterY, 0.01);
    }
}

// The centre by anchor (1 to 8 clockwise from the top left, 9 the middle, any
// other the origin) puts the turned box against the margins; the offset is
// half the unrotated size; a text takes the height of its font size (points
// x 96 / 72, truncated) and no draw size, a picture its size in page pixels.
TEST(WatermarkLayout, AnchorsPlaceTheTurnedBoxWithinTheMargins)
{
    const TextMeasure measure = Extent(3, 1);
    const float x1 = kLeft + 60, x2 = kPageWidth / 2, x3 = kPageWidth - 60 - kRight;
    const float y1 = kTop + 20, y2 = kPageHeight / 2, y3 = kPageHeight - 20 - kBottom;
    const float xs[] = {0, x1, x2, x3, x3, x3, x2, x1, x1, x2, 0};
    const float ys[] = {0, y1, y1, y1, y2, y3, y3, y3, y2, y2, 0};
    struct Row
    {
        const char* what;
        DWORD kind, anchor;
        int angle, fontSize;
        DWORD unit;
        float width, height;
        const TextMeasure* measure;
        float centreX, centreY, drawWidth, drawHeight;
        int fontHeight;
    };
    std::vector<Row> rows;
    for (DWORD anchor = 0; anchor < std::size(xs); ++anchor) // 30 points: a 120 x 40 extent
        rows.push_back(
            {"text", WATERMARK_KIND_TEXT, anchor, 0, 30, 0, 0, 0, &measure, xs[anchor], ys[anchor], 0, 0, -40});
    rows.insert(rows.end(),
                {
                    {"text, a quarter turn", WATERMARK_KIND_TEXT, 5, 90, 30, 0, 0, 0, &measure,
                     kPageWidth - 20 - kRight, kPageHeight - 60 - kBottom, 0, 0, -40},
                    {"text of 32 points: 42.67 pixels, truncated", WATERMARK_KIND_TEXT, 1, 0, 32, 0, 0, 0, &measure,
                     kLeft + 63, kTop + 21, 0, 0, -42},
                    {"text not measured", WATERMARK_KIND_TEXT, 9, 0, 30, 0, 0, 0, &kNoMeasure, 0, 0, 0, 0, 0},
                    {"picture of 50 x 25 mm", 0, 1, 0, 0, WATERMARK_UNIT_MM, 50, 25, nullptr, kLeft + 94.48819f,
                     kTop + 47.24409f, 188.97638f, 94.48819f, 0},
                    {"picture of 2 x 1 inches", 2, 5, 0, 0, WATERMARK_UNIT_INCH, 2, 1, nullptr,
                     kPageWidth - 96 - kRight, kPageHeight - 48 - kBottom, 192, 96, 0},
                    {"picture of 100 x 50 pixels", 0, 7, 0, 0, WATERMARK_UNIT_PIXEL, 100, 50, nullptr, kLeft + 50,
                     kPageHeight - 25 - kBottom, 100, 50, 0},
                });
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.what << " at anchor " << row.anchor);
        WATERMARK_ITEM item = Item(row.kind, WATERMARK_LAYOUT_ANCHOR, row.angle);
        item.nFontSize = row.fontSize;
        item.dwSizeUnit = row.unit;
        item.fWidth = row.width;
        item.fHeight = row.height;
        item.dwAnchor = row.anchor;
        kLayout.Anchor(&item, row.measure);
        EXPECT_NEAR(row.drawWidth, item.fDrawWidth, 0.01);
        EXPECT_NEAR(row.drawHeight, item.fDrawHeight, 0.01);
        EXPECT_EQ(row.fontHeight, item.nFontHeight);
        if (row.measure == &kNoMeasure)
            continue; // nothing to place
        EXPECT_NEAR(row.centreX, item.fCenterX, 0.01);
        EXPECT_NEAR(row.centreY, item.fCenterY, 0.01);
        EXPECT_NEAR(-(row.drawWidth ? row.drawWidth : 3 * -row.fontHeight) / 2, item.fDrawX, 0.01);
    }
}

// Margins that meet leave no area: nothing is fitted or placed. 105 + 105 mm
// of a 210 mm page is exactly nothing; 104 + 105 mm leaves 3 page pixels.
TEST(WatermarkLayout, MarginsThatLeaveNoAreaPlaceNothing)
{
    const TextMeasure measure = Extent(1, 1);
    for (const int left : {104, 105})
    {
        SCOPED_TRACE(left);
        const bool area = left == 104;
        WATERMARK_ITEM fitted = Item(WATERMARK_KIND_TEXT, 0, 0), anchored = Item(0, WATERMARK_LAYOUT_ANCHOR, 0);
        for (WATERMARK_ITEM* item : {&fitted, &anchored})
        {
            item->nMargin[0] = left;
            item->nMargin[2] = 105;
        }
        anchored.dwSizeUnit = WATERMARK_UNIT_PIXEL;
        anchored.fWidth = anchored.fHeight = 10;
        kLayout.FitText(&fitted, &measure);
        kLayout.Anchor(&anchored, &measure);
        EXPECT_EQ(area ? -2 : 0, fitted.nFontHeight); // a 3-pixel area takes a 2-pixel text
        EXPECT_EQ(area ? 10.0f : 0.0f, anchored.fDrawWidth);
        EXPECT_EQ(area ? 10.0f : 0.0f, anchored.fDrawHeight);
    }
}

// A fitted picture grows until its turned box reaches the area's width (642)
// or height (895), in the picture's ratio or else the area's.
TEST(WatermarkLayout, FittedPictureReachesTheAreaInItsRatio)
{
    ASSERT_TRUE(StartGdiplus());
    {
        Gdiplus::Bitmap picture(200, 100, PixelFormat32bppARGB); // ratio 2
        // Angle, keep the picture's ratio; the whole width the search ends in, the drawn ratio.
        const struct
        {
            int angle;
            DWORD keep;
            int width;
            float ratio;
        } rows[] = {{0, 1, 642, 2.0f}, {90, 1, 895, 2.0f}, {0, 0, 642, 642.0f / 895.0f}};
        for (const auto& row : rows)
        {
            SCOPED_TRACE(testing::Message() << row.angle << " " << row.keep);
            WATERMARK_ITEM item = Item(0, 0, row.angle);
            item.pPicture = &picture;
            item.dwKeepAspect = row.keep;
            EXPECT_GT(kLayout.FitPicture(&item), 0);
            EXPECT_EQ(row.width, static_cast<int>(item.fDrawWidth));
            EXPECT_FLOAT_EQ(row.ratio, item.fDrawWidth / item.fDrawHeight);
            EXPECT_FLOAT_EQ(-item.fDrawWidth / 2, item.fDrawX);
            EXPECT_FLOAT_EQ(-item.fDrawHeight / 2, item.fDrawY);
            EXPECT_NEAR(358.80, item.fCenterX, 0.01);
            EXPECT_NEAR(523.09, item.fCenterY, 0.01);
        }
        WATERMARK_ITEM none = Item(0, 0, 0);
        EXPECT_EQ(0, kLayout.FitPicture(&none));
        EXPECT_EQ(0, none.fDrawWidth);
        EXPECT_EQ(0, none.fDrawHeight);
    }
    StopGdiplus();
}
} // namespace
