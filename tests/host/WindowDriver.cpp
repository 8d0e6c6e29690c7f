#include "WindowDriver.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>

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
    if (pid != GetCurrentProcessId() || !IsWindowVisible(window) || !(*search->match)(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

constexpr DWORD kPollIntervalMs = 10;

HWND WaitUntil(const std::function<HWND()>& find, DWORD waitMs)
{
    HWND found = nullptr;
    WaitFor([&] { return (found = find()) != nullptr; }, waitMs);
    return found;
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

void Notify(HWND parent, int id, WORD code)
{
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}
} // namespace

bool WaitFor(const std::function<bool()>& done, DWORD waitMs)
{
    for (const ULONGLONG start = GetTickCount64(); !done();)
    {
        if (GetTickCount64() - start > waitMs)
            return false;
        Sleep(kPollIntervalMs);
    }
    return true;
}

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(window, &text[0], static_cast<int>(text.size())))));
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

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

bool ClassIs(HWND window, const wchar_t* name)
{
    return lstrcmpiW(ClassOf(window).c_str(), name) == 0;
}

wchar_t Mnemonic(const std::wstring& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i)
    {
        if (text[i] == L'&' && text[++i] != L'&')
            return static_cast<wchar_t>(towupper(text[i]));
    }
    return 0;
}

bool IsDialog(HWND window)
{
    return ClassIs(window, L"#32770");
}

HWND WaitForSheet(DWORD waitMs)
{
    return WaitForTopWindow([](HWND w) { return PropSheet_GetTabControl(w) != nullptr; }, waitMs);
}

HWND WaitForDescendant(HWND parent, int id, DWORD waitMs)
{
    return WaitUntil([&] { return FindDescendant(parent, id); }, waitMs);
}

std::vector<std::wstring> TabTitles(HWND sheet)
{
    std::vector<std::wstring> titles;
    HWND tabs = PropSheet_GetTabControl(sheet);
    for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i)
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

void Click(HWND parent, int id)
{
    ClickButton(GetDlgItem(parent, id));
}

void ClickOpening(HWND parent, int id)
{
    PostMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0);
}

void Check(HWND parent, int id, bool on)
{
    if ((IsDlgButtonChecked(parent, id) == BST_CHECKED) != on)
        Click(parent, id);
}

void Pick(HWND parent, int id, int index)
{
    SendDlgItemMessageW(parent, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(parent, id, CBN_SELCHANGE);
}

void Type(HWND parent, int id, const std::wstring& text)
{
    SetDlgItemTextW(parent, id, text.c_str());
    Notify(parent, id, EN_CHANGE);
}

void Key(HWND edit, const std::wstring& text)
{
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : text)
        SendMessageW(edit, WM_CHAR, c, 1);
}

std::wstring Text(HWND parent, int id)
{
    return WindowText(GetDlgItem(parent, id));
}

bool Enabled(HWND parent, int id)
{
    return IsWindowEnabled(GetDlgItem(parent, id)) != FALSE;
}

std::vector<std::wstring> Items(HWND parent, int id)
{
    const bool combo = ClassIs(GetDlgItem(parent, id), WC_COMBOBOXW);
    std::vector<std::wstring> items(SendDlgItemMessageW(parent, id, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (size_t i = 0; i < items.size(); ++i)
    {
        items[i].resize(SendDlgItemMessageW(parent, id, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0) + 1);
        items[i].resize(SendDlgItemMessageW(parent, id, combo ? CB_GETLBTEXT : LB_GETTEXT, i,
                                            reinterpret_cast<LPARAM>(&items[i][0])));
    }
    return items;
}

// A message box is a dialog whose text is the static control 0xFFFF.
bool IsMessageBox(HWND window)
{
    return IsDialog(window) && FindDescendant(window, 0xFFFF) != nullptr;
}

void CloseWith(HWND dialog, int id)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    // Posted: a dialog that refuses to close says why in a message box, which
    // a sent click would wait on for ever; it is answered here, the dialog
    // stays, and the test fails on what it finds instead of hanging.
    ClickOpening(dialog, id);
    const auto box = [] { return WaitForTopWindow([](HWND w) { return IsMessageBox(w); }, 0); };
    WaitFor([&] { return !IsWindow(dialog) || box(); });
    if (IsWindow(dialog))
        AnswerMessageBox(IDOK, 0);
    else
        SendMessageW(owner, WM_NULL, 0, 0); // handled once the owner's thread is back in its message loop
}

std::wstring AnswerMessageBox(int answer, DWORD waitMs)
{
    HWND box = WaitForTopWindow(IsMessageBox, waitMs);
    if (!box)
        return L"";
    const std::wstring seen = WindowText(box) + L": " + WindowText(FindDescendant(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    WaitFor([box] { return !IsWindow(box); }, waitMs); // the next search must not find it again
    return seen;
}

std::vector<std::wstring> CallAnsweringMessageBoxes(int answer, const std::function<void()>& call)
{
    std::vector<std::wstring> shown;
    std::atomic<bool> done(false);
    {
        UserThread user([&] {
            while (!done)
            {
                const std::wstring seen = AnswerMessageBox(answer, 100);
                if (!seen.empty())
                    shown.push_back(seen);
            }
        });
        call();
        done = true;
    }
    return shown;
}
} // namespace testhost
