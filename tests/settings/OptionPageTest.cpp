// The option page, which no sheet of the driver includes, in a property
// sheet of the test: the flag word through its controls and back.
#include "PageInput.h"
#include "RecordFields.h"
#include "WindowDriver.h"

#include "CDlgOptionSetting.h"
#include "Globals.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>

namespace
{
// Shows the page on a record with `flags`, runs `user` on the page window,
// presses OK and returns the stored flags.
DWORD RunOptionSheet(DWORD flags, const std::function<void(HWND page)>& user)
{
    EXPECT_TRUE(EnsureResourceModule());
    TARVIK_DEVMODE record = testhost::DefaultRecord();
    record.dwOptionFlags = flags;
    CDlgOptionSetting page;
    page.AttachRecord(nullptr, &record);
    PROPSHEETPAGEW* description = nullptr;
    EXPECT_EQ(0u, CreatePropSheetPage(&description, IDD_OPTION_PAGE, IDS_TITLE_OPTION, PropSheetPageProc, &page));
    HPROPSHEETPAGE handle = CreatePropertySheetPageW(description);
    LocalFree(description);
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.pszCaption = L"Option page test";
    header.nPages = 1;
    header.phpage = &handle;
    {
        testhost::UserThread thread([&] {
            HWND sheet = testhost::WaitForDialog(L"Option page test");
            ASSERT_NE(nullptr, sheet);
            user(PropSheet_GetCurrentPageHwnd(sheet));
            PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        });
        EXPECT_GT(PropertySheetW(&header), 0);
    }
    return record.dwOptionFlags;
}

const int kViews[] = {IDC_OPTION_VIEW_PAGES, IDC_OPTION_VIEW_BOOKMARKS, IDC_OPTION_VIEW_THUMBNAILS};

TEST(OptionPage, FlagWordThroughTheControls)
{
    struct Row
    {
        DWORD in;
        DWORD out;
        int view; // the selected view, 0 for none
    };
    const Row rows[] = {
        {0x77C00000, 0x77C00000, IDC_OPTION_VIEW_PAGES},      // the default survives
        {0x77FFFFFF, 0x77C00000, IDC_OPTION_VIEW_PAGES},      // bits 21 to 0 go
        {0xFFFFFFFF, 0xF7C00000, IDC_OPTION_VIEW_PAGES},      // rotation: bit 28 wins over 27
        {0x00800000, 0x08800000, IDC_OPTION_VIEW_BOOKMARKS},  //
        {0x00400000, 0x08400000, IDC_OPTION_VIEW_THUMBNAILS}, //
        {0x00000000, 0x08400000, 0},                          // no view shown, bit 22 stored
    };
    for (const Row& row : rows)
    {
        int view = -1;
        const DWORD out = RunOptionSheet(row.in, [&](HWND page) {
            view = 0;
            for (int id : kViews)
            {
                if (testhost::IsChecked(GetDlgItem(page, id)))
                    view = id;
            }
        });
        EXPECT_EQ(row.out, out) << std::hex << row.in;
        EXPECT_EQ(row.view, view) << std::hex << row.in;
    }
}

// A check box that is off disables its radio buttons, whose selection still
// decides their bits.
TEST(OptionPage, DisabledChoicesStillCount)
{
    bool viewsEnabled = true, rotationEnabled = true;
    const DWORD out = RunOptionSheet(0x77C00000, [&](HWND page) {
        testhost::ClickButton(GetDlgItem(page, IDC_OPTION_VIEW_BOOKMARKS));
        testhost::ClickButton(GetDlgItem(page, IDC_OPTION_ROTATE_ALL));
        testhost::ClickButton(GetDlgItem(page, IDC_OPTION_OPENING_VIEW));
        testhost::ClickButton(GetDlgItem(page, IDC_OPTION_AUTO_ROTATE));
        testhost::ClickButton(GetDlgItem(page, IDC_OPTION_OPEN_AFTER_SAVE));
        viewsEnabled = IsWindowEnabled(GetDlgItem(page, IDC_OPTION_VIEW_THUMBNAILS));
        rotationEnabled = IsWindowEnabled(GetDlgItem(page, IDC_OPTION_ROTATE_EACH));
    });
    EXPECT_FALSE(viewsEnabled);
    EXPECT_FALSE(rotationEnabled);
    // 0x77C00000 + open after saving - auto rotation - opening view, with
    // the bookmarks view and all pages alike.
    EXPECT_EQ(0xCE800000, out);
}
} // namespace
