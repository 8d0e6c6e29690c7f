// Drives windows the way a user would, from a second thread while the
// thread under test sits in a modal loop: find a window by its caption or a
// control by its ID, read texts, and send the messages that clicks send.
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

// The text of a window or control.
std::wstring WindowText(HWND window);

// The first top-level window of this process that `match` accepts, waiting
// up to `waitMs` for it to appear; null when none came.
HWND WaitForTopWindow(const std::function<bool(HWND)>& match, DWORD waitMs = 20000);

// The first property sheet of this process (a window with a tab control).
HWND WaitForSheet(DWORD waitMs = 20000);

// A visible top-level dialog of this process with the given caption.
HWND WaitForDialog(const std::wstring& caption, DWORD waitMs = 20000);

// The first descendant of `parent` with control ID `id` (depth first), or
// null. Pages of a property sheet are children of the sheet, so this finds
// a page's control from the sheet window.
HWND FindDescendant(HWND parent, int id);

// Waits until `parent` has a descendant with control ID `id`.
HWND WaitForDescendant(HWND parent, int id, DWORD waitMs = 20000);

// The tab titles of a property sheet, in order.
std::vector<std::wstring> TabTitles(HWND sheet);

// What a message box shows: its caption and its text.
struct MessageBoxSeen
{
    std::wstring caption;
    std::wstring text;
};

// Clicks a button the way the mouse does: BM_CLICK, sent from the driving
// thread (the owner thread processes it inside its modal loop).
void ClickButton(HWND button);

// Runs `script` on a second thread; join before checking what it recorded.
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

// Waits for the next message box of this process, records it and closes it
// with the button `answer` (IDOK, IDCANCEL, ...). Returns false when none came.
bool AnswerMessageBox(MessageBoxSeen* seen, int answer, DWORD waitMs = 20000);

// Runs `call` on this thread while a user answers every message box it
// shows with `answer`; returns the texts of the boxes, in order.
std::vector<std::wstring> CallAnsweringMessageBoxes(int answer, const std::function<void()>& call);
} // namespace testhost
