#include "SheetSession.h"

#include "PrinterInstaller.h"

#include "core/Globals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace testhost
{
HWND ShowTab(HWND sheet, UINT titleId)
{
    const std::vector<std::wstring> titles = TabTitles(sheet);
    const int index =
        titleId ? static_cast<int>(std::find(titles.begin(), titles.end(), ResourceText(titleId)) - titles.begin())
                : PropSheet_HwndToIndex(sheet, PropSheet_GetCurrentPageHwnd(sheet));
    if (index >= static_cast<int>(titles.size()))
        return nullptr;
    // Selecting a tab first asks the page shown to let go, even when it is
    // the same tab: a page that refuses would wait for its message box.
    if (PropSheet_HwndToIndex(sheet, PropSheet_GetCurrentPageHwnd(sheet)) != index)
        PropSheet_SetCurSel(sheet, nullptr, index); // creates the page before it returns
    return PropSheet_GetCurrentPageHwnd(sheet);
}

std::wstring ResourceText(UINT id)
{
    // The driver's copy when it is loaded (a probe runs far from the build's).
    HMODULE module = GetModuleHandleW(L"tarvikres7.dll");
    if (!module)
        module = LoadLibraryW((BinDirectory() + L"\\tarvikres7.dll").c_str());
    wchar_t text[2048] = L"";
    LoadStringW(module, id, text, static_cast<int>(std::size(text)));
    return text;
}

std::wstring MessageOf(UINT captionId, UINT textId)
{
    return ResourceText(captionId) + L": " + ResourceText(textId);
}

TARVIK_DEVMODE RunSheet(HANDLE printer, const TARVIK_DEVMODE& in, UINT titleId,
                        const std::function<void(const Sheet&)>& user, int button, LONG* answer)
{
    TARVIK_DEVMODE input = in, out;
    std::memset(&out, 0xCC, sizeof(out));
    LONG result = 0;
    {
        UserThread thread([&] {
            HWND window = WaitForSheet();
            const Sheet sheet = {window, window ? ShowTab(window, titleId) : nullptr, out};
            EXPECT_NE(nullptr, sheet.page) << "no sheet, or no tab " << titleId;
            if (sheet.page)
                user(sheet);
            // Dialogs a script that stopped early left over the sheet, innermost first.
            for (int left = 5; left > 0; --left)
            {
                HWND open = WaitForTopWindow([&](HWND w) { return w != window && IsDialog(w); }, 0);
                if (!open)
                    break;
                PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
                WaitFor([open] { return !IsWindow(open); });
            }
            if (button)
                PropSheet_PressButton(window, button);
            if (WaitFor([&] { return !IsWindow(window); }, 10000))
                return;
            ADD_FAILURE() << "the sheet was still open: cancelled";
            WaitFor([&] {
                AnswerMessageBox(IDOK, 100);
                PropSheet_PressButton(window, PSBTN_CANCEL);
                return !IsWindow(window);
            });
        });
        wchar_t name[] = L"Tarvik";
        result = DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(&out),
                                     reinterpret_cast<DEVMODEW*>(&input), DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
    }
    // Wine's host answers 1 for Cancel too; Windows gives IDCANCEL there.
    EXPECT_TRUE(result == IDOK || (button == PSBTN_CANCEL && result == IDCANCEL)) << result;
    if (answer)
        *answer = result;
    return out;
}

INT_PTR RunPageSheet(const std::vector<CDlgPropSheetPage*>& pages, WORD templateId, WORD titleId,
                     const std::function<void(HWND sheet)>& user)
{
    EXPECT_TRUE(EnsureResourceModule());
    std::vector<HPROPSHEETPAGE> handles;
    for (CDlgPropSheetPage* page : pages)
    {
        PROPSHEETPAGEW* description = nullptr;
        EXPECT_EQ(0u, CreatePropSheetPage(&description, templateId, titleId, PropSheetPageProc, page));
        handles.push_back(CreatePropertySheetPageW(description));
        page->SetPageHandle(handles.back());
        LocalFree(description);
    }
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.pszCaption = L"Page probe";
    header.nPages = static_cast<UINT>(handles.size());
    header.phpage = handles.data();
    UserThread thread([&] {
        HWND sheet = WaitForTopWindow([](HWND w) { return IsDialog(w) && WindowText(w) == L"Page probe"; });
        EXPECT_NE(nullptr, sheet);
        if (sheet)
            user(sheet);
    });
    return PropertySheetW(&header);
}
} // namespace testhost
