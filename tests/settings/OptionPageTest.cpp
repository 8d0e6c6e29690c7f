// The option page, which no sheet of the driver includes, in a property
// sheet of the test: the flag word through its controls and back.
#include "SheetSession.h"

#include "CDlgOptionSetting.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <tuple>

namespace
{
TEST(OptionPage, FlagWordThroughTheControls)
{
    // The flag word in and the buttons clicked; the flag word out, the view
    // radio button selected (0 for none), and whether the view and the
    // rotation radio buttons are enabled.
    const std::tuple<DWORD, std::vector<int>, DWORD, int, std::string> rows[] = {
        {0x77C00000, {}, 0x77C00000, IDC_OPTION_VIEW_PAGES, "++"}, // the default survives
        {0x77FFFFFF, {}, 0x77C00000, IDC_OPTION_VIEW_PAGES, "++"}, // bits 21 to 0 go
        {0xFFFFFFFF, {}, 0xF7C00000, IDC_OPTION_VIEW_PAGES, "++"}, // bit 28 wins over 27
        {0x00800000, {}, 0x08800000, IDC_OPTION_VIEW_BOOKMARKS, "--"},
        {0x00400000, {}, 0x08400000, IDC_OPTION_VIEW_THUMBNAILS, "--"},
        {0x00000000, {}, 0x08400000, 0, "--"}, // no view shown; bit 22 stored
        // Choices switched off are disabled, yet still decide their bits.
        {0x77C00000,
         {IDC_OPTION_VIEW_BOOKMARKS, IDC_OPTION_ROTATE_ALL, IDC_OPTION_OPENING_VIEW, IDC_OPTION_AUTO_ROTATE,
          IDC_OPTION_OPEN_AFTER_SAVE},
         0xCE800000,
         IDC_OPTION_VIEW_BOOKMARKS,
         "--"},
    };
    for (const auto& [in, clicks, out, view, enabled] : rows)
    {
        SCOPED_TRACE(testing::Message() << std::hex << in << " and " << clicks.size() << " clicks");
        TARVIK_DEVMODE record = testhost::DefaultRecord();
        record.dwOptionFlags = in;
        CDlgOptionSetting page;
        page.AttachRecord(nullptr, &record);
        int shownView = -1;
        std::string shownEnabled;
        testhost::RunPageSheet({&page}, IDD_OPTION_PAGE, IDS_TITLE_OPTION, [&](HWND sheet) {
            HWND window = PropSheet_GetCurrentPageHwnd(sheet);
            for (int id : clicks)
                testhost::Click(window, id);
            shownView = 0;
            for (int id : {IDC_OPTION_VIEW_PAGES, IDC_OPTION_VIEW_BOOKMARKS, IDC_OPTION_VIEW_THUMBNAILS})
                shownView = IsDlgButtonChecked(window, id) ? id : shownView;
            for (int id : {IDC_OPTION_VIEW_THUMBNAILS, IDC_OPTION_ROTATE_EACH})
                shownEnabled += testhost::Enabled(window, id) ? '+' : '-';
            PropSheet_PressButton(sheet, PSBTN_OK);
        });
        EXPECT_EQ(out, record.dwOptionFlags);
        EXPECT_EQ(view, shownView);
        EXPECT_EQ(enabled, shownEnabled);
    }
}
} // namespace
