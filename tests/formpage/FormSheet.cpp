#include "FormSheet.h"

#include "WindowDriver.h"

#include "CFormManager.h"
#include "Globals.h"
#include "resource.h"

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

void WaitUntilGone(HWND window)
{
    testhost::WaitFor([window] { return !IsWindow(window); });
}

void Notify(HWND parent, int id, WORD code)
{
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}

std::wstring RowText(HWND list, int row, int column)
{
    wchar_t text[256] = L"";
    ListView_GetItemText(list, row, column, text, 256);
    return text;
}
} // namespace

TARVIK_DEVMODE FormSheetTest::RunSheet(const TARVIK_DEVMODE& in, const std::function<void(HWND page)>& user, int button)
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
            // A failed script may leave dialogs over the sheet: innermost first.
            for (int left = 5; left > 0; --left)
            {
                HWND open = testhost::WaitForTopWindow([&](HWND w) { return w != sheet && IsDialog(w); }, 0);
                if (!open)
                    break;
                PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
                WaitUntilGone(open);
            }
            PostMessageW(sheet, PSM_PRESSBUTTON, button, 0);
        });
        wchar_t name[] = L"Tarvik";
        DocumentPropertiesW(nullptr, m_printer, name, reinterpret_cast<DEVMODEW*>(&out),
                            reinterpret_cast<DEVMODEW*>(&input), DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
    }
    return out;
}

void User::Select(HWND p, int id, int index)
{
    SendMessageW(GetDlgItem(p, id), CB_SETCURSEL, index, 0);
    Notify(p, id, CBN_SELCHANGE);
}

void User::Type(HWND p, int id, const wchar_t* text)
{
    SendMessageW(GetDlgItem(p, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    Notify(p, id, EN_CHANGE);
}

void User::CloseWith(HWND dialog, int id, HWND owner)
{
    Click(dialog, id);
    WaitUntilGone(dialog);
    // Handled only once the owner's thread is back in its message loop.
    SendMessageW(owner, WM_NULL, 0, 0);
}

void User::ExpectMessage(UINT textId, UINT captionId, int answer)
{
    testhost::MessageBoxSeen seen;
    ASSERT_TRUE(testhost::AnswerMessageBox(&seen, answer)) << "no message " << textId;
    EXPECT_EQ(Resource(textId), seen.text);
    EXPECT_EQ(Resource(captionId), seen.caption);
}

HWND User::WaitForDialogWith(int id)
{
    return testhost::WaitForTopWindow([&](HWND w) { return IsDialog(w) && GetDlgItem(w, id); });
}

Texts User::ComboItems(HWND p, int id)
{
    Texts items;
    for (int i = 0; i < SendDlgItemMessageW(p, id, CB_GETCOUNT, 0, 0); ++i)
    {
        wchar_t item[128] = L"";
        SendDlgItemMessageW(p, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        items.push_back(item);
    }
    return items;
}

ListRows User::Rows(HWND dialog)
{
    ListRows rows;
    HWND list = GetDlgItem(dialog, IDC_FAVORITE_LIST);
    for (int row = 0; row < SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); ++row)
    {
        rows.names.push_back(RowText(list, row, 0));
        rows.sizes.push_back(RowText(list, row, 1));
        if (SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2))
            rows.ticked.push_back(rows.names.back());
    }
    return rows;
}

int User::RowOf(HWND dialog, const wchar_t* name)
{
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = name;
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_FAVORITE_LIST, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(&find)));
}

void User::SetRow(HWND dialog, const wchar_t* name, UINT state, UINT mask)
{
    LVITEMW item = {};
    item.state = state;
    item.stateMask = mask;
    SendDlgItemMessageW(dialog, IDC_FAVORITE_LIST, LVM_SETITEMSTATE, RowOf(dialog, name),
                        reinterpret_cast<LPARAM>(&item));
}

std::wstring Resource(UINT id)
{
    wchar_t text[1024] = L"";
    if (EnsureResourceModule())
        LoadStringW(g_hResModule, id, text, 1024);
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

void ClearFormRegistry()
{
    RegDeleteKeyW(HKEY_CURRENT_USER, TARVIK_FORMS_KEY);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE);
}
} // namespace formpage
