// The security page on the real sheet: what each level enables, the
// permission word rewritten on each click, the six password messages in the
// order of the check, and what Apply stores.
#include "PrinterTest.h"
#include "SheetSession.h"

#include "resource.h"

#include <array>
#include <cstring>
#include <tuple>

namespace
{
using SecurityPage = testhost::PrinterTest;

// The state of each control of the page, in the order 1001 1073 1051 1074
// 1052 1075 1056 1065 1076 1066 1077 1068 1003 1002 1078 1009 1010 1011 1012
// 1013 1016 1014 1015 1017: "+" enabled, "-" disabled, in capitals ("X",
// "x") when the control is also checked.
std::string States(HWND page)
{
    std::string states;
    for (int id : {1001, 1073, 1051, 1074, 1052, 1075, 1056, 1065, 1076, 1066, 1077, 1068,
                   1003, 1002, 1078, 1009, 1010, 1011, 1012, 1013, 1016, 1014, 1015, 1017})
    {
        const bool enabled = testhost::Enabled(page, id);
        states += IsDlgButtonChecked(page, id) ? (enabled ? 'X' : 'x') : (enabled ? '+' : '-');
    }
    return states;
}

TEST_F(SecurityPage, LevelsEnableTheirControlsAndEachClickRewritesThePermissions)
{
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    std::strcpy(in.szOpenPassword, "kept-open");
    std::strcpy(in.szPermissionsPassword, "kept-permissions");
    // The level picked first (-1 keeps it) and the control clicked then (0 for
    // none); the control states and the permission word in the working record
    // at once.
    using Step = std::tuple<int, int, std::string, DWORD>;
    const std::vector<Step> steps = {
        {-1, 0, "+------------x----------", 0xFFFFF0C0},
        {2, 0, "+++----+----+X----------", 0xFFFFF0C0},
        {-1, IDC_SECURITY_PERMISSIONS, "+++----X+++++X++--++++++", 0xFFFFF0C0},
        {-1, IDC_SECURITY_PRINT, "+++----X+++++X+XX+++++++", 0xFFFFF0C4}, // low resolution first
        {-1, IDC_SECURITY_PRINT_HIGH, "+++----X+++++X+X+X++++++", 0xFFFFF8C4},
        {-1, IDC_SECURITY_OPEN, "++X++++X+++++X+X+X++++++", 0xFFFFF8C4},
        {1, 0, "++X++++X+++++X+X-X++-+--", 0xFFFFF8C4},                  // a level change alone keeps the word
        {-1, IDC_SECURITY_COPY, "++X++++X+++++X+X-X+Xx+--", 0xFFFFF0D4}, // accessibility follows, adds nothing
        {0, 0, "+-x----x-----x-x-x-xx---", 0xFFFFF0D4},
    };
    std::vector<Step> seen;
    const TARVIK_DEVMODE out = testhost::RunSheet(m_printer, in, IDS_TITLE_SECURITY, [&](const testhost::Sheet& s) {
        for (const auto& [level, click, states, word] : steps)
        {
            if (level >= 0)
                testhost::Pick(s.page, IDC_SECURITY_LEVEL, level);
            if (click)
                testhost::Click(s.page, click);
            seen.emplace_back(level, click, States(s.page), s.working.dwPermissions);
        }
    });
    EXPECT_EQ(steps, seen);
    // Without encryption Apply stores (1, 0) and keeps the passwords and
    // their flags, whatever the page showed.
    EXPECT_EQ(1u, out.dwEncrypt);
    EXPECT_EQ(0u, out.dwKeyLength);
    EXPECT_EQ(0xFFFFF0D4, out.dwPermissions);
    EXPECT_EQ(0, out.bOpenPassword + out.bPermissionsPassword);
    EXPECT_STREQ("kept-open", out.szOpenPassword);
    EXPECT_STREQ("kept-permissions", out.szPermissionsPassword);
}

// The first failing condition decides the message; passwords and their
// confirmations are compared byte for byte. The record's open password has
// no terminator in its field: the page shows it cut at 32 bytes.
TEST_F(SecurityPage, PasswordChecksInTheirOrder)
{
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    in.dwEncrypt = 1;
    in.dwKeyLength = 40; // the key length alone chooses the level
    std::memset(in.szOpenPassword, 'A', sizeof(in.szOpenPassword));
    std::memset(in.padding6222, 'Z', sizeof(in.padding6222));
    // The two check boxes; the open password and its confirmation, the
    // permissions password and its confirmation (null keeps the edit); the
    // message OK brings, 0 when the sheet closes.
    const std::tuple<bool, bool, std::array<const wchar_t*, 4>, UINT> rows[] = {
        {false, false, {}, IDS_NO_PASSWORD_CHOSEN},
        {true, true, {L"", nullptr, L"x", L"y"}, IDS_EMPTY_OPEN_PASSWORD},
        {true, true, {L"Secret", L"secret"}, IDS_OPEN_PASSWORD_MISMATCH},
        {true, true, {nullptr, L"Secret", L""}, IDS_EMPTY_PERMISSIONS_PASSWORD},
        {true, true, {nullptr, nullptr, L"Other", L"other"}, IDS_PERMISSIONS_PASSWORD_MISMATCH},
        {true, true, {nullptr, nullptr, L"Secret", L"Secret"}, IDS_SAME_PASSWORDS},
        {true, true, {nullptr, nullptr, L"Other", L"Other"}, 0},
    };
    const int edits[] = {IDC_SECURITY_OPEN_PASSWORD, IDC_SECURITY_OPEN_CONFIRM, IDC_SECURITY_PERMISSIONS_PASSWORD,
                         IDC_SECURITY_PERMISSIONS_CONFIRM};
    std::wstring stored;
    std::vector<std::wstring> messages, expected;
    const auto script = [&](const testhost::Sheet& s) {
        stored = testhost::Text(s.page, IDC_SECURITY_OPEN_CONFIRM);
        for (const auto& [open, permissions, texts, message] : rows)
        {
            testhost::Check(s.page, IDC_SECURITY_OPEN, open);
            testhost::Check(s.page, IDC_SECURITY_PERMISSIONS, permissions);
            for (int i = 0; i < 4; ++i)
            {
                if (texts[i])
                    testhost::Type(s.page, edits[i], texts[i]);
            }
            PropSheet_PressButton(s.window, PSBTN_OK);
            if (!message)
                break;
            messages.push_back(testhost::AnswerMessageBox(IDOK, 10000));
            expected.push_back(testhost::MessageOf(IDS_CAPTION_ERROR, message));
            EXPECT_EQ(s.page, PropSheet_GetCurrentPageHwnd(s.window)); // the page stays
        }
    };
    const TARVIK_DEVMODE out = testhost::RunSheet(m_printer, in, IDS_TITLE_SECURITY, script, 0);
    EXPECT_EQ(std::wstring(32, L'A'), stored);
    EXPECT_EQ(expected, messages);
    EXPECT_EQ(2u, out.dwEncrypt);
    EXPECT_EQ(40u, out.dwKeyLength);
    EXPECT_EQ(1, out.bOpenPassword);
    EXPECT_STREQ("Secret", out.szOpenPassword);
    EXPECT_EQ(1, out.bPermissionsPassword);
    EXPECT_STREQ("Other", out.szPermissionsPassword);
}
} // namespace
