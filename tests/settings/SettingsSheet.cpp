#include "SettingsSheet.h"

#include "WindowDriver.h"

#include "Globals.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <winspool.h>

#include <cstring>
#include <vector>

namespace settings
{
TARVIK_DEVMODE RunSheet(HANDLE printer, const TARVIK_DEVMODE& in,
                        const std::function<void(HWND sheet, const TARVIK_DEVMODE& working)>& user)
{
    TARVIK_DEVMODE input = in;
    std::vector<BYTE> out(kRecordSize, 0xCC);
    {
        testhost::UserThread thread([&] {
            HWND sheet = testhost::WaitForSheet();
            ASSERT_NE(nullptr, sheet);
            user(sheet, *reinterpret_cast<const TARVIK_DEVMODE*>(out.data()));
            // A script that stopped early leaves the sheet open, perhaps under
            // a message box: close both rather than hang.
            for (int attempt = 0; attempt < 3; ++attempt)
            {
                if (testhost::WaitFor([sheet] { return !IsWindow(sheet); }, 10000))
                    return;
                ADD_FAILURE() << "the sheet was still open: cancelled";
                testhost::AnswerMessageBox(nullptr, IDOK, 1000);
                PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            }
        });
        wchar_t name[] = L"Tarvik";
        EXPECT_EQ(IDOK, DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(out.data()),
                                            reinterpret_cast<DEVMODEW*>(&input),
                                            DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER));
    }
    TARVIK_DEVMODE record;
    std::memcpy(&record, out.data(), kRecordSize);
    return record;
}

std::wstring ResourceText(UINT id)
{
    wchar_t text[2048] = L"";
    if (EnsureResourceModule())
        LoadStringW(g_hResModule, id, text, 2048);
    return text;
}
} // namespace settings
