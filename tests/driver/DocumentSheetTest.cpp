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

// "Version a.b.c.d" as the built module's own version resource says.
std::wstring BuiltVersionText()
{
    const std::wstring path = testhost::BinDirectory() + L"\\tarvikui.dll";
    DWORD handle = 0;
    std::vector<BYTE> info(GetFileVersionInfoSizeW(path.c_str(), &handle));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (info.empty() || !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()) ||
        !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size))
        return L"?";
    return L"Version " + std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS)) +
           L"." + std::to_wstring(LOWORD(fixed->dwFileVersionLS));
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

// The sheet through the spooler and Wine's host: the tabs in their order, the
// information page's version, and the record the caller gets back.
TEST_F(DocumentSheet, OpensThroughTheSpoolerAndReturnsTheRecord)
{
    const std::vector<std::wstring> expectedTabs = {ResourceString(s_resources, IDS_TITLE_FONT),
                                                    ResourceString(s_resources, IDS_TITLE_DOCINFO),
                                                    ResourceString(s_resources, IDS_TITLE_INFO)};
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
        in.dwResolution = 600;
        std::vector<BYTE> out(kRecordSize, 0xCC);
        std::vector<std::wstring> tabs;
        std::wstring version;
        bool fontPageShown = false;
        LONG result = 0;
        {
            testhost::UserThread user([&] {
                HWND sheet = testhost::WaitForSheet();
                ASSERT_NE(nullptr, sheet);
                tabs = testhost::TabTitles(sheet);
                fontPageShown = testhost::FindDescendant(sheet, IDC_FONT_EXCLUDED) != nullptr;
                PropSheet_SetCurSel(sheet, nullptr, static_cast<int>(tabs.size()) - 1);
                version = testhost::WindowText(testhost::WaitForDescendant(sheet, IDC_INFO_VERSION));
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
        EXPECT_EQ(BuiltVersionText(), version);
        // The working record is the caller's output buffer, filled at INIT
        // from the input or, without one, from the printer; no page changed it
        // but the font page, which stores its empty list as ";" when shown.
        TARVIK_DEVMODE expected = row.withInput ? in : DefaultRecord();
        if (fontPageShown && row.button == PSBTN_OK)
            lstrcpyW(expected.szExcludeFonts, L";");
        EXPECT_EQ("", testhost::RecordDifferences(&expected, out.data()));
    }
}

// A recording host: keeps the pages it is given, as the real host does.
struct RecordingHost
{
    std::vector<PROPSHEETPAGEW> added;
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
        g_host->added.push_back(*page);
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

    SheetPages* Init(DEVMODEW* in, DEVMODEW* out)
    {
        DOCUMENTPROPERTYHEADER header = {};
        header.cbSize = sizeof(header);
        header.hPrinter = m_printer;
        header.pdmIn = in;
        header.pdmOut = out;
        header.fMode = DM_IN_PROMPT | (in ? DM_IN_BUFFER : 0) | (out ? DM_OUT_BUFFER : 0);
        m_info.Reason = PROPSHEETUI_REASON_INIT;
        EXPECT_EQ(1, DrvDocumentPropertySheets(&m_info, reinterpret_cast<LPARAM>(&header)));
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

TEST_F(SheetLife, InitBuildsThePagesAndDestroyFreesThem)
{
    TARVIK_DEVMODE in = DefaultRecord(), out;
    SheetPages* sheet = Init(reinterpret_cast<DEVMODEW*>(&in), reinterpret_cast<DEVMODEW*>(&out));
    ASSERT_NE(nullptr, sheet);
    EXPECT_NE(0u, g_gdiplusToken);

    // The pages that exist, in the adding order, each with its template,
    // title and page object; the empty slots stay empty.
    const struct
    {
        WORD templateId, titleId;
        SheetSlot slot;
    } added[] = {{IDD_FONT_PAGE, IDS_TITLE_FONT, kSlotFont},
                 {IDD_DOCINFO_PAGE, IDS_TITLE_DOCINFO, kSlotDocInfo},
                 {IDD_INFO_PAGE, IDS_TITLE_INFO, kSlotInfo}};
    ASSERT_EQ(std::size(added), m_host.added.size());
    for (size_t i = 0; i < std::size(added); ++i)
    {
        EXPECT_EQ(MAKEINTRESOURCEW(added[i].templateId), m_host.added[i].pszTemplate);
        EXPECT_EQ(MAKEINTRESOURCEW(added[i].titleId), m_host.added[i].pszTitle);
        EXPECT_EQ(reinterpret_cast<LPARAM>(sheet->pages[added[i].slot]), m_host.added[i].lParam);
        EXPECT_EQ(reinterpret_cast<HANDLE>(m_host.pages[i]), sheet->pages[added[i].slot]->m_hPage);
    }
    EXPECT_EQ(nullptr, sheet->pages[kSlotUnused3]);
    EXPECT_EQ(nullptr, sheet->pages[kSlotUnused6]);
    for (CDlgPropSheetPage* page : sheet->pages)
    {
        if (!page)
            continue;
        EXPECT_EQ(m_printer, page->m_hPrinter);
        EXPECT_EQ(&out, page->m_pRecord);
        EXPECT_EQ(m_info.hComPropSheet, page->m_hComPropSheet);
    }

    std::vector<void*> owned(sheet->pages, sheet->pages + kSlotCount);
    owned.push_back(sheet);
    {
        testhost::HeapWatch heap;
        Destroy();
        for (void* p : owned)
        {
            if (p)
            {
                EXPECT_TRUE(heap.Freed(p)) << p;
            }
        }
    }
    EXPECT_EQ(0u, m_info.UserData);
    EXPECT_EQ(0u, g_gdiplusToken);
    for (HPROPSHEETPAGE page : m_host.pages)
        DestroyPropertySheetPage(page);
}

// Which record the pages work on, by the buffers the caller gave: the
// caller's output buffer when there is one, else the sheet's own record;
// filled from the input, or from the printer's defaults when the input is
// missing or foreign.
TEST_F(SheetLife, WorkingRecordByTheCallersBuffers)
{
    const TARVIK_DEVMODE printerDefault = DefaultRecord();
    TARVIK_DEVMODE in = DefaultRecord();
    lstrcpyW(in.szAuthor, L"Caller");
    in.dwResolution = 1200;
    TARVIK_DEVMODE foreign = in;
    foreign.dmDriverExtra = 100;
    struct Row
    {
        TARVIK_DEVMODE* in;
        bool out;
        const TARVIK_DEVMODE* expected;
    };
    const Row rows[] = {{&in, true, &in},
                        {&in, false, &printerDefault},
                        {nullptr, true, &printerDefault},
                        {&foreign, true, &printerDefault}};
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << (row.in == &foreign ? "foreign " : row.in ? "in " : "") << row.out);
        std::vector<BYTE> out(kRecordSize, 0xCC);
        SheetPages* sheet =
            Init(reinterpret_cast<DEVMODEW*>(row.in), row.out ? reinterpret_cast<DEVMODEW*>(out.data()) : nullptr);
        ASSERT_NE(nullptr, sheet);
        TARVIK_DEVMODE* working = row.out ? reinterpret_cast<TARVIK_DEVMODE*>(out.data()) : &sheet->record;
        EXPECT_EQ(working, sheet->pages[kSlotInfo]->m_pRecord);
        EXPECT_EQ("", testhost::RecordDifferences(row.expected, working));
        Destroy();
    }
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
