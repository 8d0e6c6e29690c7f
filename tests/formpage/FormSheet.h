// Ground of the paper page tests: Printing Preferences of the installed
// printer "Tarvik" opened through the spooler, worked by a user's thread,
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
// Opens the sheet with `in`, runs `user` with the paper page's window on the
// user's thread, closes whatever dialog the script left open and presses
// `button`. Returns the caller's output record.
TARVIK_DEVMODE RunSheet(HANDLE printer, const TARVIK_DEVMODE& in, const std::function<void(HWND page)>& user,
                        int button = PSBTN_OK);

// What a user's hands send.
void Click(HWND parent, int id);             // a click that finishes at once
void ClickOpening(HWND parent, int id);      // a click that opens a modal window
void Select(HWND parent, int id, int index); // a combo box selection
void Type(HWND parent, int id, const wchar_t* text);
// Clicks `id` of a modal dialog that then closes, and waits until its owner
// has finished what follows (the owner answers a sent message only then).
void CloseWith(HWND dialog, int id, HWND owner);

// A visible top-level dialog of this process that holds control `id`.
HWND WaitForDialogWith(int id);
std::wstring Text(HWND parent, int id);
bool Enabled(HWND parent, int id);
bool Checked(HWND parent, int id);
std::vector<std::wstring> ComboItems(HWND parent, int id);
// Rows of the favourites list: names, size texts and which are ticked.
struct ListRows
{
    std::vector<std::wstring> names, sizes, ticked;
};
ListRows Rows(HWND dialog);
int RowOf(HWND dialog, const wchar_t* name);
// A click on a row's check box, and on a row.
void Tick(HWND dialog, int row, bool on);
void SelectRow(HWND dialog, int row);

// The answer to the next message box, checked against resource strings.
void ExpectMessage(UINT textId, UINT captionId, int answer);

std::wstring Resource(UINT id);
// No custom forms and no stored favourites.
void ClearFormRegistry();
// "FavoriteForm" as stored, or "(none)".
std::wstring StoredFavorites();
void StoreFavorites(const wchar_t* text);
// A stored custom form's size in thousandths of a millimetre, {-1, -1} when absent.
std::pair<LONG, LONG> StoredForm(const wchar_t* name);
void StoreForm(const wchar_t* name, LONG cx, LONG cy);

class FormSheetTest : public testhost::PrinterTest
{
  protected:
    void SetUp() override;
    void TearDown() override;
};
} // namespace formpage
