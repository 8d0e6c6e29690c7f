// The document and device sheets through Wine's host, and with a recording
// host from INIT to DESTROY; the page framework on the real property-sheet
// control, with test pages of the real base class on a real template.
#include "DebugCapture.h"
#include "HeapWatch.h"
#include "ImportPatch.h"
#include "PrinterTest.h"
#include "ReportLines.h"
#include "SheetSession.h"

#include "core/Globals.h"
#include "entry/DriverInterface.h"
#include "pages/SheetPages.h"
#include "resource.h"

#include <algorithm>
#include <new>
#include <tuple>

namespace
{
using namespace testhost;
using DocumentSheet = PrinterTest;

// The tabs in their order, and the record the caller gets back after OK and
// after Cancel: the input, which the paper page shown stores again on OK. The
// device sheet, through the host's own entry, has one static page.
TEST_F(DocumentSheet, TabsAndTheReturnedRecord)
{
    std::vector<std::wstring> expectedTabs;
    for (UINT title :
         {IDS_TITLE_FORM, IDS_TITLE_FONT, IDS_TITLE_GRAPHICS, IDS_TITLE_DOCINFO, IDS_TITLE_SECURITY, IDS_TITLE_INFO})
        expectedTabs.push_back(ResourceText(title));
    for (int button : {PSBTN_OK, PSBTN_CANCEL})
    {
        SCOPED_TRACE(button);
        TARVIK_DEVMODE in = DefaultRecord();
        lstrcpyW(in.szTitle, L"Annual report");
        in.dwResolution = 600; // the paper page stores the resolution's copies with it on OK
        in.dmPrintQuality = in.dmYResolution = 600;
        std::vector<std::wstring> tabs;
        const TARVIK_DEVMODE out = RunSheet(
            m_printer, in, 0, [&](const Sheet& s) { tabs = TabTitles(s.window); }, button);
        EXPECT_EQ(expectedTabs, tabs);
        EXPECT_EQ("", RecordDifferences(&in, &out));
    }
    HMODULE module = LoadLibraryW((BinDirectory() + L"\\tarvikui.dll").c_str());
    auto device =
        reinterpret_cast<PFNPROPSHEETUI>(reinterpret_cast<void*>(GetProcAddress(module, "DrvDevicePropertySheets")));
    ASSERT_NE(nullptr, device);
    std::vector<std::wstring> tabs;
    {
        UserThread user([&] {
            HWND sheet = WaitForSheet();
            tabs = TabTitles(sheet);
            PropSheet_PressButton(sheet, PSBTN_OK);
        });
        wchar_t name[] = L"Tarvik";
        DEVICEPROPERTYHEADER header = {sizeof(header), 0, nullptr, name};
        DWORD result = 0;
        EXPECT_GE(CommonPropertySheetUIW(nullptr, device, reinterpret_cast<LPARAM>(&header), &result), 0);
    }
    EXPECT_EQ(std::vector<std::wstring>{ResourceText(IDS_TITLE_DEVICE)}, tabs);
}

// A recording host: keeps the pages it is given, as the real host does, when
// called with its own handle, and the pages' CPSFUNC_SET_RESULT calls.
std::vector<HPROPSHEETPAGE> g_hostPages;
std::vector<std::pair<HANDLE, LPARAM>> g_setResults;
const HANDLE kHost = reinterpret_cast<HANDLE>(&g_hostPages);

LONG_PTR CALLBACK RecordingHost(HANDLE host, UINT function, LPARAM lParam1, LPARAM lParam2)
{
    if (function == CPSFUNC_SET_RESULT)
    {
        g_setResults.emplace_back(reinterpret_cast<HANDLE>(lParam1), lParam2);
        return 1;
    }
    if (host != kHost || function != CPSFUNC_ADD_PROPSHEETPAGEW)
        return 0;
    g_hostPages.push_back(CreatePropertySheetPageW(reinterpret_cast<const PROPSHEETPAGEW*>(lParam1)));
    return reinterpret_cast<LONG_PTR>(g_hostPages.back());
}

// Whichever allocation fails, INIT fails with ERROR_NOT_ENOUGH_MEMORY, leaving
// nothing allocated and GDI+ stopped, or gives every page the printer, the
// working record, the host and the page handle the host made; DESTROY releases them.
TEST_F(DocumentSheet, InitAttachesThePagesOrFailsCleanly)
{
    g_hostPages.reserve(kSlotCount);
    TARVIK_DEVMODE in = DefaultRecord(), out;
    DOCUMENTPROPERTYHEADER header = {};
    header.cbSize = sizeof(header);
    header.hPrinter = m_printer;
    header.pdmIn = reinterpret_cast<DEVMODEW*>(&in);
    header.pdmOut = reinterpret_cast<DEVMODEW*>(&out);
    header.fMode = DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER;
    long failures = 0, successes = 0;
    FailEachAllocation(
        [&](const HeapWatch& watch) {
            PROPSHEETUI_INFO info = {sizeof(info), 0, 0, PROPSHEETUI_REASON_INIT, kHost, RecordingHost, 0, 0, 0};
            SetLastError(0xdeadbeef);
            const LONG result = DrvDocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&header));
            if (result == 1)
            {
                ++successes;
                const auto* sheet = reinterpret_cast<const SheetPages*>(info.UserData);
                ASSERT_NE(nullptr, sheet);
                {
                    const HeapWatch::Unwatched unwatched; // the check's own blocks must not fail
                    std::vector<HANDLE> handles;
                    for (CDlgPropSheetPage* page : sheet->pages)
                    {
                        EXPECT_TRUE(!page || (page->m_hPrinter == m_printer && page->m_pRecord == &out &&
                                              page->m_hComPropSheet == kHost));
                        if (page)
                            handles.push_back(page->m_hPage);
                    }
                    EXPECT_TRUE(
                        std::is_permutation(handles.begin(), handles.end(), g_hostPages.begin(), g_hostPages.end()));
                }
                info.Reason = PROPSHEETUI_REASON_DESTROY;
                EXPECT_EQ(1, DrvDocumentPropertySheets(&info, 0));
            }
            else
            {
                ++failures;
                EXPECT_EQ(0, result);
                EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
            }
            EXPECT_EQ(0u, info.UserData);
            EXPECT_EQ(0u, g_gdiplusToken);
            for (HPROPSHEETPAGE page : g_hostPages)
                DestroyPropertySheetPage(page);
            g_hostPages.clear();
            EXPECT_EQ(0, watch.Alive());
        },
        HeapWatch::Forms::All);
    EXPECT_GT(failures, 0);
    EXPECT_GT(successes, 0);
    std::vector<HPROPSHEETPAGE>().swap(g_hostPages);
}

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

// Three pages, the second tab chosen, then `button` pressed: each shown page
// initialises once, finding itself in the window's user data; leaving a page
// that handles kill-active asks its validation, and a refusal stays; OK
// validates the current page, applies each shown page and reports CPSUI_OK.
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
            page->AttachHost(kHost, RecordingHost);
        const INT_PTR result =
            RunPageSheet({&first, &second, &neverShown}, IDD_INFO_PAGE, IDS_TITLE_INFO, [&](HWND sheet) {
                WaitForDescendant(sheet, IDC_INFO_VERSION);
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
    DebugCapture capture;
    SetLastError(0xdeadbeef);
    EXPECT_EQ(FALSE, PropSheetPageProc(window, WM_COMMAND, MAKEWPARAM(IDC_INFO_SUPPORT, BN_CLICKED), 0));
    EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
    EXPECT_EQ("", ReportMismatch(capture.Lines(), ERROR_NOT_ENOUGH_MEMORY,
                                 L"An exception was stopped at PropSheetPageProc()",
                                 {L"@ExceptionBarrier", L"from PropSheetPageProc()"}));
    DestroyWindow(window);
}

// A page description that cannot be allocated: the out pointer is cleared
// and the failure lines name the fixed location support looks for.
TEST(PageFramework, ADescriptionThatCannotBeAllocated)
{
    const auto refuse = +[](UINT, SIZE_T) -> HLOCAL {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    };
    HMODULE self = GetModuleHandleW(nullptr);
    void* real = PatchImport(self, "kernel32.dll", "LocalAlloc", reinterpret_cast<void*>(refuse));
    ASSERT_NE(nullptr, real);
    DebugCapture capture;
    auto* description = reinterpret_cast<PROPSHEETPAGEW*>(1);
    const DWORD code = CreatePropSheetPage(&description, IDD_INFO_PAGE, IDS_TITLE_INFO, PropSheetPageProc, nullptr);
    PatchImport(self, "kernel32.dll", "LocalAlloc", real);
    EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), code);
    EXPECT_EQ(nullptr, description);
    EXPECT_EQ("", ReportMismatch(capture.Lines(), ERROR_NOT_ENOUGH_MEMORY, nullptr,
                                 {L"PropSheetPageFunc(20) : error = 8", L"from CreatePropSheetPage()"}));
}

// A string the resource module does not have shows as an empty text.
TEST(PageFramework, AMissingStringShowsAsAnEmptyText)
{
    int result = 0;
    EXPECT_EQ(std::vector<std::wstring>{ResourceText(IDS_CAPTION_ERROR) + L": "}, CallAnsweringMessageBoxes(IDOK, [&] {
                  result = CDlgPropSheetPage::ShowMessage(nullptr, 9999, IDS_CAPTION_ERROR, MB_OK);
              }));
    EXPECT_EQ(IDOK, result);
}
} // namespace
