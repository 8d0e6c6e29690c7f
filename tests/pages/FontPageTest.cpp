// The font page on the real sheet: Printing Preferences opened through the
// spooler, worked by a user on a second thread, the caller's record checked
// after OK. The registry rule is seen from a probe run under the shell's name.
#include "PreferencesSheet.h"
#include "PrinterTest.h"
#include "ProbeRun.h"
#include "RecordFields.h"
#include "WindowDriver.h"

#include "CDlgFontSetting.h"
#include "CFormManager.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <set>

namespace
{
// The items of a font list, sorted as the tests compare them.
std::vector<std::wstring> Items(HWND page, int list)
{
    std::vector<std::wstring> items(static_cast<size_t>(ListBox_GetCount(GetDlgItem(page, list))));
    for (size_t i = 0; i < items.size(); ++i)
    {
        items[i].resize(static_cast<size_t>(ListBox_GetTextLen(GetDlgItem(page, list), i)) + 1);
        items[i].resize(static_cast<size_t>(ListBox_GetText(GetDlgItem(page, list), i, &items[i][0])));
    }
    std::sort(items.begin(), items.end());
    return items;
}

// A user's Ctrl-clicks on the named items of a list, then on a button.
void Move(HWND page, int list, const std::vector<std::wstring>& names, int button)
{
    for (const std::wstring& name : names)
        ListBox_SetSel(GetDlgItem(page, list), TRUE, ListBox_FindStringExact(GetDlgItem(page, list), -1, name.c_str()));
    testhost::ClickButton(GetDlgItem(page, button));
}

std::wstring StoredInRegistry()
{
    wchar_t data[2048] = L"";
    DWORD type = 0, bytes = sizeof(data);
    if (RegGetValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_EXCLUDE_FONTS_VALUE, RRF_RT_ANY, &type, data,
                     &bytes) != ERROR_SUCCESS)
        return L"(none)";
    return type == REG_SZ && bytes == (wcslen(data) + 1) * sizeof(wchar_t) ? data : L"(not a whole REG_SZ)";
}

int CALLBACK CollectTrueType(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM faces)
{
    if (type == TRUETYPE_FONTTYPE && font->lfFaceName[0] != L'@')
        reinterpret_cast<std::set<std::wstring>*>(faces)->insert(font->lfFaceName);
    return 1;
}

class FontPage : public testhost::PrinterTest
{
  protected:
    void SetUp() override
    {
        PrinterTest::SetUp();
        RegDeleteKeyValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_EXCLUDE_FONTS_VALUE);
    }
    // Opens the sheet on a record with this mode and list, runs `user` on the
    // font page, presses OK. This process is neither the shell nor the
    // spooler: the registry never changes.
    TARVIK_DEVMODE Edit(DWORD mode, DWORD option, const std::wstring& list,
                        const std::function<void(HWND sheet, HWND page)>& user)
    {
        TARVIK_DEVMODE in = testhost::DefaultRecord(), out = {};
        in.dwFontMode = mode;
        in.dwFontOption = option;
        std::copy(list.begin(), list.begin() + std::min(list.size() + 1, std::size(in.szExcludeFonts)),
                  in.szExcludeFonts); // a list of 2048 units or more keeps no terminator
        EXPECT_EQ(IDOK, testhost::EditInSheet(m_printer, in, &out, IDS_TITLE_FONT, [&](HWND sheet, HWND page) {
                      ASSERT_NE(nullptr, page);
                      user(sheet, page);
                  }));
        EXPECT_EQ(L"(none)", StoredInRegistry());
        return out;
    }
};

TEST_F(FontPage, ModesOptionsAndStoredList)
{
    const struct
    {
        DWORD mode, option;
        const wchar_t* list;
        int shownRadio, shownOption, click, pick; // no click: 0, no pick: -1
        BOOL listsOn, optionOn;
        DWORD storedMode, storedOption;
        const wchar_t* storedList;
    } rows[] = {
        {0, 0, L";Font A;;Font B;", IDC_FONT_MODE_NONE, 1, 0, -1, FALSE, FALSE, 3, 2, L";Font A;Font B;"},
        {7, 9, L"", IDC_FONT_MODE_NONE, 1, 0, -1, FALSE, FALSE, 3, 2, L";"},
        {1, 1, L";;", IDC_FONT_MODE_ALL, 0, IDC_FONT_MODE_EXCLUDE, 2, TRUE, TRUE, 2, 3, L";"},
        {2, 3, L"Font B;Font A", IDC_FONT_MODE_EXCLUDE, 2, IDC_FONT_MODE_ALL, 0, FALSE, TRUE, 1, 1, L";Font A;Font B;"},
        {2, 2, L";Font A;", IDC_FONT_MODE_EXCLUDE, 1, IDC_FONT_MODE_NONE, -1, FALSE, FALSE, 3, 2, L";Font A;"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.mode << "/" << row.option << " then " << row.click << "/" << row.pick);
        const TARVIK_DEVMODE out = Edit(row.mode, row.option, row.list, [&](HWND, HWND page) {
            for (int radio : {IDC_FONT_MODE_ALL, IDC_FONT_MODE_EXCLUDE, IDC_FONT_MODE_NONE})
                EXPECT_EQ(radio == row.shownRadio, IsDlgButtonChecked(page, radio) == BST_CHECKED) << radio;
            HWND option = GetDlgItem(page, IDC_FONT_OPTION);
            EXPECT_EQ(row.shownOption, ComboBox_GetCurSel(option));
            if (row.click)
                testhost::ClickButton(GetDlgItem(page, row.click));
            if (row.pick >= 0)
            {
                ComboBox_SetCurSel(option, row.pick);
                SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_FONT_OPTION, CBN_SELCHANGE), (LPARAM)option);
            }
            for (int id : {IDC_FONT_EXCLUDED, IDC_FONT_AVAILABLE, IDC_FONT_INCLUDE, IDC_FONT_EXCLUDE})
                EXPECT_EQ(row.listsOn, IsWindowEnabled(GetDlgItem(page, id))) << id;
            for (int id : {IDC_FONT_OPTION, IDC_FONT_OPTION_LABEL})
                EXPECT_EQ(row.optionOn, IsWindowEnabled(GetDlgItem(page, id))) << id;
        });
        EXPECT_EQ(row.storedMode, out.dwFontMode);
        EXPECT_EQ(row.storedOption, out.dwFontOption);
        EXPECT_STREQ(row.storedList, out.szExcludeFonts);
    }
}

// Every TrueType face is available once, an excluded one never, whatever the
// letter case the record gave it; three fonts move at once each way, one of
// them a name longer than any face name.
TEST_F(FontPage, MovesFontsBothWays)
{
    std::set<std::wstring> faces;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, nullptr, CollectTrueType, reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(2u, faces.erase(L"Tahoma") + faces.erase(L"Liberation Sans")); // Wine's fonts in the prefix
    const std::wstring longName = L"A Font Name Longer Than Any Face Name GDI Gives";
    std::vector<std::wstring> available, excluded, moved;
    const TARVIK_DEVMODE out =
        Edit(2, 2, L";liberation SANS;Zz Not Installed;" + longName + L";TAHOMA;", [&](HWND, HWND page) {
            available = Items(page, IDC_FONT_AVAILABLE);
            ASSERT_GE(available.size(), 3u);
            moved.assign(available.begin(), available.begin() + 3);
            Move(page, IDC_FONT_AVAILABLE, moved, IDC_FONT_EXCLUDE);
            EXPECT_EQ(7u, Items(page, IDC_FONT_EXCLUDED).size());
            Move(page, IDC_FONT_EXCLUDED, {longName, L"Zz Not Installed", moved[0]}, IDC_FONT_INCLUDE);
            excluded = Items(page, IDC_FONT_EXCLUDED);
        });
    EXPECT_EQ(std::vector<std::wstring>(faces.begin(), faces.end()), available);
    ASSERT_EQ(3u, moved.size());
    std::vector<std::wstring> kept = {L"TAHOMA", L"liberation SANS", moved[1], moved[2]};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, excluded);
    std::wstring stored = out.szExcludeFonts;
    for (const std::wstring& name : kept)
        stored.replace(stored.find(L";" + name + L";"), name.size() + 1, L"");
    EXPECT_EQ(L";", stored); // each kept name once between ";", nothing else
}

// A list that does not fit the record keeps the user on the page with a
// message; once it fits, OK stores it. The record's text fills its field
// with no terminator: its last name ends at the field's end.
TEST_F(FontPage, ListThatDoesNotFitKeepsThePage)
{
    const std::wstring longest(2040, L'Q');
    std::vector<std::wstring> shown;
    testhost::MessageBoxSeen seen;
    bool answered = false, stayed = false;
    const TARVIK_DEVMODE out = Edit(2, 2, L";" + longest + L";RRRRRR;SS", [&](HWND sheet, HWND page) {
        shown = Items(page, IDC_FONT_EXCLUDED);
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        answered = testhost::AnswerMessageBox(&seen, IDOK);
        // Answered on the sheet's thread once the refused OK has finished.
        stayed = PropSheet_GetCurrentPageHwnd(sheet) == page;
        Move(page, IDC_FONT_EXCLUDED, {L"RRRRRR"}, IDC_FONT_INCLUDE);
    });
    EXPECT_EQ((std::vector<std::wstring>{longest, L"RRRRRR"}), shown);
    wchar_t message[1024] = L"";
    LoadStringW(GetModuleHandleW(L"tarvikres7.dll"), IDS_EXCLUDED_FONTS_TOO_LONG, message, 1024);
    EXPECT_TRUE(answered && seen.text == message && !seen.text.empty()) << testhost::Utf8(seen.text);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(L";" + longest + L";", std::wstring(out.szExcludeFonts));
}

// Only in the shell (or the spooler) does OK keep the list in the registry.
TEST_F(FontPage, RegistryWrittenOnlyFromTheShell)
{
    for (const auto& [folder, name, stored] :
         {std::tuple(L"fa", L"explorer.exe", L";Gate Probe Font;"), std::tuple(L"fb", L"Explorer.exe", L"(none)")})
    {
        std::string output;
        EXPECT_EQ(0u, testhost::RunCopyAs(L"font_gate_probe.exe", folder, name, &output)) << output;
        EXPECT_EQ(stored, StoredInRegistry()) << testhost::Utf8(name);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_EXCLUDE_FONTS_VALUE);
    }
}
} // namespace
