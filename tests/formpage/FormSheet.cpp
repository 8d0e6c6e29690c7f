#include "FormSheet.h"

#include "PrinterInstaller.h"

#include "CFormManager.h"
#include "resource.h"

#include <commctrl.h>

#include <cstring>

namespace formpage
{
namespace
{
bool IsDialog(HWND window)
{
    wchar_t name[16];
    return GetClassNameW(window, name, 16) && lstrcmpW(name, L"#32770") == 0;
}

// Cancels the dialogs a failed script left open over the sheet, innermost
// first, so that the sheet can close.
void CloseDialogsOver(HWND sheet)
{
    for (int round = 0; round < 5; ++round)
    {
        HWND open = testhost::WaitForTopWindow([&](HWND w) { return w != sheet && IsDialog(w); }, 0);
        if (!open)
            return;
        PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
        for (DWORD start = GetTickCount(); IsWindow(open) && GetTickCount() - start < 5000;)
            Sleep(10);
    }
}

void Notify(HWND parent, int id, WORD code)
{
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}

std::wstring RowText(HWND list, int row, int column)
{
    wchar_t text[256] = L"";
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

void SetRowState(HWND dialog, int row, UINT state, UINT mask)
{
    LVITEMW item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageW(GetDlgItem(dialog, IDC_FAVORITE_LIST), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}
} // namespace

void ClearFormRegistry()
{
    RegDeleteKeyW(HKEY_CURRENT_USER, TARVIK_FORMS_KEY);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE);
}

TARVIK_DEVMODE RunSheet(HANDLE printer, const TARVIK_DEVMODE& in, const std::function<void(HWND page)>& user,
                        int button)
{
    TARVIK_DEVMODE input = in, out;
    std::memset(&out, 0xCC, sizeof(out));
    {
        testhost::UserThread thread([&] {
            HWND sheet = testhost::WaitForSheet();
            HWND fixed = sheet ? testhost::WaitForDescendant(sheet, IDC_FORM_FIXED_SIZE) : nullptr;
            EXPECT_NE(nullptr, fixed);
            if (fixed)
                user(GetParent(fixed));
            CloseDialogsOver(sheet);
            PostMessageW(sheet, PSM_PRESSBUTTON, button, 0);
        });
        wchar_t name[] = L"Tarvik";
        DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(&out),
                            reinterpret_cast<DEVMODEW*>(&input), DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
    }
    return out;
}

void Click(HWND parent, int id)
{
    testhost::ClickButton(GetDlgItem(parent, id));
}

void ClickOpening(HWND parent, int id)
{
    PostMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0);
}

void Select(HWND parent, int id, int index)
{
    SendMessageW(GetDlgItem(parent, id), CB_SETCURSEL, index, 0);
    Notify(parent, id, CBN_SELCHANGE);
}

void Type(HWND parent, int id, const wchar_t* text)
{
    SendMessageW(GetDlgItem(parent, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    Notify(parent, id, EN_CHANGE);
}

void CloseWith(HWND dialog, int id, HWND owner)
{
    Click(dialog, id);
    for (DWORD start = GetTickCount(); IsWindow(dialog) && GetTickCount() - start < 20000;)
        Sleep(10);
    SendMessageW(owner, WM_NULL, 0, 0);
}

HWND WaitForDialogWith(int id)
{
    return testhost::WaitForTopWindow([&](HWND w) { return IsDialog(w) && GetDlgItem(w, id); });
}

std::wstring Text(HWND parent, int id)
{
    return testhost::WindowText(GetDlgItem(parent, id));
}

bool Enabled(HWND parent, int id)
{
    return IsWindowEnabled(GetDlgItem(parent, id)) != FALSE;
}

bool Checked(HWND parent, int id)
{
    return IsDlgButtonChecked(parent, id) == BST_CHECKED;
}

std::vector<std::wstring> ComboItems(HWND parent, int id)
{
    std::vector<std::wstring> items;
    HWND combo = GetDlgItem(parent, id);
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        std::wstring item(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
        item.resize(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0])));
        items.push_back(item);
    }
    return items;
}

ListRows Rows(HWND dialog)
{
    ListRows rows;
    HWND list = GetDlgItem(dialog, IDC_FAVORITE_LIST);
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
    {
        rows.names.push_back(RowText(list, row, 0));
        rows.sizes.push_back(RowText(list, row, 1));
        if (SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2))
            rows.ticked.push_back(rows.names.back());
    }
    return rows;
}

int RowOf(HWND dialog, const wchar_t* name)
{
    const ListRows rows = Rows(dialog);
    for (size_t i = 0; i < rows.names.size(); ++i)
    {
        if (rows.names[i] == name)
            return static_cast<int>(i);
    }
    return -1;
}

void Tick(HWND dialog, int row, bool on)
{
    SetRowState(dialog, row, INDEXTOSTATEIMAGEMASK(on ? 2 : 1), LVIS_STATEIMAGEMASK);
}

void SelectRow(HWND dialog, int row)
{
    SetRowState(dialog, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void ExpectMessage(UINT textId, UINT captionId, int answer)
{
    testhost::MessageBoxSeen seen;
    ASSERT_TRUE(testhost::AnswerMessageBox(&seen, answer)) << "no message " << textId;
    EXPECT_EQ(Resource(textId), seen.text);
    EXPECT_EQ(Resource(captionId), seen.caption);
}

std::wstring Resource(UINT id)
{
    HMODULE module =
        LoadLibraryExW((testhost::BinDirectory() + L"\\tarvikres7.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    wchar_t text[1024] = L"";
    LoadStringW(module, id, text, 1024);
    FreeLibrary(module);
    return text;
}

std::wstring StoredFavorites()
{
    wchar_t text[1024];
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE, RRF_RT_REG_SZ, nullptr, text,
                     &size) != ERROR_SUCCESS)
        return L"(none)";
    return text;
}

void StoreFavorites(const wchar_t* text)
{
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE, REG_SZ, text,
                                             static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t))));
}

std::pair<LONG, LONG> StoredForm(const wchar_t* name)
{
    BYTE data[kCustomFormRecordSize];
    DWORD size = sizeof(data);
    if (RegGetValueW(HKEY_CURRENT_USER, TARVIK_FORMS_KEY, name, RRF_RT_REG_BINARY, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return {-1, -1};
    LONG size2[2];
    std::memcpy(size2, data + 16, sizeof(size2));
    return {size2[0], size2[1]};
}

void StoreForm(const wchar_t* name, LONG cx, LONG cy)
{
    BYTE data[kCustomFormRecordSize] = {};
    const DWORD flags = FORM_CUSTOM;
    std::memcpy(data, &flags, sizeof(flags));
    std::memcpy(data + 16, &cx, sizeof(cx));
    std::memcpy(data + 20, &cy, sizeof(cy));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetKeyValueW(HKEY_CURRENT_USER, TARVIK_FORMS_KEY, name, REG_BINARY, data, sizeof(data)));
}

void FormSheetTest::SetUp()
{
    PrinterTest::SetUp();
    ClearFormRegistry();
}

void FormSheetTest::TearDown()
{
    ClearFormRegistry();
    PrinterTest::TearDown();
}
} // namespace formpage
