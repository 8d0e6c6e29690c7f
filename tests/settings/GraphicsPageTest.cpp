// The graphics page on the real sheet: the lists it shows for a record, the
// quality list following the compression, the hidden resolution entries'
// digit filter, and the record the caller gets back.
#include "PageInput.h"
#include "PrinterTest.h"
#include "RecordFields.h"
#include "SettingsSheet.h"
#include "WindowDriver.h"

#include "resource.h"

#include <gtest/gtest.h>

namespace
{
using settings::ResourceText;
using testhost::DefaultRecord;

using GraphicsPage = testhost::PrinterTest;

constexpr int kApplyButton = 0x3021; // the sheet's Apply button

// Whatever the record held, the downsampling fields come back neutral, the
// ZIP-only classes come back as ZIP and each quality as its list's value.
TEST_F(GraphicsPage, ShowsTheStoredQualitiesAndStoresNeutralDownsampling)
{
    TARVIK_DEVMODE in = DefaultRecord();
    in.dwCompression1 = 1;
    in.dwQuality1 = 4; // no such ZIP level: the last one is shown
    in.dwCompression2 = 9;
    in.dwQuality2 = 2;
    in.dwQuality3 = 0;
    in.bDownsample1 = in.bDownsample2 = in.bDownsample3 = 1;
    in.nResolution1 = in.nResolution2 = in.nResolution3 = 300;
    in.dwDownsampleMethod1 = in.dwDownsampleMethod2 = in.dwDownsampleMethod3 = 5;
    std::wstring shown[6];
    bool hidden = false;
    const TARVIK_DEVMODE out = settings::RunSheet(m_printer, in, [&](HWND sheet, const TARVIK_DEVMODE&) {
        HWND page = testhost::ShowTab(sheet, ResourceText(IDS_TITLE_GRAPHICS));
        ASSERT_NE(nullptr, page);
        const int lists[] = {IDC_GRAPHICS_COMPRESSION_1, IDC_GRAPHICS_QUALITY_1,     IDC_GRAPHICS_COMPRESSION_2,
                             IDC_GRAPHICS_QUALITY_2,     IDC_GRAPHICS_COMPRESSION_3, IDC_GRAPHICS_QUALITY_3};
        for (int i = 0; i < 6; ++i)
            shown[i] = testhost::SelectedItemText(GetDlgItem(page, lists[i]));
        hidden = !IsWindowVisible(GetDlgItem(page, IDC_GRAPHICS_DOWNSAMPLE_GROUP)) &&
                 !IsWindowVisible(GetDlgItem(page, IDC_GRAPHICS_RESOLUTION_2)) &&
                 IsWindowVisible(GetDlgItem(page, IDC_GRAPHICS_QUALITY_3));
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ(L"ZIP", shown[0]);
    EXPECT_EQ(ResourceText(IDS_ZIP_QUALITY_3), shown[1]);
    EXPECT_EQ(L"ZIP", shown[2]);
    EXPECT_EQ(ResourceText(IDS_ZIP_QUALITY_2), shown[3]);
    EXPECT_EQ(L"ZIP", shown[4]);
    EXPECT_EQ(ResourceText(IDS_ZIP_QUALITY_3), shown[5]);
    EXPECT_TRUE(hidden);

    TARVIK_DEVMODE expected = in;
    expected.dwQuality1 = 3;
    expected.dwCompression2 = 1;
    expected.dwQuality3 = 3;
    expected.bDownsample1 = expected.bDownsample2 = expected.bDownsample3 = 0;
    expected.nResolution1 = expected.nResolution2 = expected.nResolution3 = 72;
    expected.dwDownsampleMethod1 = expected.dwDownsampleMethod2 = expected.dwDownsampleMethod3 = 0xFFFFFFFF;
    EXPECT_EQ("", testhost::RecordDifferences(&expected, &out));
}

// Switching class 1 between ZIP and JPEG rebuilds its quality list from the
// stored quality each time; any change enables Apply. A letter typed after a
// 7 in a resolution entry goes at once, and what stays is stored.
TEST_F(GraphicsPage, QualityFollowsTheCompressionAndEntriesTakeDigits)
{
    TARVIK_DEVMODE in = DefaultRecord();
    in.dwCompression1 = 7; // anything but ZIP shows JPEG
    in.dwQuality1 = 4;
    std::wstring jpeg, zip, jpegAgain, entry;
    LRESULT zipCount = 0;
    DWORD caret = 0;
    bool applyBefore = true, applyAfter = false;
    const TARVIK_DEVMODE out = settings::RunSheet(m_printer, in, [&](HWND sheet, const TARVIK_DEVMODE&) {
        HWND page = testhost::ShowTab(sheet, ResourceText(IDS_TITLE_GRAPHICS));
        ASSERT_NE(nullptr, page);
        HWND compression = GetDlgItem(page, IDC_GRAPHICS_COMPRESSION_1);
        HWND quality = GetDlgItem(page, IDC_GRAPHICS_QUALITY_1);
        applyBefore = IsWindowEnabled(GetDlgItem(sheet, kApplyButton));
        jpeg = testhost::SelectedItemText(quality);
        testhost::PickListItem(compression, 0);
        zip = testhost::SelectedItemText(quality);
        zipCount = SendMessageW(quality, CB_GETCOUNT, 0, 0);
        testhost::PickListItem(compression, 1);
        jpegAgain = testhost::SelectedItemText(quality);
        applyAfter = IsWindowEnabled(GetDlgItem(sheet, kApplyButton));
        testhost::PickListItem(quality, 3);

        HWND resolution = GetDlgItem(page, IDC_GRAPHICS_RESOLUTION_1);
        testhost::TypeText(FindWindowExW(resolution, nullptr, L"Edit", nullptr), L"7a");
        entry = testhost::WindowText(resolution);
        SendMessageW(resolution, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&caret), 0);
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ(ResourceText(IDS_JPEG_QUALITY_2), jpeg);
    EXPECT_EQ(ResourceText(IDS_ZIP_QUALITY_3), zip);
    EXPECT_EQ(3, zipCount);
    EXPECT_EQ(ResourceText(IDS_JPEG_QUALITY_2), jpegAgain);
    EXPECT_FALSE(applyBefore);
    EXPECT_TRUE(applyAfter);
    EXPECT_EQ(L"7", entry);
    EXPECT_EQ(1u, caret);
    EXPECT_EQ(2u, out.dwCompression1);
    EXPECT_EQ(2u, out.dwQuality1); // the fourth JPEG level
    EXPECT_EQ(7, out.nResolution1);
    EXPECT_EQ(72, out.nResolution2);
}
} // namespace
