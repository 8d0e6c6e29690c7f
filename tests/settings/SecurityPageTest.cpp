// The security page on the real sheet: what each level enables, the
// permission word rewritten on each click, the six password messages in the
// order of the check, and what Apply stores.
#include "PageInput.h"
#include "PrinterTest.h"
#include "SettingsSheet.h"
#include "WindowDriver.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <vector>

namespace
{
using settings::ResourceText;
using testhost::DefaultRecord;
using testhost::IsChecked;
using testhost::SetChecked;

using SecurityPage = testhost::PrinterTest;

// The page's controls, in its own order.
const int kControls[] = {1001, 1073, 1051, 1074, 1052, 1075, 1056, 1065, 1076, 1066, 1077, 1068,
                         1003, 1002, 1078, 1009, 1010, 1011, 1012, 1013, 1016, 1014, 1015, 1017};

std::vector<int> EnabledControls(HWND page)
{
    std::vector<int> enabled;
    for (int id : kControls)
    {
        if (IsWindowEnabled(GetDlgItem(page, id)))
            enabled.push_back(id);
    }
    return enabled;
}

// Presses OK and reads the message that keeps the page; "" when none came.
std::wstring RefusedWith(HWND sheet, HWND page)
{
    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    testhost::MessageBoxSeen seen;
    if (!testhost::AnswerMessageBox(&seen, IDOK, 10000))
        return L"";
    EXPECT_EQ(ResourceText(IDS_CAPTION_ERROR), seen.caption);
    EXPECT_EQ(page, PropSheet_GetCurrentPageHwnd(sheet)); // the page stays active
    return seen.text;
}

TEST_F(SecurityPage, LevelsEnableTheirControlsAndEachClickRewritesThePermissions)
{
    TARVIK_DEVMODE in = DefaultRecord();
    std::strcpy(in.szOpenPassword, "kept-open");
    std::strcpy(in.szPermissionsPassword, "kept-permissions");
    struct Step
    {
        const char* what;
        int level;  // picked first, -1 to keep
        int click;  // then clicked, 0 for none
        DWORD word; // the working record's permission word afterwards
        std::vector<int> enabled;
    };
    const std::vector<int> none = {1001};
    const std::vector<int> plain = {1001, 1073, 1051, 1065, 1003, 1002};
    const Step steps[] = {
        {"shown", -1, 0, 0xFFFFF0C0, none},
        {"128-bit", 2, 0, 0xFFFFF0C0, plain},
        {"permissions password",
         -1,
         1065,
         0xFFFFF0C0,
         {1001, 1073, 1051, 1065, 1076, 1066, 1077, 1068, 1003, 1002, 1078, 1009, 1012, 1013, 1016, 1014, 1015, 1017}},
        {"print", -1, 1009, 0xFFFFF0C4, {1001, 1073, 1051, 1065, 1076, 1066, 1077, 1068, 1003, 1002,
                                         1078, 1009, 1010, 1011, 1012, 1013, 1016, 1014, 1015, 1017}},
        {"high resolution", -1, 1011, 0xFFFFF8C4, {1001, 1073, 1051, 1065, 1076, 1066, 1077, 1068, 1003, 1002,
                                                   1078, 1009, 1010, 1011, 1012, 1013, 1016, 1014, 1015, 1017}},
        {"open password", -1, 1051, 0xFFFFF8C4, {1001, 1073, 1051, 1074, 1052, 1075, 1056, 1065,
                                                 1076, 1066, 1077, 1068, 1003, 1002, 1078, 1009,
                                                 1010, 1011, 1012, 1013, 1016, 1014, 1015, 1017}},
        {"40-bit",
         1,
         0,
         0xFFFFF8C4, // a level change alone keeps the word
         {1001, 1073, 1051, 1074, 1052, 1075, 1056, 1065, 1076, 1066,
          1077, 1068, 1003, 1002, 1078, 1009, 1011, 1012, 1013, 1014}},
        {"copy", -1, 1013, 0xFFFFF0D4, {1001, 1073, 1051, 1074, 1052, 1075, 1056, 1065, 1076, 1066,
                                        1077, 1068, 1003, 1002, 1078, 1009, 1011, 1012, 1013, 1014}},
        {"no encryption", 0, 0, 0xFFFFF0D4, none},
    };
    std::vector<std::vector<int>> enabled;
    std::vector<DWORD> words;
    bool printHighOnly = false, accessibilityFollowsCopy = false, encryptAll = false;
    const TARVIK_DEVMODE out = settings::RunSheet(m_printer, in, [&](HWND sheet, const TARVIK_DEVMODE& working) {
        HWND page = testhost::ShowTab(sheet, ResourceText(IDS_TITLE_SECURITY));
        ASSERT_NE(nullptr, page);
        for (const Step& step : steps)
        {
            if (step.level >= 0)
                testhost::PickListItem(GetDlgItem(page, IDC_SECURITY_LEVEL), step.level);
            if (step.click)
                testhost::ClickButton(GetDlgItem(page, step.click));
            enabled.push_back(EnabledControls(page));
            words.push_back(working.dwPermissions);
            if (step.click == IDC_SECURITY_COPY)
            {
                // At 40 bits printing is at high resolution, and copying
                // brings extraction for accessibility along.
                printHighOnly = IsChecked(GetDlgItem(page, IDC_SECURITY_PRINT_HIGH)) &&
                                !IsChecked(GetDlgItem(page, IDC_SECURITY_PRINT_LOW));
                accessibilityFollowsCopy = IsChecked(GetDlgItem(page, IDC_SECURITY_ACCESSIBILITY));
            }
        }
        encryptAll = IsChecked(GetDlgItem(page, IDC_SECURITY_ENCRYPT_ALL));
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    ASSERT_EQ(std::size(steps), enabled.size());
    for (size_t i = 0; i < std::size(steps); ++i)
    {
        SCOPED_TRACE(steps[i].what);
        EXPECT_EQ(steps[i].enabled, enabled[i]);
        EXPECT_EQ(steps[i].word, words[i]);
    }
    EXPECT_TRUE(printHighOnly);
    EXPECT_TRUE(accessibilityFollowsCopy);
    EXPECT_TRUE(encryptAll);
    // Without encryption Apply stores (1, 0) and leaves the passwords and
    // their flags as they were, whatever the page showed.
    EXPECT_EQ(1u, out.dwEncrypt);
    EXPECT_EQ(0u, out.dwKeyLength);
    EXPECT_EQ(0xFFFFF0D4, out.dwPermissions);
    EXPECT_EQ(0, out.bOpenPassword);
    EXPECT_EQ(0, out.bPermissionsPassword);
    EXPECT_STREQ("kept-open", out.szOpenPassword);
    EXPECT_STREQ("kept-permissions", out.szPermissionsPassword);
}

// The first failing condition decides the message; passwords and their
// confirmations are compared byte for byte. The record's open password has
// no terminator in its field: the page shows it cut at 32 bytes.
TEST_F(SecurityPage, PasswordChecksInTheirOrder)
{
    TARVIK_DEVMODE in = DefaultRecord();
    in.dwEncrypt = 1;
    in.dwKeyLength = 40; // the key length alone chooses the level
    std::memset(in.szOpenPassword, 'A', sizeof(in.szOpenPassword));
    std::memset(in.padding6222, 'Z', sizeof(in.padding6222));
    struct Row
    {
        bool open;
        const wchar_t* openPassword; // null: left as it is
        const wchar_t* openConfirm;
        bool permissions;
        const wchar_t* permissionsPassword;
        const wchar_t* permissionsConfirm;
        UINT message; // 0: the sheet closes
    };
    const Row rows[] = {
        {false, nullptr, nullptr, false, nullptr, nullptr, IDS_NO_PASSWORD_CHOSEN},
        {true, L"", nullptr, true, L"x", L"y", IDS_EMPTY_OPEN_PASSWORD},
        {true, L"Secret", L"secret", true, nullptr, nullptr, IDS_OPEN_PASSWORD_MISMATCH},
        {true, nullptr, L"Secret", true, L"", nullptr, IDS_EMPTY_PERMISSIONS_PASSWORD},
        {true, nullptr, nullptr, true, L"Other", L"other", IDS_PERMISSIONS_PASSWORD_MISMATCH},
        {true, nullptr, nullptr, true, L"Secret", L"Secret", IDS_SAME_PASSWORDS},
        {true, nullptr, nullptr, true, L"Other", L"Other", 0},
    };
    std::wstring stored;
    std::vector<std::wstring> messages;
    const TARVIK_DEVMODE out = settings::RunSheet(m_printer, in, [&](HWND sheet, const TARVIK_DEVMODE&) {
        HWND page = testhost::ShowTab(sheet, ResourceText(IDS_TITLE_SECURITY));
        ASSERT_NE(nullptr, page);
        stored = testhost::WindowText(GetDlgItem(page, IDC_SECURITY_OPEN_CONFIRM));
        for (const Row& row : rows)
        {
            SetChecked(GetDlgItem(page, IDC_SECURITY_OPEN), row.open);
            SetChecked(GetDlgItem(page, IDC_SECURITY_PERMISSIONS), row.permissions);
            const std::pair<int, const wchar_t*> texts[] = {
                {IDC_SECURITY_OPEN_PASSWORD, row.openPassword},
                {IDC_SECURITY_OPEN_CONFIRM, row.openConfirm},
                {IDC_SECURITY_PERMISSIONS_PASSWORD, row.permissionsPassword},
                {IDC_SECURITY_PERMISSIONS_CONFIRM, row.permissionsConfirm}};
            for (const auto& text : texts)
            {
                if (text.second)
                    testhost::ReplaceText(GetDlgItem(page, text.first), text.second);
            }
            if (row.message)
                messages.push_back(RefusedWith(sheet, page));
            else
                PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        }
    });
    EXPECT_EQ(std::wstring(32, L'A'), stored);
    std::vector<std::wstring> expected;
    for (const Row& row : rows)
    {
        if (row.message)
            expected.push_back(ResourceText(row.message));
    }
    EXPECT_EQ(expected, messages);
    EXPECT_EQ(2u, out.dwEncrypt);
    EXPECT_EQ(40u, out.dwKeyLength);
    EXPECT_EQ(1, out.bOpenPassword);
    EXPECT_STREQ("Secret", out.szOpenPassword);
    EXPECT_EQ(1, out.bPermissionsPassword);
    EXPECT_STREQ("Other", out.szPermissionsPassword);
}
} // namespace
