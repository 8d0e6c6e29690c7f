// The graphics page on the real sheet: the positions it shows for a record,
// the quality list rebuilt from the stored quality when the compression
// changes, the digit filter of a hidden resolution entry, and the record the
// caller gets back.
#include "PrinterTest.h"
#include "SheetSession.h"

#include "resource.h"

#include <cstddef>
#include <cstring>

namespace
{
using GraphicsPage = testhost::PrinterTest;

TEST_F(GraphicsPage, ListsFollowTheRecordAndTheCompression)
{
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    in.dwCompression1 = 7; // anything but ZIP shows JPEG
    in.dwQuality1 = 4;
    in.dwCompression2 = 9; // classes 2 and 3 know only ZIP
    in.dwQuality2 = 2;
    in.dwQuality3 = 0;
    in.bDownsample1 = in.bDownsample2 = in.bDownsample3 = 1;
    in.nResolution1 = in.nResolution2 = in.nResolution3 = 300;
    in.dwDownsampleMethod1 = in.dwDownsampleMethod2 = in.dwDownsampleMethod3 = 5;
    std::vector<LRESULT> shown; // compression and quality positions, then the quality list's changes
    bool hidden = false, applyBefore = true, applyAfter = false;
    std::wstring entry;
    DWORD caret = 0;
    const TARVIK_DEVMODE out = testhost::RunSheet(m_printer, in, IDS_TITLE_GRAPHICS, [&](const testhost::Sheet& s) {
        const auto position = [&](int id) { return SendDlgItemMessageW(s.page, id, CB_GETCURSEL, 0, 0); };
        for (int id : {IDC_GRAPHICS_COMPRESSION_1, IDC_GRAPHICS_QUALITY_1, IDC_GRAPHICS_COMPRESSION_2,
                       IDC_GRAPHICS_QUALITY_2, IDC_GRAPHICS_COMPRESSION_3, IDC_GRAPHICS_QUALITY_3})
            shown.push_back(position(id));
        hidden = !IsWindowVisible(GetDlgItem(s.page, IDC_GRAPHICS_DOWNSAMPLE_GROUP)) &&
                 !IsWindowVisible(GetDlgItem(s.page, IDC_GRAPHICS_RESOLUTION_1));
        applyBefore = testhost::Enabled(s.window, testhost::kApplyButton);
        testhost::Pick(s.page, IDC_GRAPHICS_COMPRESSION_1, 0); // ZIP: the stored 4 is its last level
        shown.push_back(SendDlgItemMessageW(s.page, IDC_GRAPHICS_QUALITY_1, CB_GETCOUNT, 0, 0));
        shown.push_back(position(IDC_GRAPHICS_QUALITY_1));
        testhost::Pick(s.page, IDC_GRAPHICS_COMPRESSION_1, 1); // JPEG again: the stored 4, not ZIP's choice
        shown.push_back(position(IDC_GRAPHICS_QUALITY_1));
        applyAfter = testhost::Enabled(s.window, testhost::kApplyButton);
        testhost::Pick(s.page, IDC_GRAPHICS_QUALITY_1, 3);

        HWND resolution = GetDlgItem(s.page, IDC_GRAPHICS_RESOLUTION_1);
        testhost::Key(FindWindowExW(resolution, nullptr, L"Edit", nullptr), L"7a");
        entry = testhost::WindowText(resolution);
        SendMessageW(resolution, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&caret), 0);
    });
    EXPECT_EQ((std::vector<LRESULT>{1, 1, 0, 1, 0, 2, 3, 2, 1}), shown);
    EXPECT_TRUE(hidden);
    EXPECT_FALSE(applyBefore);
    EXPECT_TRUE(applyAfter);
    EXPECT_EQ(L"7", entry);
    EXPECT_EQ(1u, caret);

    // Hidden and untouched, the downsampling controls store their neutral
    // values; the typed resolution is stored as it stayed. (Other pages'
    // fields are not this test's: they are taken as they came back.)
    TARVIK_DEVMODE expected = out;
    std::memcpy(&expected.dwCompression1, &in.dwCompression1,
                offsetof(TARVIK_DEVMODE, dwReserved6284) - offsetof(TARVIK_DEVMODE, dwCompression1));
    expected.dwCompression1 = 2;
    expected.dwQuality1 = 2; // the fourth JPEG level
    expected.dwCompression2 = 1;
    expected.dwQuality3 = 3;
    expected.bDownsample1 = expected.bDownsample2 = expected.bDownsample3 = 0;
    expected.nResolution1 = 7;
    expected.nResolution2 = expected.nResolution3 = 72;
    expected.dwDownsampleMethod1 = expected.dwDownsampleMethod2 = expected.dwDownsampleMethod3 = 0xFFFFFFFF;
    EXPECT_EQ("", testhost::RecordDifferences(&expected, &out));
}
} // namespace
