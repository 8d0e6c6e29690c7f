// The document and device property sheets. Through Wine's property-sheet
// host (DocumentPropertiesW with DM_IN_PROMPT, CommonPropertySheetUIW) a
// second thread works the real window; with a recording host the sheet's
// life from INIT to DESTROY is checked object by object.
#include "HeapWatch.h"
#include "PrinterTest.h"
#include "RecordFields.h"
#include "WindowDriver.h"

#include "CDlgInfoSetting.h"
#include "DriverInterface.h"
#include "Globals.h"
#include "SettingsRecord.h"
#include "SheetPages.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace
{
using testhost::DefaultRecord;

std::wstring ResourceString(HMODULE module, UINT id)
{
    wchar_t text[256] = L"";
    LoadStringW(module, id, text, 256);
    return text;
}

class DocumentSheet : public testhost::PrinterTest
{
  protected:
    static void SetUpTestSuite()
    {
        PrinterTest::SetUpTestSuite();
        s_resources = LoadLibraryW((testhost::BinDirectory() + L"\\tarvikres7.dll").c_str());
        ASSERT_NE(nullptr, s_resources);
    }

    static HMODULE s_resources;
};
HMODULE DocumentSheet::s_resources = nullptr;

// The sheet through the spooler and Wine's host: the tabs in their order and
// the record the caller gets back.
TEST_F(DocumentSheet, OpensThroughTheSpoolerAndReturnsTheRecord)
{
    std::vector<std::wstring> expectedTabs;
    for (UINT title :
         {IDS_TITLE_FORM, IDS_TITLE_FONT, IDS_TITLE_GRAPHICS, IDS_TITLE_DOCINFO, IDS_TITLE_SECURITY, IDS_TITLE_INFO})
        expectedTabs.push_back(ResourceString(s_resources, title));
    struct Row
    {
        const char* what;
        int button;
        bool withInput;
    };
    const Row rows[] = {{"OK, input record", PSBTN_OK, true},
                        {"Cancel, input record", PSBTN_CANCEL, true},
                        {"OK, output only", PSBTN_OK, false}};
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        TARVIK_DEVMODE in = DefaultRecord();
        lstrcpyW(in.szTitle, L"Annual report");
        // The paper page stores the resolution's copies with it on OK.
        in.dwResolution = 600;
        in.dmPrintQuality = in.dmYResolution = 600;
        std::vector<BYTE> out(kRecordSize, 0xCC);
        std::vector<std::wstring> tabs;
        LONG result = 0;
        {
            testhost::UserThread user([&] {
                HWND sheet = testhost::WaitForSheet();
                ASSERT_NE(nullptr, sheet);
                tabs = testhost::TabTitles(sheet);
                PostMessageW(sheet, PSM_PRESSBUTTON, row.button, 0);
            });
            wchar_t name[] = L"Tarvik";
            result = DocumentPropertiesW(nullptr, m_printer, name, reinterpret_cast<DEVMODEW*>(out.data()),
                                         row.withInput ? reinterpret_cast<DEVMODEW*>(&in) : nullptr,
                                         DM_IN_PROMPT | DM_OUT_BUFFER | (row.withInput ? DM_IN_BUFFER : 0));
        }
        // Wine's host answers 1 for Cancel too; Windows gives IDCANCEL there.
        if (row.button == PSBTN_OK)
            EXPECT_EQ(IDOK, result);
        else
            EXPECT_TRUE(result == IDCANCEL || result == IDOK) << result;
        EXPECT_EQ(expectedTabs, tabs);
        // The working record is the caller's output buffer, filled at INIT
        // from the input or, without one, from the printer; the page shown
        // (the paper page) stores what it shows, which the input already held.
        const TARVIK_DEVMODE expected = row.withInput ? in : DefaultRecord();
        EXPECT_EQ("", testhost::RecordDifferences(&expected, out.data()));
    }
}

// A recording host: keeps the pages it is given, as the real host does.
struct RecordingHost
{
    std::vector<HPROPSHEETPAGE> pages;
};
RecordingHost* g_host = nullptr;

LONG_PTR CALLBACK HostCallback(HANDLE hComPropSheet, UINT function, LPARAM lParam1, LPARAM)
{
    if (hComPropSheet != reinterpret_cast<HANDLE>(g_host))
        return 0;
    if (function == CPSFUNC_ADD_PROPSHEETPAGEW)
    {
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
        g_host->pages.push_back(CreatePropertySheetPageW(page));
        return reinterpret_cast<LONG_PTR>(g_host->pages.back());
    }
    return 0;
}

class SheetLife : public DocumentSheet
{
  protected:
    void SetUp() override
    {
        DocumentSheet::SetUp();
        g_host = &m_host;
        m_info.cbSize = sizeof(m_info);
        m_info.hComPropSheet = reinterpret_cast<HANDLE>(&m_host);
        m_info.pfnComPropSheet = HostCallback;
    }
    void TearDown() override
    {
        g_host = nullptr;
        DocumentSheet::TearDown();
    }

    // What INIT answers for these buffers.
    LONG InitAnswer(DEVMODEW* in, DEVMODEW* out)
    {
        DOCUMENTPROPERTYHEADER header = {};
        header.cbSize = sizeof(header);
        header.hPrinter = m_printer;
        header.pdmIn = in;
        header.pdmOut = out;
        header.fMode = DM_IN_PROMPT | (in ? DM_IN_BUFFER : 0) | (out ? DM_OUT_BUFFER : 0);
        m_info.Reason = PROPSHEETUI_REASON_INIT;
        m_info.UserData = 0;
        return DrvDocumentPropertySheets(&m_info, reinterpret_cast<LPARAM>(&header));
    }

    SheetPages* Init(DEVMODEW* in, DEVMODEW* out)
    {
        EXPECT_EQ(1, InitAnswer(in, out));
        return reinterpret_cast<SheetPages*>(m_info.UserData);
    }

    void Destroy()
    {
        m_info.Reason = PROPSHEETUI_REASON_DESTROY;
        EXPECT_EQ(1, DrvDocumentPropertySheets(&m_info, 0));
    }

    RecordingHost m_host;
    PROPSHEETUI_INFO m_info = {};
};

// INIT gives every page the printer, the working record and its host page
// handle, and starts GDI+; DESTROY releases the pages (the leak check sees
// every block) and stops GDI+ again.
TEST_F(SheetLife, InitAttachesThePagesAndDestroyReleasesThem)
{
    TARVIK_DEVMODE in = DefaultRecord(), out;
    SheetPages* sheet = Init(reinterpret_cast<DEVMODEW*>(&in), reinterpret_cast<DEVMODEW*>(&out));
    ASSERT_NE(nullptr, sheet);
    EXPECT_NE(0u, g_gdiplusToken);
    std::vector<HANDLE> pageHandles;
    for (CDlgPropSheetPage* page : sheet->pages)
    {
        if (!page)
            continue;
        EXPECT_EQ(m_printer, page->m_hPrinter);
        EXPECT_EQ(&out, page->m_pRecord);
        EXPECT_EQ(m_info.hComPropSheet, page->m_hComPropSheet);
        pageHandles.push_back(page->m_hPage);
    }
    EXPECT_EQ(m_host.pages.size(), pageHandles.size());
    for (HPROPSHEETPAGE added : m_host.pages)
        EXPECT_NE(pageHandles.end(),
                  std::find(pageHandles.begin(), pageHandles.end(), reinterpret_cast<HANDLE>(added)));
    Destroy();
    EXPECT_EQ(0u, m_info.UserData);
    EXPECT_EQ(0u, g_gdiplusToken);
    for (HPROPSHEETPAGE page : m_host.pages)
        DestroyPropertySheetPage(page);
}

// Whichever allocation fails while the sheet is built, INIT fails with
// ERROR_NOT_ENOUGH_MEMORY or succeeds whole: nothing is left allocated,
// GDI+ is stopped again and no exception reaches the host.
TEST_F(SheetLife, AFailedAllocationAtInitFailsCleanly)
{
    TARVIK_DEVMODE in = DefaultRecord(), out;
    m_host.pages.reserve(kSlotCount);
    long failures = 0;
    testhost::FailEachAllocation(
        [&](const testhost::HeapWatch& watch) {
            SetLastError(0xdeadbeef);
            const LONG result = InitAnswer(reinterpret_cast<DEVMODEW*>(&in), reinterpret_cast<DEVMODEW*>(&out));
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
            for (HPROPSHEETPAGE page : m_host.pages)
                DestroyPropertySheetPage(page);
            m_host.pages.clear();
            EXPECT_EQ(0, watch.Alive());
        },
        testhost::HeapWatch::Forms::All);
    EXPECT_GT(failures, 0);
}

// The device sheet through the host's own entry: one static page.
TEST(DeviceSheet, ShowsItsSinglePage)
{
    HMODULE module = LoadLibraryW((testhost::BinDirectory() + L"\\tarvikui.dll").c_str());
    ASSERT_NE(nullptr, module);
    auto device =
        reinterpret_cast<PFNPROPSHEETUI>(reinterpret_cast<void*>(GetProcAddress(module, "DrvDevicePropertySheets")));
    ASSERT_NE(nullptr, device);
    HMODULE resources = LoadLibraryW((testhost::BinDirectory() + L"\\tarvikres7.dll").c_str());
    std::vector<std::wstring> tabs;
    DWORD result = 0;
    LONG answer = -1;
    {
        testhost::UserThread user([&] {
            HWND sheet = testhost::WaitForSheet();
            ASSERT_NE(nullptr, sheet);
            tabs = testhost::TabTitles(sheet);
            PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        });
        DEVICEPROPERTYHEADER header = {};
        header.cbSize = sizeof(header);
        wchar_t name[] = L"Tarvik";
        header.pszPrinterName = name;
        answer = CommonPropertySheetUIW(nullptr, device, reinterpret_cast<LPARAM>(&header), &result);
    }
    EXPECT_GE(answer, 0);
    EXPECT_EQ(std::vector<std::wstring>{ResourceString(resources, IDS_TITLE_DEVICE)}, tabs);
}
} // namespace
