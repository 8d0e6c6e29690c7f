// The option page, which no sheet of the driver includes, in a property
// sheet of the test: the flag word through its controls and back.
#include "RecordFields.h"
#include "SheetSession.h"

#include "CDlgOptionSetting.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace
{
TEST(OptionPage, FlagWordThroughTheControls)
{
    struct Row
    {
        DWORD in;
        std::vector<int> clicks;
        DWORD out;
        int view;            // the selected view radio button, 0 for none
        const char* enabled; // the view and the rotation radio buttons
    };
    const Row rows[] = {
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
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << std::hex << row.in << " and " << row.clicks.size() << " clicks");
        TARVIK_DEVMODE record = testhost::DefaultRecord();
        record.dwOptionFlags = row.in;
        CDlgOptionSetting page;
        page.AttachRecord(nullptr, &record);
        int view = -1;
        std::string enabled;
        testhost::RunPageSheet({&page}, IDD_OPTION_PAGE, IDS_TITLE_OPTION, [&](HWND sheet) {
            HWND window = PropSheet_GetCurrentPageHwnd(sheet);
            for (int id : row.clicks)
                testhost::Click(window, id);
            view = 0;
            for (int id : {IDC_OPTION_VIEW_PAGES, IDC_OPTION_VIEW_BOOKMARKS, IDC_OPTION_VIEW_THUMBNAILS})
                view = IsDlgButtonChecked(window, id) ? id : view;
            for (int id : {IDC_OPTION_VIEW_THUMBNAILS, IDC_OPTION_ROTATE_EACH})
                enabled += testhost::Enabled(window, id) ? '+' : '-';
            PropSheet_PressButton(sheet, PSBTN_OK);
        });
        EXPECT_EQ(row.out, record.dwOptionFlags);
        EXPECT_EQ(row.view, view);
        EXPECT_EQ(row.enabled, enabled);
    }
}
} // namespace
