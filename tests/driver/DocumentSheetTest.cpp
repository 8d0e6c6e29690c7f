// The document and device property sheets: through Wine's host a second
// thread works the real window; with a recording host the sheet's life from
// INIT to DESTROY is checked object by object.
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
using DocumentSheet = testhost::PrinterTest;

// The tabs in their order, and the record the caller gets back after OK and
// after Cancel: the input, which the paper page shown stores again on OK. The
// device sheet, through the host's own entry, has one static page.
TEST_F(DocumentSheet, TabsAndTheReturnedRecord)
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
        in.dwResolution = 600; // the paper page stores the resolution's copies with it on OK
        in.dmPrintQuality = in.dmYResolution = 600;
        std::vector<std::wstring> tabs;
        const TARVIK_DEVMODE out = testhost::RunSheet(
            m_printer, in, 0, [&](const testhost::Sheet& s) { tabs = testhost::TabTitles(s.window); }, button);
        EXPECT_EQ(expectedTabs, tabs);
        EXPECT_EQ("", testhost::RecordDifferences(&in, &out));
    }
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

// A recording host: keeps the pages it is given, as the real host does, when
// called with its own handle.
std::vector<HPROPSHEETPAGE> g_hostPages;
const HANDLE kHost = reinterpret_cast<HANDLE>(&g_hostPages);

LONG_PTR CALLBACK RecordingHost(HANDLE host, UINT function, LPARAM lParam1, LPARAM)
{
    if (host != kHost || function != CPSFUNC_ADD_PROPSHEETPAGEW)
        return 0;
    g_hostPages.push_back(CreatePropertySheetPageW(reinterpret_cast<const PROPSHEETPAGEW*>(lParam1)));
    return reinterpret_cast<LONG_PTR>(g_hostPages.back());
}

// Whichever allocation fails while the sheet is built, INIT fails with
// ERROR_NOT_ENOUGH_MEMORY or succeeds whole: nothing is left allocated, GDI+
// is stopped again and no exception reaches the host. A whole INIT gives every
// page the printer, the working record, the host and the page handle the host
// made; DESTROY releases the pages.
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
    testhost::FailEachAllocation(
        [&](const testhost::HeapWatch& watch) {
            PROPSHEETUI_INFO info = {sizeof(info), 0, 0, PROPSHEETUI_REASON_INIT, kHost, RecordingHost, 0, 0, 0};
            SetLastError(0xdeadbeef);
            const LONG result = DrvDocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&header));
            if (result == 1)
            {
                ++successes;
                const auto* sheet = reinterpret_cast<const SheetPages*>(info.UserData);
                ASSERT_NE(nullptr, sheet);
                {
                    const testhost::HeapWatch::Unwatched unwatched; // the check's own blocks must not fail
                    std::vector<HANDLE> handles, added(g_hostPages.begin(), g_hostPages.end());
                    for (CDlgPropSheetPage* page : sheet->pages)
                    {
                        if (!page)
                            continue;
                        EXPECT_TRUE(page->m_hPrinter == m_printer && page->m_pRecord == &out &&
                                    page->m_hComPropSheet == kHost);
                        handles.push_back(page->m_hPage);
                    }
                    std::sort(handles.begin(), handles.end());
                    std::sort(added.begin(), added.end());
                    EXPECT_EQ(added, handles);
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
        testhost::HeapWatch::Forms::All);
    EXPECT_GT(failures, 0);
    EXPECT_GT(successes, 0);
    std::vector<HPROPSHEETPAGE>().swap(g_hostPages);
}

} // namespace
