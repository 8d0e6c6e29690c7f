// The document and device property sheets. Through Wine's property-sheet
// host (DocumentPropertiesW with DM_IN_PROMPT, CommonPropertySheetUIW) a
// second thread works the real window; with a recording host the sheet's
// life from INIT to DESTROY is checked object by object.
#include "HeapWatch.h"
#include "PrinterTest.h"
#include "SheetSession.h"

#include "Globals.h"
#include "SheetPages.h"
#include "resource.h"

#include <algorithm>

namespace
{
using testhost::DefaultRecord;

// The sheet through the spooler and Wine's host: the tabs in their order and
// the record the caller gets back after OK and after Cancel. (Without an
// input record the working record is the printer's: the record fuzzer's
// sheet target checks that at INIT.)
using DocumentSheet = testhost::PrinterTest;

TEST_F(DocumentSheet, OpensThroughTheSpoolerAndReturnsTheRecord)
{
    std::vector<std::wstring> expectedTabs;
    for (UINT title :
         {IDS_TITLE_FORM, IDS_TITLE_FONT, IDS_TITLE_GRAPHICS, IDS_TITLE_DOCINFO, IDS_TITLE_SECURITY, IDS_TITLE_INFO})
        expectedTabs.push_back(testhost::ResourceText(title));
    for (int button : {PSBTN_OK, PSBTN_CANCEL})
    {
        SCOPED_TRACE(button);
        TARVIK_DEVMODE in = DefaultRecord();
        lstrcpyW(in.szTitle, L"Annual report");
        // The paper page stores the resolution's copies with it on OK.
        in.dwResolution = 600;
        in.dmPrintQuality = in.dmYResolution = 600;
        std::vector<std::wstring> tabs;
        const TARVIK_DEVMODE out = testhost::RunSheet(
            m_printer, in, 0, [&](const testhost::Sheet& s) { tabs = testhost::TabTitles(s.window); }, button);
        EXPECT_EQ(expectedTabs, tabs);
        // The working record is the caller's output buffer, filled at INIT
        // from the input; the page shown (the paper page) stores what it
        // shows, which the input already held.
        EXPECT_EQ("", testhost::RecordDifferences(&in, &out));
    }
}

// A recording host: keeps the pages it is given, as the real host does,
// when it is called with its own handle.
std::vector<HPROPSHEETPAGE> g_hostPages;
const HANDLE kHost = reinterpret_cast<HANDLE>(&g_hostPages);

LONG_PTR CALLBACK RecordingHost(HANDLE host, UINT function, LPARAM lParam1, LPARAM)
{
    if (host != kHost || function != CPSFUNC_ADD_PROPSHEETPAGEW)
        return 0;
    g_hostPages.push_back(CreatePropertySheetPageW(reinterpret_cast<const PROPSHEETPAGEW*>(lParam1)));
    return reinterpret_cast<LONG_PTR>(g_hostPages.back());
}

class SheetLife : public testhost::PrinterTest
{
  protected:
    void TearDown() override
    {
        DestroyHostPages();
        std::vector<HPROPSHEETPAGE>().swap(g_hostPages);
        PrinterTest::TearDown();
    }
    static void DestroyHostPages()
    {
        for (HPROPSHEETPAGE page : g_hostPages)
            DestroyPropertySheetPage(page);
        g_hostPages.clear();
    }

    // INIT on a default input record; its answer.
    LONG Init()
    {
        DOCUMENTPROPERTYHEADER header = {};
        header.cbSize = sizeof(header);
        header.hPrinter = m_printer;
        header.pdmIn = reinterpret_cast<DEVMODEW*>(&m_in);
        header.pdmOut = reinterpret_cast<DEVMODEW*>(&m_out);
        header.fMode = DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER;
        m_info = {sizeof(m_info), 0, 0, PROPSHEETUI_REASON_INIT, kHost, RecordingHost, 0, 0, 0};
        return DrvDocumentPropertySheets(&m_info, reinterpret_cast<LPARAM>(&header));
    }

    void Destroy()
    {
        m_info.Reason = PROPSHEETUI_REASON_DESTROY;
        EXPECT_EQ(1, DrvDocumentPropertySheets(&m_info, 0));
        EXPECT_EQ(0u, m_info.UserData);
    }

    TARVIK_DEVMODE m_in = DefaultRecord(), m_out;
    PROPSHEETUI_INFO m_info = {};
};

// INIT gives every page the printer, the working record, the host and its
// page handle; DESTROY releases the pages (the leak check sees every block).
TEST_F(SheetLife, InitAttachesThePagesAndDestroyReleasesThem)
{
    ASSERT_EQ(1, Init());
    const auto* sheet = reinterpret_cast<const SheetPages*>(m_info.UserData);
    ASSERT_NE(nullptr, sheet);
    std::vector<HANDLE> handles, added(g_hostPages.begin(), g_hostPages.end());
    for (CDlgPropSheetPage* page : sheet->pages)
    {
        if (!page)
            continue;
        EXPECT_TRUE(page->m_hPrinter == m_printer && page->m_pRecord == &m_out && page->m_hComPropSheet == kHost);
        handles.push_back(page->m_hPage);
    }
    std::sort(handles.begin(), handles.end());
    std::sort(added.begin(), added.end());
    EXPECT_EQ(added, handles);
    Destroy();
}

// Whichever allocation fails while the sheet is built, INIT fails with
// ERROR_NOT_ENOUGH_MEMORY or succeeds whole: nothing is left allocated,
// GDI+ is stopped again and no exception reaches the host.
TEST_F(SheetLife, AFailedAllocationAtInitFailsCleanly)
{
    g_hostPages.reserve(kSlotCount);
    long failures = 0;
    testhost::FailEachAllocation(
        [&](const testhost::HeapWatch& watch) {
            SetLastError(0xdeadbeef);
            const LONG result = Init();
            if (result == 1)
            {
                Destroy();
            }
            else
            {
                ++failures;
                EXPECT_EQ(0, result);
                EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
                EXPECT_EQ(0u, m_info.UserData);
            }
            EXPECT_EQ(0u, g_gdiplusToken);
            DestroyHostPages();
            EXPECT_EQ(0, watch.Alive());
        },
        testhost::HeapWatch::Forms::All);
    EXPECT_GT(failures, 0);
}

// The device sheet through the host's own entry: one static page.
TEST(DeviceSheet, ShowsItsSinglePage)
{
    HMODULE module = LoadLibraryW((testhost::BinDirectory() + L"\\tarvikui.dll").c_str());
    auto device =
        reinterpret_cast<PFNPROPSHEETUI>(reinterpret_cast<void*>(GetProcAddress(module, "DrvDevicePropertySheets")));
    ASSERT_NE(nullptr, device);
    std::vector<std::wstring> tabs;
    DWORD result = 0;
    LONG answer = -1;
    {
        testhost::UserThread user([&] {
            HWND sheet = testhost::WaitForSheet();
            tabs = testhost::TabTitles(sheet);
            PropSheet_PressButton(sheet, PSBTN_OK);
        });
        wchar_t name[] = L"Tarvik";
        DEVICEPROPERTYHEADER header = {sizeof(header), 0, nullptr, name};
        answer = CommonPropertySheetUIW(nullptr, device, reinterpret_cast<LPARAM>(&header), &result);
    }
    EXPECT_GE(answer, 0);
    EXPECT_EQ(std::vector<std::wstring>{testhost::ResourceText(IDS_TITLE_DEVICE)}, tabs);
}
} // namespace
