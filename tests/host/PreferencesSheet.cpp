#include "PreferencesSheet.h"

#include "WindowDriver.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace testhost
{
HWND ShowSheetTab(HWND sheet, UINT titleId)
{
    wchar_t title[128] = L"";
    LoadStringW(GetModuleHandleW(L"tarvikres7.dll"), titleId, title, 128);
    const std::vector<std::wstring> titles = TabTitles(sheet);
    for (size_t i = 0; i < titles.size(); ++i)
    {
        if (titles[i] != title)
            continue;
        // Selecting a tab first asks the page shown to let go, even when it is
        // the same tab: a page that refuses would wait for its message box.
        HWND current = PropSheet_GetCurrentPageHwnd(sheet);
        if (PropSheet_HwndToIndex(sheet, current) == static_cast<int>(i))
            return current;
        // The sheet creates the page, if it is new, before the call returns.
        PropSheet_SetCurSel(sheet, nullptr, static_cast<int>(i));
        return PropSheet_GetCurrentPageHwnd(sheet);
    }
    return nullptr;
}

LONG EditInSheet(HANDLE printer, const TARVIK_DEVMODE& in, TARVIK_DEVMODE* out, UINT titleId,
                 const std::function<void(HWND sheet, HWND page)>& user)
{
    TARVIK_DEVMODE input = in;
    LONG result = 0;
    {
        UserThread thread([&] {
            HWND sheet = WaitForSheet();
            if (!sheet)
                return;
            user(sheet, ShowSheetTab(sheet, titleId));
            PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        });
        wchar_t name[] = L"Tarvik";
        result = DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(out),
                                     reinterpret_cast<DEVMODEW*>(&input), DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
    }
    return result;
}
} // namespace testhost
