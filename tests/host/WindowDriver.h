// A user's hands on a second thread while the thread under test sits in a
// modal loop: find windows and controls, read them, click and type.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace testhost
{
// Waits for a state: polls `done` until it holds or `waitMs` have passed,
// and says whether it held. Every wait of the tests goes through here.
bool WaitFor(const std::function<bool()>& done, DWORD waitMs = 20000);

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
bool ClassIs(HWND window, const wchar_t* name); // in any letter case
// The letter that Alt picks in a text: the one after a single '&', in upper
// case; 0 when there is none.
wchar_t Mnemonic(const std::wstring& text);

// The first top-level window of this process that `match` accepts, waiting
// up to `waitMs` for it to appear; null when none came.
HWND WaitForTopWindow(const std::function<bool(HWND)>& match, DWORD waitMs = 20000);

bool IsDialog(HWND window); // the class of dialogs and message boxes
bool IsMessageBox(HWND window);

// The first property sheet of this process (a window with a tab control).
HWND WaitForSheet(DWORD waitMs = 20000);

// Waits until `parent` has a descendant with control ID `id` (a page's
// control from the sheet window).
HWND WaitForDescendant(HWND parent, int id, DWORD waitMs = 20000);

std::vector<std::wstring> TabTitles(HWND sheet);

// BM_CLICK, sent: the owner thread handles it inside its modal loop.
void ClickButton(HWND button);

// A user's hands on control `id` of the dialog `parent`. Each sends what the
// mouse or the keyboard makes the control send, and has been handled when it
// returns; ClickOpening posts, for a click that opens a modal window.
void Click(HWND parent, int id);
void ClickOpening(HWND parent, int id);
void Check(HWND parent, int id, bool on);                 // clicks when the check state differs
void Pick(HWND parent, int id, int index);                // CB_SETCURSEL, then CBN_SELCHANGE
void Type(HWND parent, int id, const std::wstring& text); // WM_SETTEXT, then EN_CHANGE
// Selects the whole text of `edit` and types `text` over it, one WM_CHAR per
// UTF-16 unit: the edit's own limits and notifications apply.
void Key(HWND edit, const std::wstring& text);
std::wstring Text(HWND parent, int id);
bool Enabled(HWND parent, int id);
// The items of a combo box or list box, in the control's order.
std::vector<std::wstring> Items(HWND parent, int id);
// Clicks `id` of a modal dialog that closes with it; returns once the dialog
// is gone and its owner's thread has finished what follows.
void CloseWith(HWND dialog, int id);

// Runs `script` on a second thread, joined when it goes out of scope.
class UserThread
{
  public:
    explicit UserThread(std::function<void()> script) : m_thread(std::move(script)) {}
    ~UserThread()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    void Join() { m_thread.join(); }

  private:
    std::thread m_thread;
};

// Waits for the next message box of this process and closes it with the
// button `answer` (IDOK, IDCANCEL, ...). Returns what it showed as
// "caption: text", or "" when none came.
std::wstring AnswerMessageBox(int answer, DWORD waitMs = 20000);

// Runs `call` on this thread while a user answers every message box it
// shows with `answer`; returns what the boxes showed, in order.
std::vector<std::wstring> CallAnsweringMessageBoxes(int answer, const std::function<void()>& call);
} // namespace testhost
