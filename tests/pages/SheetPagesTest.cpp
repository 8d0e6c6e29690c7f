// The graphics, document information, security and option pages: their
// rules that need no window as table rows (the password byte bound is proven
// in a code page 949 process: SecurityKoreanTest.cpp); the pages on the real
// sheet, the option page in a sheet of its own.
#include "PrinterTest.h"
#include "SheetSession.h"

#include "pages/CDlgGraphicsSetting.h"
#include "pages/CDlgOptionSetting.h"
#include "pages/CDlgSecuritySetting.h"
#include "resource.h"

#include <array>
#include <cstring>
#include <tuple>

namespace
{
using namespace testhost;
using SheetPages = PrinterTest;
using Graphics = CDlgGraphicsSetting;

TEST(SettingsRules, PermissionWordGrantsWhatTheLevelKnows)
{
    constexpr DWORD kAll = 4 | 8 | 16 | 32 | 256 | 512 | 1024 | 2048;
    const std::tuple<int, DWORD, DWORD> rows[] = {{0, kAll, 0xFFFFF0C0},     {1, kAll, 0xFFFFF0FC},
                                                  {1, 4 | 2048, 0xFFFFF0C4}, {2, 4 | 2048, 0xFFFFF8C4},
                                                  {2, kAll, 0xFFFFFFFC},     {2, 256 | 1024, 0xFFFFF5C0}};
    for (const auto& [level, granted, word] : rows)
        EXPECT_EQ(word, CDlgSecuritySetting::PermissionWord(level, granted)) << level << " " << granted;
}

TEST(SettingsRules, QualityListsFollowTheCompression)
{
    // The image class, its compression and stored quality; the position,
    // text and value (what Apply stores) of the entry selected.
    const std::tuple<int, DWORD, DWORD, int, UINT, DWORD> rows[] = {
        {1, 1, 1, 0, IDS_ZIP_QUALITY_1, 1},  {1, 1, 4, 2, IDS_ZIP_QUALITY_3, 3},  {1, 2, 4, 1, IDS_JPEG_QUALITY_2, 4},
        {1, 2, 1, 4, IDS_JPEG_QUALITY_5, 1}, {1, 2, 5, 0, IDS_JPEG_QUALITY_1, 5}, {1, 2, 0, 0, IDS_JPEG_QUALITY_1, 5},
        {2, 1, 2, 1, IDS_ZIP_QUALITY_2, 2},  {3, 1, 0, 2, IDS_ZIP_QUALITY_3, 3}};
    for (const auto& [imageClass, compression, stored, position, text, value] : rows)
    {
        SCOPED_TRACE(testing::Message() << imageClass << " " << compression << " " << stored);
        const Graphics::QualityItem* items = nullptr;
        ASSERT_EQ(compression == Graphics::kZip ? 3u : 5u, Graphics::QualityItems(imageClass, compression, &items));
        ASSERT_EQ(position, Graphics::QualityPosition(compression, stored));
        EXPECT_EQ(text, items[position].textId);
        EXPECT_EQ(value, items[position].value);
    }
    const Graphics::QualityItem* items = nullptr;
    EXPECT_EQ(0u,
              Graphics::QualityItems(2, Graphics::kJpeg, &items) + Graphics::QualityItems(3, Graphics::kJpeg, &items));
}

TEST(SettingsRules, ResolutionEntriesKeepOnlyDigits)
{
    // What was typed and the caret after it; what is kept and the caret then.
    const std::tuple<std::wstring, int, std::wstring, int> rows[] = {
        {L"7a", 2, L"7", 1},
        {L"72", 2, L"72", 2},
        {L"a7", 1, L"7", 0},
        {L"1x20", 2, L"120", 1},
        {L"9a1b9", 4, L"919", 2},
        {L"3 dpi,0", 7, L"30", 2},
        {L"x", 1, L"", 0},
        {L"\x0663"
         L"5",
         2, L"5", 1}, // only 0 to 9 are digits
    };
    for (auto [text, caret, kept, caretAfter] : rows)
    {
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_EQ(caretAfter, Graphics::KeepDigits(&text[0], caret));
        EXPECT_EQ(kept, std::wstring(text.c_str()));
    }
}

// The security page's controls in this order: "+" enabled, "-" disabled, "X" or "x" when also checked.
std::string States(HWND page)
{
    std::string states;
    for (int id : {1001, 1073, 1051, 1074, 1052, 1075, 1056, 1065, 1076, 1066, 1077, 1068,
                   1003, 1002, 1078, 1009, 1010, 1011, 1012, 1013, 1016, 1014, 1015, 1017})
    {
        const bool enabled = Enabled(page, id);
        states += IsDlgButtonChecked(page, id) ? (enabled ? 'X' : 'x') : (enabled ? '+' : '-');
    }
    return states;
}

// One record through three pages, each editing only its own fields.
TEST_F(SheetPages, EachPageShowsAndEditsItsOwnFields)
{
    TARVIK_DEVMODE in = DefaultRecord();
    lstrcpyW(in.szExcludeFonts, L";"); // as the font page stores it when shown
    in.dwCompression1 = 7;             // anything but ZIP shows JPEG
    in.dwQuality1 = 4;
    in.dwCompression2 = 9; // classes 2 and 3 know only ZIP
    in.dwQuality2 = 2;
    in.dwQuality3 = 0;
    in.bDownsample1 = in.bDownsample2 = in.bDownsample3 = 1;
    in.nResolution1 = in.nResolution2 = in.nResolution3 = 300;
    in.dwDownsampleMethod1 = in.dwDownsampleMethod2 = in.dwDownsampleMethod3 = 5;
    std::fill(std::begin(in.szTitle), std::end(in.szTitle), L'T'); // no terminator: shown cut at the field
    lstrcpyW(in.szAuthor, L"Ann Author");                          // the field after the title
    lstrcpyW(in.szSubject, L"Old subject");                        // subject and keywords cross the record's order
    lstrcpyW(in.szKeywords, L"old, keywords");
    lstrcpyW(in.szDocInfoExtra, L"Old creator");
    std::strcpy(in.szOpenPassword, "kept-open");
    std::strcpy(in.szPermissionsPassword, "kept-permissions");
    // The security level picked first (-1 keeps it) and the control clicked
    // then (0 for none); the control states and the permission word in the
    // working record at once.
    const std::tuple<int, int, std::string, DWORD> steps[] = {
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
    const TARVIK_DEVMODE out = RunSheet(m_printer, in, IDS_TITLE_GRAPHICS, [&](const Sheet& s) {
        HWND page = s.page;
        const auto position = [&](int id) { return SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0); };
        std::vector<LRESULT> shown; // compression and quality positions, then the quality list's changes
        for (int id : {IDC_GRAPHICS_COMPRESSION_1, IDC_GRAPHICS_QUALITY_1, IDC_GRAPHICS_COMPRESSION_2,
                       IDC_GRAPHICS_QUALITY_2, IDC_GRAPHICS_COMPRESSION_3, IDC_GRAPHICS_QUALITY_3})
            shown.push_back(position(id));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_GRAPHICS_DOWNSAMPLE_GROUP)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_GRAPHICS_RESOLUTION_1)));
        EXPECT_FALSE(Enabled(s.window, kApplyButton));
        Pick(page, IDC_GRAPHICS_COMPRESSION_1, 0); // ZIP: the stored 4 is its last level
        shown.push_back(SendDlgItemMessageW(page, IDC_GRAPHICS_QUALITY_1, CB_GETCOUNT, 0, 0));
        shown.push_back(position(IDC_GRAPHICS_QUALITY_1));
        Pick(page, IDC_GRAPHICS_COMPRESSION_1, 1); // JPEG again: the stored 4, not ZIP's choice
        shown.push_back(position(IDC_GRAPHICS_QUALITY_1));
        EXPECT_EQ((std::vector<LRESULT>{1, 1, 0, 1, 0, 2, 3, 2, 1}), shown);
        EXPECT_TRUE(Enabled(s.window, kApplyButton));
        Pick(page, IDC_GRAPHICS_QUALITY_1, 3);
        // The digit filter of the hidden resolution entry.
        HWND resolution = GetDlgItem(page, IDC_GRAPHICS_RESOLUTION_1);
        Key(FindWindowExW(resolution, nullptr, L"Edit", nullptr), L"7a");
        EXPECT_EQ(L"7", WindowText(resolution));
        DWORD caret = 0;
        SendMessageW(resolution, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&caret), 0);
        EXPECT_EQ(1u, caret);

        page = ShowTab(s.window, IDS_TITLE_DOCINFO);
        std::vector<std::wstring> texts;
        for (int id :
             {IDC_DOCINFO_TITLE, IDC_DOCINFO_AUTHOR, IDC_DOCINFO_SUBJECT, IDC_DOCINFO_KEYWORDS, IDC_DOCINFO_EXTRA})
            texts.push_back(Text(page, id));
        EXPECT_EQ((std::vector<std::wstring>{std::wstring(64, L'T'), L"Ann Author", L"Old subject", L"old, keywords",
                                             L"Old creator"}),
                  texts);
        Type(page, IDC_DOCINFO_SUBJECT, L"New subject");
        Type(page, IDC_DOCINFO_KEYWORDS, L"new, keywords");
        Type(page, IDC_DOCINFO_AUTHOR, L"");
        Key(GetDlgItem(page, IDC_DOCINFO_EXTRA), std::wstring(70, L'x'));
        EXPECT_EQ(std::wstring(64, L'x'), Text(page, IDC_DOCINFO_EXTRA)); // typing stops at 64

        page = ShowTab(s.window, IDS_TITLE_SECURITY);
        for (const auto& [level, click, states, word] : steps)
        {
            if (level >= 0)
                Pick(page, IDC_SECURITY_LEVEL, level);
            if (click)
                Click(page, click);
            EXPECT_EQ(states, States(page)) << level << " " << click;
            EXPECT_EQ(word, s.working.dwPermissions) << level << " " << click;
        }
    });
    TARVIK_DEVMODE expected = in;
    // Hidden and untouched, the downsampling controls store their neutral
    // values; the typed resolution is stored as it stayed.
    expected.dwCompression1 = 2;
    expected.dwQuality1 = 2; // the fourth JPEG level
    expected.dwCompression2 = 1;
    expected.dwQuality3 = 3;
    expected.bDownsample1 = expected.bDownsample2 = expected.bDownsample3 = 0;
    expected.nResolution1 = 7;
    expected.nResolution2 = expected.nResolution3 = 72;
    expected.dwDownsampleMethod1 = expected.dwDownsampleMethod2 = expected.dwDownsampleMethod3 = 0xFFFFFFFF;
    expected.szTitle[63] = L'\0';
    expected.szAuthor[0] = L'\0';
    lstrcpyW(expected.szSubject, L"New subject");    // byte 5880
    lstrcpyW(expected.szKeywords, L"new, keywords"); // byte 5752
    lstrcpyW(expected.szDocInfoExtra, std::wstring(63, L'x').c_str());
    // Without encryption OK stores (1, 0) and keeps the passwords, their flags
    // off, whatever the page showed.
    expected.dwEncrypt = 1;
    expected.dwKeyLength = 0;
    expected.dwPermissions = 0xFFFFF0D4;
    expected.bOpenPassword = expected.bPermissionsPassword = 0;
    EXPECT_EQ("", RecordDifferences(&expected, &out));
}

// A record that encrypts at 128 bits with both passwords and an uneven set
// of permissions: each control shows its own field or bit, and OK hands the
// record back whole.
TEST_F(SheetPages, SecurityShowsEveryFieldOfItsRecordAndOkKeepsIt)
{
    TARVIK_DEVMODE in = DefaultRecord();
    in.dwEncrypt = 2;
    in.dwKeyLength = 128;
    in.dwPermissions = 0xFFFFF0C0 | 4 | 16 | 256 | 1024; // low-resolution printing, copying, forms, assembling
    in.bOpenPassword = in.bPermissionsPassword = 1;
    std::strcpy(in.szOpenPassword, "open-Sesame");
    std::strcpy(in.szPermissionsPassword, "Perms-42");
    const TARVIK_DEVMODE out = RunSheet(m_printer, in, IDS_TITLE_SECURITY, [&](const Sheet& s) {
        EXPECT_EQ(2, SendDlgItemMessageW(s.page, IDC_SECURITY_LEVEL, CB_GETCURSEL, 0, 0));
        std::vector<std::wstring> texts;
        for (int id : {IDC_SECURITY_OPEN_PASSWORD, IDC_SECURITY_OPEN_CONFIRM, IDC_SECURITY_PERMISSIONS_PASSWORD,
                       IDC_SECURITY_PERMISSIONS_CONFIRM})
            texts.push_back(Text(s.page, id));
        EXPECT_EQ((std::vector<std::wstring>{L"open-Sesame", L"open-Sesame", L"Perms-42", L"Perms-42"}), texts);
        EXPECT_EQ("++X++++X+++++X+XX++X++XX", States(s.page));
        HWND confirm = GetDlgItem(s.page, IDC_SECURITY_OPEN_CONFIRM);
        Key(confirm, std::wstring(33, L'k')); // typing stops at 32 bytes
        EXPECT_EQ(std::wstring(32, L'k'), WindowText(confirm));
        Type(s.page, IDC_SECURITY_OPEN_CONFIRM, L"open-Sesame");
    });
    EXPECT_EQ("", RecordDifferences(&in, &out));
}

// The first failing condition decides the message; passwords and their
// confirmations are compared byte for byte. The record's open password has
// no terminator in its field: the page shows it cut at 32 bytes.
TEST_F(SheetPages, PasswordChecksInTheirOrder)
{
    TARVIK_DEVMODE in = DefaultRecord();
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
    const auto script = [&](const Sheet& s) {
        stored = Text(s.page, IDC_SECURITY_OPEN_CONFIRM);
        for (const auto& [open, permissions, texts, message] : rows)
        {
            Check(s.page, IDC_SECURITY_OPEN, open);
            Check(s.page, IDC_SECURITY_PERMISSIONS, permissions);
            for (int i = 0; i < 4; ++i)
            {
                if (texts[i])
                    Type(s.page, edits[i], texts[i]);
            }
            PropSheet_PressButton(s.window, PSBTN_OK);
            if (!message)
                break;
            messages.push_back(AnswerMessageBox(IDOK, 10000));
            expected.push_back(MessageOf(IDS_CAPTION_ERROR, message));
            EXPECT_EQ(s.page, PropSheet_GetCurrentPageHwnd(s.window)); // the page stays
        }
    };
    const TARVIK_DEVMODE out = RunSheet(m_printer, in, IDS_TITLE_SECURITY, script, 0);
    EXPECT_EQ(std::wstring(32, L'A'), stored);
    EXPECT_EQ(expected, messages);
    EXPECT_EQ(2u, out.dwEncrypt);
    EXPECT_EQ(40u, out.dwKeyLength);
    EXPECT_EQ(1, out.bOpenPassword);
    EXPECT_STREQ("Secret", out.szOpenPassword);
    EXPECT_EQ(1, out.bPermissionsPassword);
    EXPECT_STREQ("Other", out.szPermissionsPassword);
}

TEST(OptionPage, FlagWordThroughTheControls)
{
    // The flag word in and the buttons clicked; the flag word out, the view
    // radio button selected (0 for none), and whether the view and the
    // rotation radio buttons are enabled.
    const std::tuple<DWORD, std::vector<int>, DWORD, int, std::string> rows[] = {
        {0x77C00000, {}, 0x77C00000, IDC_OPTION_VIEW_PAGES, "++"}, // the default survives
        {0x77FFFFFF, {}, 0x77C00000, IDC_OPTION_VIEW_PAGES, "++"}, // bits 21 to 0 go
        {0xFFFFFFFF, {}, 0xF7C00000, IDC_OPTION_VIEW_PAGES, "++"}, // bit 28 wins over 27
        {0x00800000, {}, 0x08800000, IDC_OPTION_VIEW_BOOKMARKS, "--"},
        {0x00400000, {}, 0x08400000, IDC_OPTION_VIEW_THUMBNAILS, "--"},
        {0x00000000, {}, 0x08400000, 0, "--"}, // no view shown; bit 22 stored
        // Choices switched off are disabled, yet still decide their bits.
        {0x77C00000,
         {IDC_OPTION_VIEW_BOOKMARKS, IDC_OPTION_ROTATE_ALL, IDC_OPTION_OPENING_VIEW, IDC_OPTION_AUTO_ROTATE,
          IDC_OPTION_OPEN_AFTER_SAVE},
         0xCE800000,
         IDC_OPTION_VIEW_BOOKMARKS,
         "--"},
    };
    for (const auto& [in, clicks, out, view, enabled] : rows)
    {
        SCOPED_TRACE(testing::Message() << std::hex << in << " and " << clicks.size() << " clicks");
        TARVIK_DEVMODE record = DefaultRecord();
        record.dwOptionFlags = in;
        CDlgOptionSetting page;
        page.AttachRecord(nullptr, &record);
        int shownView = -1;
        std::string shownEnabled;
        RunPageSheet({&page}, IDD_OPTION_PAGE, IDS_TITLE_OPTION, [&](HWND sheet) {
            HWND window = PropSheet_GetCurrentPageHwnd(sheet);
            for (int id : clicks)
                Click(window, id);
            shownView = 0;
            for (int id : {IDC_OPTION_VIEW_PAGES, IDC_OPTION_VIEW_BOOKMARKS, IDC_OPTION_VIEW_THUMBNAILS})
                shownView = IsDlgButtonChecked(window, id) ? id : shownView;
            for (int id : {IDC_OPTION_VIEW_THUMBNAILS, IDC_OPTION_ROTATE_EACH})
                shownEnabled += Enabled(window, id) ? '+' : '-';
            PropSheet_PressButton(sheet, PSBTN_OK);
        });
        EXPECT_EQ(out, record.dwOptionFlags);
        EXPECT_EQ(view, shownView);
        EXPECT_EQ(enabled, shownEnabled);
    }
}
} // namespace
