// Ground of the paper page tests: Printing Preferences of the installed
// printer "Tarvik" opened through the spooler and worked by a user's thread,
// with no custom forms and no stored favourites before and after each test.
#pragma once

#include "PrinterTest.h"
#include "WindowDriver.h"

#include "SettingsRecord.h"

#include <functional>
#include <string>
#include <vector>

namespace formpage
{
using Texts = std::vector<std::wstring>;

// Opens the sheet with `in`, runs `user` with the paper page on the user's
// thread, cancels any dialog the script left open and presses `button`.
// Returns the caller's output record.
TARVIK_DEVMODE RunSheet(HANDLE printer, const TARVIK_DEVMODE& in, const std::function<void(HWND page)>& user,
                        int button = PSBTN_OK);

// What a user's hands send. ClickOpening is for a click that opens a modal
// window (the sent click would wait for it to close).
void Click(HWND parent, int id);
void ClickOpening(HWND parent, int id);
void Select(HWND parent, int id, int index);
void Type(HWND parent, int id, const wchar_t* text);
// Clicks `id` of a modal dialog that closes with it, then waits until the
// dialog is gone and `owner` has finished what follows.
void CloseWith(HWND dialog, int id, HWND owner);
// The next message box: its text and caption checked against the resource
// module, answered with `answer`.
void ExpectMessage(UINT textId, UINT captionId, int answer);

// A visible top-level dialog of this process that holds control `id`.
HWND WaitForDialogWith(int id);
std::wstring Text(HWND parent, int id);
bool Enabled(HWND parent, int id);
Texts ComboItems(HWND parent, int id);

// The favourites list: names, size texts and the ticked names, row by row.
struct ListRows
{
    Texts names, sizes, ticked;
};
ListRows Rows(HWND dialog);
int RowOf(HWND dialog, const wchar_t* name);
void Tick(HWND dialog, const wchar_t* name, bool on);
void SelectRow(HWND dialog, const wchar_t* name);

std::wstring Resource(UINT id);
// "FavoriteForm" as stored, or "(none)".
std::wstring StoredFavorites();
void StoreFavorites(const wchar_t* text);
void ClearFormRegistry();

class FormSheetTest : public testhost::PrinterTest
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
};
} // namespace formpage
