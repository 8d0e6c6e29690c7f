// Ground of the paper page tests: Printing Preferences of the installed
// printer "Tarvik" opened through the spooler and worked by a user's thread,
// with no custom forms and no stored favourites before and after each test.
#pragma once

#include "PrinterTest.h"
#include "WindowDriver.h"

#include "SettingsRecord.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace formpage
{
using Texts = std::vector<std::wstring>;

// The favourites list row by row: names, size texts, the ticked names.
struct ListRows
{
    Texts names, sizes, ticked;
};

// What a user's hands send and eyes read. A click that opens a modal window
// is posted (a sent one would wait for the window to close).
struct User
{
    static void Click(HWND p, int id) { testhost::ClickButton(GetDlgItem(p, id)); }
    static void ClickOpening(HWND p, int id) { PostMessageW(GetDlgItem(p, id), BM_CLICK, 0, 0); }
    // Clicks `button` and waits for the dialog, known by its control `id`, that it opens.
    static HWND Open(HWND p, int button, int id) { return ClickOpening(p, button), WaitForDialogWith(id); }
    static void Select(HWND p, int id, int index);
    static void Type(HWND p, int id, const wchar_t* text);
    // Clicks `id` of a modal dialog that closes with it; returns once the
    // dialog is gone and its owner has finished what follows.
    static void CloseWith(HWND dialog, int id, HWND owner);
    // The next message box, checked against the resource module and answered.
    static void ExpectMessage(UINT textId, UINT captionId, int answer);
    // A visible top-level dialog of this process that holds control `id`.
    static HWND WaitForDialogWith(int id);
    static std::wstring Text(HWND p, int id) { return testhost::WindowText(GetDlgItem(p, id)); }
    static bool Enabled(HWND p, int id) { return IsWindowEnabled(GetDlgItem(p, id)) != FALSE; }
    static Texts ComboItems(HWND p, int id);
    static ListRows Rows(HWND dialog);
    static int RowOf(HWND dialog, const wchar_t* name);
    static void Tick(HWND dialog, const wchar_t* name, bool on)
    {
        SetRow(dialog, name, INDEXTOSTATEIMAGEMASK(on ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    static void SelectRow(HWND dialog, const wchar_t* name)
    {
        SetRow(dialog, name, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    static void SetRow(HWND dialog, const wchar_t* name, UINT state, UINT mask);
};

std::wstring Resource(UINT id);
// "FavoriteForm" as stored, or "(none)".
std::wstring StoredFavorites();
void StoreFavorites(const wchar_t* text);
void ClearFormRegistry();

class FormSheetTest : public testhost::PrinterTest, protected User
{
  protected:
    void SetUp() override
    {
        PrinterTest::SetUp();
        ClearFormRegistry();
    }
    void TearDown() override
    {
        ClearFormRegistry();
        PrinterTest::TearDown();
    }
    // Opens the sheet with `in`, runs `user` with the paper page on the
    // user's thread, cancels any dialog the script left open and presses
    // `button`. Returns the caller's output record.
    TARVIK_DEVMODE RunSheet(const TARVIK_DEVMODE& in, const std::function<void(HWND page)>& user,
                            int button = PSBTN_OK);
};
} // namespace formpage
