#include "WindowDriver.h"

#include <commctrl.h>

#include <atomic>
#include <vector>

namespace testhost
{
namespace
{
struct TopSearch
{
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK VisitTop(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<TopSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
    if ((*search->match)(window))
    {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// How often a wait looks at the state it waits for.
constexpr DWORD kPollIntervalMs = 10;

// Polls `find` until it gives a window or the wait is over.
HWND WaitUntil(const std::function<HWND()>& find, DWORD waitMs)
{
    HWND found = nullptr;
    WaitFor([&] { return (found = find()) != nullptr; }, waitMs);
    return found;
}

bool IsDialogClass(HWND window)
{
    wchar_t name[64];
    return GetClassNameW(window, name, 64) && lstrcmpW(name, L"#32770") == 0;
}
} // namespace

bool WaitFor(const std::function<bool()>& done, DWORD waitMs)
{
    const ULONGLONG start = GetTickCount64();
    for (;;)
    {
        if (done())
            return true;
        if (GetTickCount64() - start > waitMs)
            return false;
        Sleep(kPollIntervalMs);
    }
}

std::wstring WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int n = GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

HWND WaitForTopWindow(const std::function<bool(HWND)>& match, DWORD waitMs)
{
    return WaitUntil(
        [&] {
            TopSearch search = {&match, nullptr};
            EnumWindows(VisitTop, reinterpret_cast<LPARAM>(&search));
            return search.found;
        },
        waitMs);
}

HWND WaitForDialog(const std::wstring& caption, DWORD waitMs)
{
    return WaitForTopWindow([&](HWND w) { return IsDialogClass(w) && WindowText(w) == caption; }, waitMs);
}

HWND FindDescendant(HWND parent, int id)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (GetDlgCtrlID(child) == id)
            return child;
        if (HWND inner = FindDescendant(child, id))
            return inner;
    }
    return nullptr;
}

HWND WaitForDescendant(HWND parent, int id, DWORD waitMs)
{
    return WaitUntil([&] { return FindDescendant(parent, id); }, waitMs);
}

std::vector<std::wstring> TabTitles(HWND sheet)
{
    std::vector<std::wstring> titles;
    HWND tabs = PropSheet_GetTabControl(sheet);
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        wchar_t title[128] = L"";
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = title;
        item.cchTextMax = 128;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        titles.emplace_back(title);
    }
    return titles;
}

void ClickButton(HWND button)
{
    SendMessageW(button, BM_CLICK, 0, 0);
}

bool AnswerMessageBox(MessageBoxSeen* seen, int answer, DWORD waitMs)
{
    // A message box is a dialog whose text is the static control 0xFFFF.
    HWND box =
        WaitForTopWindow([](HWND w) { return IsDialogClass(w) && FindDescendant(w, 0xFFFF) != nullptr; }, waitMs);
    if (!box)
        return false;
    if (seen)
    {
        seen->caption = WindowText(box);
        seen->text = WindowText(FindDescendant(box, 0xFFFF));
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    // Wait for it to go, so that the next search does not find it again.
    WaitFor([box] { return !IsWindow(box); }, waitMs);
    return true;
}

HWND WaitForSheet(DWORD waitMs)
{
    return WaitForTopWindow([](HWND w) { return PropSheet_GetTabControl(w) != nullptr; }, waitMs);
}

std::vector<std::wstring> CallAnsweringMessageBoxes(int answer, const std::function<void()>& call)
{
    std::vector<std::wstring> shown;
    std::atomic<bool> done(false);
    {
        UserThread user([&] {
            while (!done)
            {
                MessageBoxSeen seen;
                if (AnswerMessageBox(&seen, answer, 100))
                    shown.push_back(seen.text);
            }
        });
        call();
        done = true;
    }
    return shown;
}
} // namespace testhost
