// The information page and its update check: the rules as table rows, the
// check against the local HTTP test server, and browser launches seen for real
// (the test prefix's http and https handler is our recorder program).
#include "update/CheckForUpdate.h"

#include "DebugCapture.h"
#include "HttpTestServer.h"
#include "ImportPatch.h"
#include "PrinterTest.h"
#include "SheetSession.h"

#include "pages/CDlgInfoSetting.h"
#include "core/Globals.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstring>
#include <fstream>
#include <tuple>

namespace
{
std::wstring RecorderTrace()
{
    return testhost::BinDirectory() + L"\\launched.txt";
}

// The addresses the recorder was asked to open (whole lines only), once at
// least `expected` of them are there or the wait is over.
std::vector<std::wstring> Launched(size_t expected)
{
    std::vector<std::wstring> lines;
    testhost::WaitFor([&] {
        std::ifstream file(RecorderTrace().c_str(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        lines.clear();
        for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines.size() >= expected;
    });
    return lines;
}

// Registers the recorder as the prefix's browser (the shell reads the
// protocol handlers from HKLM\Software\Classes), with an empty trace.
void RegisterRecorderAsBrowser()
{
    DeleteFileW(RecorderTrace().c_str());
    const std::wstring command = L"\"" + testhost::BinDirectory() + L"\\url_recorder.exe\" \"%1\"";
    for (const wchar_t* key :
         {L"Software\\Classes\\http\\shell\\open\\command", L"Software\\Classes\\https\\shell\\open\\command"})
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, command.c_str(),
                                                 static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))));
}

TEST(UpdateRules, VersionsCompareEachPartAsAnUnsigned16BitNumber)
{
    const std::tuple<const wchar_t*, std::array<WORD, 4>, bool> rows[] = {
        {L"7.0.1.5", {7, 0, 0, 1}, true},
        {L"7.0.0.1", {7, 0, 0, 1}, false},
        {L"6.9.9.9", {7, 0, 0, 1}, false},
        {L"1.2", {1, 1, 9, 9}, true},        // 1.2.0.0
        {L"1.2", {1, 2, 0, 0}, false},       // equal
        {L"7.0.1.5.9", {7, 0, 1, 5}, false}, // the fifth part is ignored
        {L"7.0.1.5.9", {7, 0, 1, 4}, true},
        {L"70000.0.0.0", {7, 0, 0, 1}, true}, // 70000 counts as 4464
        {L"70000.0.0.0", {5000, 0, 0, 0}, false},
        {L"7.0.40000.0", {7, 0, 39999, 0}, true}, // unsigned 16-bit parts
        {L"7.0.40000.0", {7, 0, 1, 0}, true},
        {L"7.0.1.0", {7, 0, 40000, 0}, false},
        {L" 8 .x.1", {7, 9, 9, 9}, true}, // 8.0.1.0
        {L"", {0, 0, 0, 1}, false},
    };
    for (const auto& [announced, installed, newer] : rows)
        EXPECT_EQ(newer, IsNewerVersion(announced, installed.data())) << testhost::Utf8(announced);
}

// The address comes from the network and goes to the shell, which runs
// whatever it names, and on to a browser's command line.
TEST(UpdateRules, OnlyCleanWebAddressesMayBeOpened)
{
    for (const wchar_t* web :
         {L"http://downloads.example/tarvik-7.0.1.5.exe", L"HTTPS://Downloads.Example:8443/t.exe?x=1&y=2#top",
          L"http://a.example/%22quoted%22", L"http://a.example/\x00E9t\x00E9"})
        EXPECT_TRUE(IsWebAddress(web)) << testhost::Utf8(web);
    // After the quote, blank and controls: a C1 control (next line), no-break
    // space, ideographic space and line separator.
    for (const wchar_t* other :
         {L"C:\\Windows\\system32\\calc.exe", L"file:///C:/Windows/system32/calc.exe", L"httpx://a.example/",
          L"http://", L"http:///path", L"http://a.example/\" --load-extension=x", L"http://a.example/ x.exe",
          L"http://a.example/'x'", L"http://a.example/\tx", L"http://a.example/\x7F", L"http://a.example/\x85x",
          L"http://a.example/\xA0x", L"http://a.example/\x3000x", L"http://a.example/\x2028x", L""})
        EXPECT_FALSE(IsWebAddress(other)) << testhost::Utf8(other);
    EXPECT_FALSE(IsWebAddress(nullptr));
}

std::string Answer(const std::string& version, const std::string& address, const std::string& padding = "")
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<kastrel><product><tarvik7><workflow>" + padding +
           "<version>" + version + "</version><downloadurl>" + address +
           "</downloadurl></workflow></tarvik7></product></kastrel>\r\n";
}

// The whole check (installed 7.0.0.1) against answers of the test server:
// what it finds, what the page then shows, and how the last line it wrote to
// the debugger output begins ("": none). A newer version is offered: Cancel
// opens nothing, OK opens the address. An address that may not be opened
// fails the check. Only the first 1023 bytes of the answer are parsed: the
// check works when the later end tag ends within them, and fails one byte
// later. Without a network the maker's server cannot answer: the same message.
TEST(UpdateCheck, WhatEachAnswerShows)
{
    ASSERT_TRUE(EnsureResourceModule());
    RegisterRecorderAsBrowser();
    testweb::HttpTestServer server;
    std::string problem;
    ASSERT_TRUE(server.Open(&problem)) << problem;
    HWND owner = CreateWindowExW(0, L"STATIC", L"Update check owner", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    const WORD installed[4] = {7, 0, 0, 1};
    const std::string full = Answer("9.0", "http://a.example/"), file = "C:\\Windows\\system32\\calc.exe",
                      quoted = "http://a.example/\" --new-window file:///C:/";
    const auto endingAt = [&](size_t end) { // the end tags end at byte `end`
        const size_t endOfTags = full.size() - std::strlen("</workflow></tarvik7></product></kastrel>\r\n");
        const std::string body =
            Answer("9.0", "http://a.example/", "<p>" + std::string(end - endOfTags - 7, 'x') + "</p>");
        EXPECT_EQ(end + full.size() - endOfTags, body.size());
        return body;
    };
    using O = UpdateOutcome;
    const std::tuple<const char*, std::string, int, O, int, UINT, std::string> rows[] = {
        {"the installed version", Answer("7.0.0.1", "http://a.example/same.exe"), 200, O::kNotNewer, IDOK,
         IDS_NO_NEWER_VERSION, ""},
        {"newer, cancelled", Answer("7.0.1.5", "http://a.example/no.exe"), 200, O::kNewer, IDCANCEL, IDS_NEWER_VERSION,
         ""},
        {"a file", Answer("9.0", file), 200, O::kFailed, IDOK, IDS_NO_NEWER_VERSION,
         "The download address is not a web address: " + file},
        {"a quote", Answer("9.0", quoted), 200, O::kFailed, IDOK, IDS_NO_NEWER_VERSION,
         "The download address is not a web address: " + quoted},
        {"newer, opened", Answer("9.0", "HTTPS://Downloads.Example/t.exe"), 200, O::kNewer, IDOK, IDS_NEWER_VERSION,
         ""},
        {"not found", full, 404, O::kFailed, IDOK, IDS_NO_NEWER_VERSION, "Can not request "},
        {"a text", "Hello, this is not an update answer.", 200, O::kFailed, IDOK, IDS_NO_NEWER_VERSION,
         "Can not find kastrel node"},
        {"broken XML", "<?xml version=\"1.0\"?><kastrel></product>", 200, O::kFailed, IDOK, IDS_NO_NEWER_VERSION,
         "Can not parse xml from "},
        {"no declaration", full.substr(full.find("<kastrel>")), 200, O::kFailed, IDOK, IDS_NO_NEWER_VERSION,
         "Can not find kastrel node"},
        {"no workflow", "<?xml version=\"1.0\"?><kastrel><product><tarvik7></tarvik7></product></kastrel>", 200,
         O::kFailed, IDOK, IDS_NO_NEWER_VERSION, "Can not find workflow node"},
        {"empty version",
         "<?xml?><kastrel><product><tarvik7><workflow><version></version><downloadurl>http://a.example/"
         "</downloadurl></workflow></tarvik7></product></kastrel>",
         200, O::kFailed, IDOK, IDS_NO_NEWER_VERSION, "Can not find version node or downloadurl"},
        {"ends at byte 1023", endingAt(1023), 200, O::kNewer, IDCANCEL, IDS_NEWER_VERSION, ""},
        {"ends at byte 1024", endingAt(1024), 200, O::kFailed, IDCANCEL, IDS_NO_NEWER_VERSION,
         "Can not parse xml from "},
    };
    for (const auto& [what, body, status, outcome, choice, message, line] : rows)
    {
        SCOPED_TRACE(what);
        testhost::DebugCapture capture;
        EXPECT_TRUE(server.PublishFile(L"checkupdate.xml", body));
        const std::wstring url = server.Url(L"/tarvikpro7/checkupdate.html?type=text/xml&file=checkupdate.xml&status=" +
                                            std::to_wstring(status));
        const UpdateCheckResult result = CheckForUpdate(url.c_str(), installed);
        EXPECT_EQ(outcome, result.outcome);
        EXPECT_EQ(outcome == O::kFailed, result.error != 0);
        EXPECT_EQ(
            std::vector<std::wstring>{testhost::MessageOf(IDS_CAPTION_INFORMATION, message)},
            testhost::CallAnsweringMessageBoxes(choice, [&] { CDlgInfoSetting::ShowUpdateResult(owner, result); }));
        const std::vector<std::wstring> lines = capture.Lines();
        EXPECT_EQ(line.empty(), lines.empty());
        if (!lines.empty())
        {
            EXPECT_EQ(0u, lines.back().find(std::wstring(line.begin(), line.end()))) << testhost::Utf8(lines.back());
        }
    }
    EXPECT_EQ(std::vector<std::wstring>{L"HTTPS://Downloads.Example/t.exe"}, Launched(1));
    testhost::DebugCapture capture;
    EXPECT_EQ(O::kFailed, CheckForUpdate(TARVIK_UPDATE_URL, installed).outcome);
    const std::vector<std::wstring> lines = capture.Lines();
    EXPECT_EQ(L"Can not request http://www.kastrel.com/tarvikpro7/checkupdate.html url",
              lines.empty() ? L"" : lines.back());
    DestroyWindow(owner);
}

// A module without a readable version shows four zeros: here the page runs
// inside this test program, which carries no version resource.
TEST(UpdateCheck, UnreadableVersionShowsZeros)
{
    CDlgInfoSetting page;
    std::wstring version;
    testhost::RunPageSheet({&page}, IDD_INFO_PAGE, IDS_TITLE_INFO, [&](HWND sheet) {
        version = testhost::WindowText(testhost::WaitForDescendant(sheet, IDC_INFO_VERSION));
        PropSheet_PressButton(sheet, PSBTN_CANCEL);
    });
    EXPECT_EQ(L"Version 0.0.0.0", version);
}

// The page on the real sheet, through the spooler. The module's GetCursorPos
// answers with the point under test and its SetCursor is watched, so the
// page's own answer to WM_SETCURSOR is read, whatever the real pointer does.
POINT g_pointer;
std::atomic<HCURSOR> g_cursorSet(nullptr);
void* g_realSetCursor = nullptr;

using InfoPage = testhost::PrinterTest;

TEST_F(InfoPage, OnTheRealSheet)
{
    RegisterRecorderAsBrowser();
    const TARVIK_DEVMODE in = testhost::DefaultRecord();
    HCURSOR overLink = nullptr, besideLink = nullptr;
    std::wstring version, updateMessage;
    const TARVIK_DEVMODE out = testhost::RunSheet(m_printer, in, IDS_TITLE_INFO, [&](const testhost::Sheet& s) {
        HWND page = s.page, link = GetDlgItem(page, IDC_INFO_LINK);
        version = testhost::Text(page, IDC_INFO_VERSION);
        HMODULE module = GetModuleHandleW(L"tarvikui.dll");
        const auto pointerStandIn = +[](POINT* point) -> BOOL {
            *point = g_pointer;
            return TRUE;
        };
        const auto setCursorWatch = +[](HCURSOR cursor) {
            g_cursorSet = cursor;
            return reinterpret_cast<HCURSOR(WINAPI*)(HCURSOR)>(g_realSetCursor)(cursor);
        };
        void* realPointer =
            testhost::PatchImport(module, "user32.dll", "GetCursorPos", reinterpret_cast<void*>(pointerStandIn));
        g_realSetCursor =
            testhost::PatchImport(module, "user32.dll", "SetCursor", reinterpret_cast<void*>(setCursorWatch));
        RECT rect;
        GetWindowRect(link, &rect);
        const auto pointAt = [&](LONG x) {
            g_pointer = {x, (rect.top + rect.bottom) / 2};
            SendMessageW(page, WM_SETCURSOR, reinterpret_cast<WPARAM>(page), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            return g_cursorSet.load();
        };
        overLink = pointAt((rect.left + rect.right) / 2);
        besideLink = pointAt(rect.right + 2);
        SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, 0); // beside the link: nothing opens
        pointAt(rect.left + 2);
        SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        Launched(1);
        testhost::Click(page, IDC_INFO_SUPPORT);
        Launched(2);
        // The button checks the maker's server, which the test prefix cannot reach.
        PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_INFO_CHECK_UPDATE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_INFO_CHECK_UPDATE)));
        updateMessage = testhost::AnswerMessageBox(IDOK);
        testhost::PatchImport(module, "user32.dll", "GetCursorPos", realPointer);
        testhost::PatchImport(module, "user32.dll", "SetCursor", g_realSetCursor);
    });
    EXPECT_EQ(std::wstring(L"Version ") + TARVIK_VERSION_TEXT, version);
    EXPECT_EQ(testhost::MessageOf(IDS_CAPTION_INFORMATION, IDS_NO_NEWER_VERSION), updateMessage);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), overLink);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), besideLink);
    // The click beside the link came first: had it opened anything, that would lead.
    EXPECT_EQ((std::vector<std::wstring>{L"http://www.kastrel.com", L"http://www.kastrel.com/qna.do?cmd=insert"}),
              Launched(2));
    EXPECT_EQ("", testhost::RecordDifferences(&in, &out)); // the page edits nothing
}
} // namespace
