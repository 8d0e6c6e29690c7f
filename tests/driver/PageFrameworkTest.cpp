// The page framework on the real property-sheet control, with test pages of
// the real base class on a template of the real resource module.
#include "DebugCapture.h"
#include "ReportLines.h"
#include "SheetSession.h"

#include "Globals.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <new>
#include <tuple>

namespace
{
using Events = std::vector<std::wstring>;

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
    void OnInitDialog() override
    {
        m_events.push_back(L"Init");
        m_userDataAtInit = GetWindowLongPtrW(m_hWnd, GWLP_USERDATA);
    }
    void OnCommand(WORD controlId, WORD, HWND) override // a page whose heap has run out
    {
        if (controlId == IDC_INFO_SUPPORT)
            throw std::bad_alloc();
    }
    bool HandlesKillActive() const override { return m_killActive; }

    Events m_events;
    HWND m_validatedWindow = nullptr;
    int m_validateResult = 1;
    bool m_killActive = true;
    LONG_PTR m_userDataAtInit = 0;
};

// The host's CPSFUNC_SET_RESULT calls: the page and the result.
std::vector<std::pair<HANDLE, LPARAM>> g_setResults;

LONG_PTR CALLBACK RecordingHost(HANDLE, UINT function, LPARAM lParam1, LPARAM lParam2)
{
    if (function == CPSFUNC_SET_RESULT)
        g_setResults.emplace_back(reinterpret_cast<HANDLE>(lParam1), lParam2);
    return 1;
}

// Three pages, of which the user shows two: the second tab is chosen, then
// `button` pressed. Each page initialises once, finding itself in the window's
// user data; leaving a page asks its validation when it handles kill-active, and
// one that refuses stays current; OK validates the current page, applies each
// shown page once and reports CPSUI_OK for each to the host.
TEST(PageFramework, LeavingAndClosingThePages)
{
    // Whether the first page handles kill-active and what its validation
    // answers; the button; the tab shown after the switch; the first and the
    // second page's events; whether the host hears of both pages.
    const std::tuple<bool, int, int, int, Events, Events, bool> rows[] = {
        {true, 1, PSBTN_OK, 1, {L"Init", L"Validate", L"Apply"}, {L"Init", L"Validate", L"Apply"}, true},
        {true, 0, PSBTN_CANCEL, 0, {L"Init", L"Validate"}, {}, false},
        {false, 0, PSBTN_CANCEL, 1, {L"Init"}, {L"Init"}, false},
    };
    for (const auto& [killActive, validates, button, shown, firstEvents, secondEvents, reported] : rows)
    {
        SCOPED_TRACE(testing::Message() << killActive << " " << validates << " " << button);
        ProbePage first, second, neverShown;
        first.m_killActive = killActive;
        first.m_validateResult = validates;
        int selected = -1;
        for (ProbePage* page : {&first, &second, &neverShown})
            page->AttachHost(reinterpret_cast<HANDLE>(0x5150), RecordingHost);
        const INT_PTR result =
            testhost::RunPageSheet({&first, &second, &neverShown}, IDD_INFO_PAGE, IDS_TITLE_INFO, [&](HWND sheet) {
                testhost::WaitForDescendant(sheet, IDC_INFO_VERSION);
                PropSheet_SetCurSel(sheet, nullptr, 1);
                selected = static_cast<int>(SendMessageW(PropSheet_GetTabControl(sheet), TCM_GETCURSEL, 0, 0));
                PropSheet_PressButton(sheet, button);
            });
        EXPECT_EQ(button == PSBTN_OK ? 1 : 0, result);
        EXPECT_EQ(shown, selected);
        EXPECT_EQ(firstEvents, first.m_events);
        EXPECT_EQ(secondEvents, second.m_events);
        EXPECT_EQ(Events{}, neverShown.m_events);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(&first), first.m_userDataAtInit);
        EXPECT_NE(nullptr, first.m_hWnd);
        EXPECT_EQ(killActive ? first.m_hWnd : nullptr, first.m_validatedWindow);
        using Reports = std::vector<std::pair<HANDLE, LPARAM>>;
        const Reports both = {{first.m_hPage, CPSUI_OK}, {second.m_hPage, CPSUI_OK}};
        EXPECT_EQ(reported ? both : Reports(), g_setResults);
        Reports().swap(g_setResults);
    }
}

// Messages before WM_INITDIALOG find no page; an exception thrown by a page
// stops at the dialog procedure, which reports it and answers FALSE.
TEST(PageFramework, MessagesBeforeInitAndExceptionsNeverReachThePage)
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

// A string the resource module does not have shows as an empty text.
TEST(PageFramework, AMissingStringShowsAsAnEmptyText)
{
    int result = 0;
    EXPECT_EQ(std::vector<std::wstring>{testhost::ResourceText(IDS_CAPTION_ERROR) + L": "},
              testhost::CallAnsweringMessageBoxes(
                  IDOK, [&] { result = CDlgPropSheetPage::ShowMessage(nullptr, 9999, IDS_CAPTION_ERROR, MB_OK); }));
    EXPECT_EQ(IDOK, result);
}
} // namespace
