// The information page and its update check. Browser launches are observed
// for real: the test prefix's http and https handler is our recorder
// program, which writes down every address it is asked to open. The update
// answers come from the local HTTP test server.
#include "DebugCapture.h"
#include "PreferencesSheet.h"
#include "PrinterTest.h"
#include "RecordFields.h"
#include "WindowDriver.h"

#include "HttpTestServer.h"

#include "CDlgInfoSetting.h"
#include "Globals.h"
#include "SettingsRecord.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <atomic>
#include <functional>
#include <vector>

namespace
{
std::wstring RecorderTrace()
{
    return testhost::BinDirectory() + L"\\launched.txt";
}

// The addresses the recorder was asked to open, once `expected` of them are
// there or the wait is over.
std::vector<std::wstring> Launched(size_t expected, DWORD waitMs = 10000)
{
    const DWORD start = GetTickCount();
    std::vector<std::wstring> lines;
    for (;;)
    {
        lines.clear();
        HANDLE file = CreateFileW(RecorderTrace().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
        {
            std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
            DWORD read = 0;
            ReadFile(file, &text[0], static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
            CloseHandle(file);
            for (size_t begin = 0, end; (end = text.find(L'\n', begin)) != std::wstring::npos; begin = end + 1)
                lines.push_back(text.substr(begin, end - begin));
        }
        if (lines.size() >= expected || GetTickCount() - start > waitMs)
            return lines;
        Sleep(50);
    }
}

// Registers the recorder as the prefix's browser (the shell reads the
// protocol handlers from HKLM\Software\Classes).
void RegisterRecorderAsBrowser()
{
    const std::wstring command = L"\"" + testhost::BinDirectory() + L"\\url_recorder.exe\" \"%1\"";
    for (const wchar_t* key :
         {L"Software\\Classes\\http\\shell\\open\\command", L"Software\\Classes\\https\\shell\\open\\command"})
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, command.c_str(),
                                                 static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))));
}

bool ProcessRunning(const wchar_t* name)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        found = lstrcmpiW(entry.szExeFile, name) == 0;
    CloseHandle(snapshot);
    return found;
}

std::string Answer(const std::string& version, const std::string& address, const std::string& padding = "")
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<kastrel><product><tarvik7><workflow>" + padding +
           "<version>" + version + "</version><downloadurl>" + address +
           "</downloadurl></workflow></tarvik7></product></kastrel>\r\n";
}

class UpdateCheck : public testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(EnsureResourceModule());
        RegisterRecorderAsBrowser();
        std::string problem;
        ASSERT_TRUE(s_server.Open(&problem)) << problem;
    }

    void SetUp() override
    {
        DeleteFileW(RecorderTrace().c_str());
        m_owner = CreateWindowExW(0, L"STATIC", L"Update check owner", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
        m_page.m_hWnd = m_owner;
    }
    void TearDown() override
    {
        m_page.m_hWnd = nullptr;
        DestroyWindow(m_owner);
    }

    void Installed(WORD a, WORD b, WORD c, WORD d)
    {
        m_page.m_wMajor1 = a;
        m_page.m_wMajor2 = b;
        m_page.m_wMinor1 = c;
        m_page.m_wMinor2 = d;
    }

    // Runs the check against `url` while a user answers every message box
    // with `choice`; returns the texts of the boxes shown.
    std::vector<std::wstring> Check(const std::wstring& url, int choice)
    {
        return Answering(choice, [&] { m_page.CheckForUpdateAt(url.c_str()); });
    }

    // Runs `check` while a user answers every message box with `choice`.
    static std::vector<std::wstring> Answering(int choice, const std::function<void()>& check)
    {
        std::vector<std::wstring> shown;
        std::atomic<bool> done(false);
        {
            testhost::UserThread user([&] {
                while (!done)
                {
                    testhost::MessageBoxSeen seen;
                    if (testhost::AnswerMessageBox(&seen, choice, 100))
                        shown.push_back(seen.text);
                }
            });
            check();
            done = true;
        }
        return shown;
    }

    // The check against an answer with these bytes.
    std::vector<std::wstring> CheckAnswer(const std::string& body, int choice, int status = 200)
    {
        EXPECT_TRUE(s_server.PublishFile(L"checkupdate.xml", body));
        return Check(s_server.Url(L"/tarvikpro7/checkupdate.html?type=text/xml&file=checkupdate.xml&status=" +
                                  std::to_wstring(status)),
                     choice);
    }

    std::wstring Text(UINT id)
    {
        wchar_t text[1024] = L"";
        LoadStringW(g_hResModule, id, text, 1024);
        return text;
    }

    static testweb::HttpTestServer s_server;
    HWND m_owner = nullptr;
    CDlgInfoSetting m_page;
};
testweb::HttpTestServer UpdateCheck::s_server;

TEST_F(UpdateCheck, ComparesVersionsPartByPart)
{
    struct Row
    {
        const char* answer;
        WORD installed[4];
        bool newer;
    };
    const Row rows[] = {
        {"7.0.1.5", {7, 0, 0, 1}, true},
        {"7.0.0.1", {7, 0, 0, 1}, false},
        {"6.9.9.9", {7, 0, 0, 1}, false},
        {"1.2", {1, 1, 9, 9}, true},        // 1.2.0.0
        {"1.2", {1, 2, 0, 0}, false},       // equal
        {"7.0.1.5.9", {7, 0, 1, 5}, false}, // the fifth part is ignored
        {"7.0.1.5.9", {7, 0, 1, 4}, true},
        {"70000.0.0.0", {7, 0, 0, 1}, true}, // 70000 counts as 4464
        {"70000.0.0.0", {5000, 0, 0, 0}, false},
        {"7.0.40000.0", {7, 0, 39999, 0}, true}, // unsigned 16-bit parts
        {" 8 .x.1", {7, 9, 9, 9}, true},         // 8.0.1.0
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.answer);
        Installed(row.installed[0], row.installed[1], row.installed[2], row.installed[3]);
        const std::vector<std::wstring> shown =
            CheckAnswer(Answer(row.answer, "http://downloads.example/tarvik.exe"), IDCANCEL);
        EXPECT_EQ(std::vector<std::wstring>{Text(row.newer ? IDS_NEWER_VERSION : IDS_NO_NEWER_VERSION)}, shown);
    }
    EXPECT_TRUE(Launched(0, 0).empty()); // every offer was cancelled
}

TEST_F(UpdateCheck, OkOpensTheDownloadAddressInTheBrowser)
{
    Installed(7, 0, 0, 1);
    for (const char* address : {"http://downloads.example/tarvik-7.0.1.5.exe", "HTTPS://Downloads.Example/t.exe"})
    {
        SCOPED_TRACE(address);
        DeleteFileW(RecorderTrace().c_str());
        EXPECT_EQ(std::vector<std::wstring>{Text(IDS_NEWER_VERSION)}, CheckAnswer(Answer("7.0.1.5", address), IDOK));
        const std::string a(address);
        EXPECT_EQ(std::vector<std::wstring>{std::wstring(a.begin(), a.end())}, Launched(1));
    }
}

// The download address comes from the network: anything but a web address
// is a failed check and is never launched.
TEST_F(UpdateCheck, NonWebAddressesAreNeverLaunched)
{
    Installed(7, 0, 0, 1);
    const std::wstring recorder = testhost::BinDirectory() + L"\\url_recorder.exe";
    std::string recorderPath(recorder.begin(), recorder.end());
    std::string recorderUrl = "file:///" + recorderPath;
    for (char& c : recorderUrl)
    {
        if (c == '\\')
            c = '/';
    }
    for (const std::string& address :
         {std::string("C:\\Windows\\system32\\calc.exe"), recorderPath, recorderUrl, std::string("httpx://a.example/")})
    {
        SCOPED_TRACE(address);
        testhost::DebugCapture capture;
        EXPECT_EQ(std::vector<std::wstring>{Text(IDS_NO_NEWER_VERSION)}, CheckAnswer(Answer("9.0", address), IDOK));
        EXPECT_EQ(L"The download address is not a web address: " + std::wstring(address.begin(), address.end()),
                  capture.Lines().empty() ? L"" : capture.Lines().back());
    }
    EXPECT_TRUE(Launched(1, 2000).empty());
    EXPECT_FALSE(ProcessRunning(L"calc.exe"));
}

TEST_F(UpdateCheck, FailedChecksShowTheNoUpdateMessage)
{
    Installed(7, 0, 0, 1);
    struct Row
    {
        const char* what;
        std::string body;
        int status;
        const wchar_t* line; // how the last debug line begins
    };
    const std::string full = Answer("9.0", "http://a.example/");
    const Row rows[] = {
        {"not found", full, 404, L"Can not request "},
        {"server error", full, 500, L"Can not request "},
        {"a text, not a document", "Hello, this is not an update answer.", 200, L"Can not find kastrel node"},
        {"broken XML", "<?xml version=\"1.0\"?><kastrel></product>", 200, L"Can not parse xml from "},
        {"no declaration before kastrel", full.substr(full.find("<kastrel>")), 200, L"Can not find kastrel node"},
        {"no workflow", "<?xml version=\"1.0\"?><kastrel><product><tarvik7></tarvik7></product></kastrel>", 200,
         L"Can not find workflow node"},
        {"no download address",
         "<?xml?><kastrel><product><tarvik7><workflow><version>9.0</version></workflow></tarvik7></product></kastrel>",
         200, L"Can not find version node or downloadurl"},
        {"empty version",
         "<?xml?><kastrel><product><tarvik7><workflow><version></version><downloadurl>http://a.example/"
         "</downloadurl></workflow></tarvik7></product></kastrel>",
         200, L"Can not find version node or downloadurl"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        testhost::DebugCapture capture;
        EXPECT_EQ(std::vector<std::wstring>{Text(IDS_NO_NEWER_VERSION)}, CheckAnswer(row.body, IDOK, row.status));
        const auto lines = capture.Lines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(0u, lines.back().find(row.line)) << std::string(lines.back().begin(), lines.back().end());
    }
    EXPECT_TRUE(Launched(1, 1000).empty());
}

// Only the first 1023 bytes of the answer are parsed: the check works when
// the later of the two end tags ends within them, and fails one byte later.
TEST_F(UpdateCheck, AnswerIsCutAfter1023Bytes)
{
    Installed(7, 0, 0, 1);
    const std::string head = Answer("9.0", "http://a.example/");
    const std::string tail = "</workflow></tarvik7></product></kastrel>\r\n";
    const size_t endOfTags = head.size() - tail.size(); // just past </downloadurl>
    for (size_t end : {size_t(1023), size_t(1024)})
    {
        SCOPED_TRACE(end);
        const std::string padding = "<p>" + std::string(end - endOfTags - 7, 'x') + "</p>";
        const std::string body = Answer("9.0", "http://a.example/", padding);
        ASSERT_EQ(end, body.size() - tail.size());
        EXPECT_EQ(std::vector<std::wstring>{Text(end <= 1023 ? IDS_NEWER_VERSION : IDS_NO_NEWER_VERSION)},
                  CheckAnswer(body, IDCANCEL));
    }
}

// Without a network the maker's server cannot answer: the same message.
TEST_F(UpdateCheck, MakersServerUnreachable)
{
    Installed(7, 0, 0, 1);
    testhost::DebugCapture capture;
    const std::vector<std::wstring> shown = Answering(IDOK, [&] { m_page.CheckForUpdate(); });
    EXPECT_EQ(std::vector<std::wstring>{Text(IDS_NO_NEWER_VERSION)}, shown);
    const auto lines = capture.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(L"Can not request http://www.kastrel.com/tarvikpro7/checkupdate.html url", lines.back());
}

// A module without a readable version shows four zeros: here the page runs
// inside this test program, which carries no version resource.
TEST_F(UpdateCheck, UnreadableVersionShowsZeros)
{
    CDlgInfoSetting page;
    PROPSHEETPAGEW* description = nullptr;
    ASSERT_EQ(0u, CreatePropSheetPage(&description, IDD_INFO_PAGE, IDS_TITLE_INFO, PropSheetPageProc, &page));
    HPROPSHEETPAGE handle = CreatePropertySheetPageW(description);
    LocalFree(description);
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.pszCaption = L"Version probe";
    header.nPages = 1;
    header.phpage = &handle;
    std::wstring version;
    {
        testhost::UserThread user([&] {
            HWND sheet = testhost::WaitForDialog(L"Version probe");
            version = testhost::WindowText(testhost::WaitForDescendant(sheet, IDC_INFO_VERSION));
            PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        });
        PropertySheetW(&header);
    }
    EXPECT_EQ(L"Version 0.0.0.0", version);
    EXPECT_EQ(0, page.m_wMajor1 + page.m_wMajor2 + page.m_wMinor1 + page.m_wMinor2);
}

// The page on the real sheet, through the spooler: version, cursor, link
// and support button.
using InfoPage = testhost::PrinterTest;

TEST_F(InfoPage, OnTheRealSheet)
{
    RegisterRecorderAsBrowser();
    DeleteFileW(RecorderTrace().c_str());
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    lstrcpyW(in.szExcludeFonts, L";"); // as the font page stores an empty list
    std::vector<BYTE> out(kRecordSize, 0xCC);
    HCURSOR overLink = nullptr, besideLink = nullptr;
    std::vector<std::wstring> afterOutsideClick;
    {
        testhost::UserThread user([&] {
            HWND sheet = testhost::WaitForSheet();
            ASSERT_NE(nullptr, sheet);
            testhost::ShowSheetTab(sheet, IDS_TITLE_INFO); // the last tab
            HWND link = testhost::WaitForDescendant(sheet, IDC_INFO_LINK);
            ASSERT_NE(nullptr, link);
            HWND page = GetParent(link);
            RECT rect;
            GetWindowRect(link, &rect);
            const int y = (rect.top + rect.bottom) / 2;
            CURSORINFO info = {};
            info.cbSize = sizeof(info);

            SetCursorPos((rect.left + rect.right) / 2, y);
            SendMessageW(page, WM_SETCURSOR, reinterpret_cast<WPARAM>(page), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            GetCursorInfo(&info);
            overLink = info.hCursor;

            SetCursorPos(rect.right + 2, y); // just outside
            SendMessageW(page, WM_SETCURSOR, reinterpret_cast<WPARAM>(page), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            GetCursorInfo(&info);
            besideLink = info.hCursor;
            SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            afterOutsideClick = Launched(1, 1500);

            SetCursorPos(rect.left + 2, y);
            SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            Launched(1);
            testhost::ClickButton(testhost::FindDescendant(page, IDC_INFO_SUPPORT));
            Launched(2);
            PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        });
        wchar_t name[] = L"Tarvik";
        EXPECT_EQ(IDOK,
                  DocumentPropertiesW(nullptr, m_printer, name, reinterpret_cast<DEVMODEW*>(out.data()),
                                      reinterpret_cast<DEVMODEW*>(&in), DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER));
    }
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), overLink);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), besideLink);
    EXPECT_TRUE(afterOutsideClick.empty());
    EXPECT_EQ((std::vector<std::wstring>{L"http://www.kastrel.com", L"http://www.kastrel.com/qna.do?cmd=insert"}),
              Launched(2));
    EXPECT_EQ("", testhost::RecordDifferences(&in, out.data())); // the page edits nothing
}
} // namespace
