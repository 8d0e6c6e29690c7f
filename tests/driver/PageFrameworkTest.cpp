// The page framework on the real property-sheet control: page descriptions,
// the shared dialog procedure (init, apply, kill-active), MarkChanged and
// the message boxes. Test pages derive from the real base class and use a
// template of the real resource module.
#include "DebugCapture.h"
#include "ReportLines.h"
#include "WindowDriver.h"

#include "CDlgPropSheetPage.h"
#include "Globals.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <new>
#include <vector>

namespace
{
// The property-sheet frame's Apply button.
constexpr int kApplyButton = 0x3021;

class ProbePage : public CDlgPropSheetPage
{
  public:
    DWORD Apply() override
    {
        m_events.push_back(L"Apply");
        return 0;
    }
    int Validate(HWND hDlg) override
    {
        m_events.push_back(L"Validate");
        m_validatedWindow = hDlg;
        return m_validateResult;
    }

    std::vector<std::wstring> m_events;
    HWND m_validatedWindow = nullptr;
    int m_validateResult = 1;
    bool m_killActive = true;

  protected:
    void OnInitDialog() override
    {
        m_events.push_back(L"Init");
        m_userDataAtInit = GetWindowLongPtrW(m_hWnd, GWLP_USERDATA);
    }
    // A user action on the page: the page tells the sheet.
    void OnCommand(WORD controlId, WORD, HWND) override
    {
        if (controlId == IDC_INFO_CHECK_UPDATE)
            MarkChanged();
        if (controlId == IDC_INFO_SUPPORT) // a page whose heap has run out
            throw std::bad_alloc();
    }
    bool HandlesKillActive() const override { return m_killActive; }

  public:
    LONG_PTR m_userDataAtInit = 0;
};

// The host callback as the property-sheet host implements it, recording
// every CPSFUNC_SET_RESULT.
struct HostCall
{
    HANDLE page;
    LPARAM result;
};
std::vector<HostCall> g_setResults;

LONG_PTR CALLBACK RecordingHost(HANDLE, UINT function, LPARAM lParam1, LPARAM lParam2)
{
    if (function == CPSFUNC_SET_RESULT)
        g_setResults.push_back({reinterpret_cast<HANDLE>(lParam1), lParam2});
    return 1;
}

class PageFramework : public testing::Test
{
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(EnsureResourceModule()); }
    void TearDown() override { std::vector<HostCall>().swap(g_setResults); }

    // Shows `pages` in a modal property sheet while `user` acts on it.
    static INT_PTR RunSheet(std::vector<ProbePage*> pages, const std::function<void(HWND)>& user)
    {
        std::vector<HPROPSHEETPAGE> handles;
        for (ProbePage* page : pages)
        {
            PROPSHEETPAGEW* description = nullptr;
            EXPECT_EQ(0u, CreatePropSheetPage(&description, IDD_INFO_PAGE, IDS_TITLE_INFO, PropSheetPageProc, page));
            HPROPSHEETPAGE handle = CreatePropertySheetPageW(description);
            LocalFree(description);
            page->AttachHost(reinterpret_cast<HANDLE>(0x5150), RecordingHost);
            page->SetPageHandle(handle);
            handles.push_back(handle);
        }
        PROPSHEETHEADERW header = {};
        header.dwSize = sizeof(header);
        header.dwFlags = PSH_NOCONTEXTHELP;
        header.pszCaption = L"Framework probe";
        header.nPages = static_cast<UINT>(handles.size());
        header.phpage = handles.data();
        testhost::UserThread thread([&] {
            HWND sheet = testhost::WaitForDialog(L"Framework probe");
            ASSERT_NE(nullptr, sheet);
            user(sheet);
        });
        return PropertySheetW(&header);
    }
};

TEST_F(PageFramework, OkAppliesEveryShownPageOnceAndReportsToTheHost)
{
    ProbePage first, second, neverShown;
    const INT_PTR result = RunSheet({&first, &second, &neverShown}, [](HWND sheet) {
        PropSheet_SetCurSel(sheet, nullptr, 1); // show the second page too
        testhost::WaitForDescendant(sheet, IDC_INFO_VERSION);
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ(1, result);
    // Init once, then on OK each shown page applies once. The first page was
    // validated when it was left, the second (current) one when OK came.
    EXPECT_EQ((std::vector<std::wstring>{L"Init", L"Validate", L"Apply"}), first.m_events);
    EXPECT_EQ((std::vector<std::wstring>{L"Init", L"Validate", L"Apply"}), second.m_events);
    EXPECT_TRUE(neverShown.m_events.empty());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&first), first.m_userDataAtInit);
    EXPECT_NE(nullptr, first.m_hWnd);
    EXPECT_EQ(first.m_hWnd, first.m_validatedWindow);
    ASSERT_EQ(2u, g_setResults.size());
    for (const HostCall& call : g_setResults)
        EXPECT_EQ(LPARAM(CPSUI_OK), call.result);
    EXPECT_EQ(first.m_hPage, g_setResults[0].page);
    EXPECT_EQ(second.m_hPage, g_setResults[1].page);
}

// Leaving a page that refuses validation keeps it current; a page that does
// not handle kill-active is left without being asked.
TEST_F(PageFramework, LeavingAPageAsksItsValidation)
{
    for (bool killActive : {true, false})
    {
        SCOPED_TRACE(killActive);
        ProbePage stubborn, other;
        stubborn.m_killActive = killActive;
        stubborn.m_validateResult = 0;
        int selectedAfterSwitch = -1;
        RunSheet({&stubborn, &other}, [&](HWND sheet) {
            testhost::WaitForDescendant(sheet, IDC_INFO_VERSION);
            PropSheet_SetCurSel(sheet, nullptr, 1);
            selectedAfterSwitch = static_cast<int>(SendMessageW(PropSheet_GetTabControl(sheet), TCM_GETCURSEL, 0, 0));
            PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        });
        EXPECT_EQ(killActive ? 0 : 1, selectedAfterSwitch);
        EXPECT_EQ(killActive ? (std::vector<std::wstring>{L"Init", L"Validate"}) : std::vector<std::wstring>{L"Init"},
                  stubborn.m_events);
        EXPECT_EQ(killActive ? std::vector<std::wstring>{} : std::vector<std::wstring>{L"Init"}, other.m_events);
        EXPECT_TRUE(g_setResults.empty());
    }
}

TEST_F(PageFramework, MarkChangedEnablesApplyAtOnce)
{
    ProbePage page;
    BOOL before = -1, after = -1;
    RunSheet({&page}, [&](HWND sheet) {
        HWND button = testhost::WaitForDescendant(sheet, IDC_INFO_CHECK_UPDATE);
        HWND apply = GetDlgItem(sheet, kApplyButton);
        before = IsWindowEnabled(apply);
        // Sent, not posted: the button is enabled when the command returns.
        SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(IDC_INFO_CHECK_UPDATE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        after = IsWindowEnabled(apply);
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    EXPECT_EQ(FALSE, before);
    EXPECT_EQ(TRUE, after);
}

// Messages before WM_INITDIALOG find no page; an exception thrown by a page
// stops at the dialog procedure, which reports it and answers FALSE.
TEST_F(PageFramework, MessagesBeforeInitAndExceptionsNeverReachThePage)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    NMHDR notify = {window, 0, static_cast<UINT>(PSN_APPLY)};
    EXPECT_EQ(FALSE, PropSheetPageProc(window, WM_COMMAND, MAKEWPARAM(IDC_INFO_SUPPORT, BN_CLICKED), 0));
    EXPECT_EQ(FALSE, PropSheetPageProc(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify)));
    EXPECT_EQ(FALSE, PropSheetPageProc(window, WM_SETFONT, 0, 0));

    ProbePage page;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&page));
    testhost::DebugCapture capture;
    SetLastError(0xdeadbeef);
    EXPECT_EQ(FALSE, PropSheetPageProc(window, WM_COMMAND, MAKEWPARAM(IDC_INFO_SUPPORT, BN_CLICKED), 0));
    EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
    EXPECT_EQ("", testhost::ReportMismatch(capture.Lines(), ERROR_NOT_ENOUGH_MEMORY,
                                           L"An exception was stopped at PropSheetPageProc()",
                                           {L"@ExceptionBarrier", L"from PropSheetPageProc()"}));
    DestroyWindow(window);
}

// Texts and captions come from the resource module; a string it does not
// have shows as an empty text.
TEST_F(PageFramework, MessageBoxesTakeTheirTextsFromTheResourceModule)
{
    struct Row
    {
        UINT text; // 0: the given text
        UINT caption;
        UINT type;
        int answer;
    };
    const Row rows[] = {{IDS_NEWER_VERSION, IDS_CAPTION_INFORMATION, MB_OKCANCEL, IDCANCEL},
                        {0, IDS_CAPTION_ERROR, 0, IDOK},
                        {9999, IDS_CAPTION_ERROR, MB_OK, IDOK}};
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.text);
        wchar_t text[1024] = L"", caption[128] = L"";
        LoadStringW(g_hResModule, row.text, text, 1024);
        ASSERT_GT(LoadStringW(g_hResModule, row.caption, caption, 128), 0);
        testhost::MessageBoxSeen seen;
        int result = 0;
        {
            testhost::UserThread user([&] { testhost::AnswerMessageBox(&seen, row.answer); });
            if (row.text)
                result = CDlgPropSheetPage::ShowMessage(nullptr, row.text, row.caption, row.type);
            else
                CDlgPropSheetPage::ShowMessageText(nullptr, L"Message\t: given text", row.caption, row.type);
        }
        if (row.text) // the given text's box returns nothing
        {
            EXPECT_EQ(row.answer, result);
        }
        EXPECT_EQ(std::wstring(caption), seen.caption);
        EXPECT_EQ(row.text ? std::wstring(text) : L"Message\t: given text", seen.text);
    }
}
} // namespace
