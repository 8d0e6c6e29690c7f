// The page framework on the real property-sheet control: page descriptions,
// the shared dialog procedure (init, apply, kill-active) and the message
// boxes. (MarkChanged is seen through the pages: the paper page's test reads
// the Apply button right after each action.) Test pages derive from the real base class and use a
// template of the real resource module.
#include "DebugCapture.h"
#include "ReportLines.h"
#include "SheetSession.h"

#include "Globals.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <new>

namespace
{
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
    // A page whose heap has run out.
    void OnCommand(WORD controlId, WORD, HWND) override
    {
        if (controlId == IDC_INFO_SUPPORT)
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
    void TearDown() override { std::vector<HostCall>().swap(g_setResults); }

    // Shows `pages`, each reporting to the recording host, while `user` acts.
    static INT_PTR RunSheet(const std::vector<CDlgPropSheetPage*>& pages, const std::function<void(HWND)>& user)
    {
        for (CDlgPropSheetPage* page : pages)
            page->AttachHost(reinterpret_cast<HANDLE>(0x5150), RecordingHost);
        return testhost::RunPageSheet(pages, IDD_INFO_PAGE, IDS_TITLE_INFO, user);
    }
};

TEST_F(PageFramework, OkAppliesEveryShownPageOnceAndReportsToTheHost)
{
    ProbePage first, second, neverShown;
    const INT_PTR result = RunSheet({&first, &second, &neverShown}, [](HWND sheet) {
        PropSheet_SetCurSel(sheet, nullptr, 1); // show the second page too
        testhost::WaitForDescendant(sheet, IDC_INFO_VERSION);
        PropSheet_PressButton(sheet, PSBTN_OK);
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
            PropSheet_PressButton(sheet, PSBTN_CANCEL);
        });
        EXPECT_EQ(killActive ? 0 : 1, selectedAfterSwitch);
        EXPECT_EQ(killActive ? (std::vector<std::wstring>{L"Init", L"Validate"}) : std::vector<std::wstring>{L"Init"},
                  stubborn.m_events);
        EXPECT_EQ(killActive ? std::vector<std::wstring>{} : std::vector<std::wstring>{L"Init"}, other.m_events);
        EXPECT_TRUE(g_setResults.empty());
    }
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

// A string the resource module does not have shows as an empty text. (The
// pages' tests read their texts and captions, and the answers they act on.)
TEST_F(PageFramework, AMissingStringShowsAsAnEmptyText)
{
    int result = 0;
    EXPECT_EQ(std::vector<std::wstring>{testhost::ResourceText(IDS_CAPTION_ERROR) + L": "},
              testhost::CallAnsweringMessageBoxes(
                  IDOK, [&] { result = CDlgPropSheetPage::ShowMessage(nullptr, 9999, IDS_CAPTION_ERROR, MB_OK); }));
    EXPECT_EQ(IDOK, result);
}
} // namespace
