// The entry points that need no window, called the way the spooler and the
// graphics engine call them: through the built tarvikui.dll, loaded with
// LoadLibraryW and resolved with GetProcAddress.
#include "ImportPatch.h"
#include "PrinterInstaller.h"
#include "RecordFields.h"

#include "DriverInterface.h"
#include "SettingsRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class BuiltModule : public testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        s_module = LoadLibraryW((testhost::BinDirectory() + L"\\tarvikui.dll").c_str());
        ASSERT_NE(nullptr, s_module) << GetLastError();
    }

    template <typename T>
    static T Entry(const char* name)
    {
        return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(s_module, name)));
    }

    static HMODULE s_module;
};
HMODULE BuiltModule::s_module = nullptr;

TARVIK_DEVMODE DefaultRecord(const wchar_t* name)
{
    TARVIK_DEVMODE record;
    SetDefaultRecord(name, &record);
    return record;
}

// ---------------------------------------------------------------------------
// DrvConvertDevMode

using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);

TEST_F(BuiltModule, ConvertDevModeOnlyWritesTheDriverDefault)
{
    auto convert = Entry<ConvertFn>("DrvConvertDevMode");
    ASSERT_NE(nullptr, convert);
    std::vector<BYTE> in(kRecordSize, 0x11), out(kRecordSize, 0x5A);
    const std::vector<BYTE> untouched = out;
    wchar_t printer[] = L"Tarvik";
    for (DWORD mode : {DWORD(CDM_CONVERT), DWORD(CDM_CONVERT351), DWORD(0), DWORD(0x80)})
    {
        SCOPED_TRACE(mode);
        LONG size = kRecordSize;
        SetLastError(0xdeadbeef);
        EXPECT_TRUE(convert(printer, reinterpret_cast<DEVMODEW*>(in.data()), reinterpret_cast<DEVMODEW*>(out.data()),
                            &size, mode));
        EXPECT_EQ(0xdeadbeefu, GetLastError());
        EXPECT_EQ(LONG(kRecordSize), size);
        EXPECT_EQ(untouched, out);
    }
}

TEST_F(BuiltModule, ConvertDevModeAsksForTheWholeRecordSize)
{
    auto convert = Entry<ConvertFn>("DrvConvertDevMode");
    std::vector<BYTE> out(kRecordSize, 0x5A);
    const std::vector<BYTE> untouched = out;
    wchar_t printer[] = L"Tarvik";
    for (LONG given : {LONG(0), LONG(220), LONG(6311)})
    {
        SCOPED_TRACE(given);
        LONG size = given;
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(convert(printer, nullptr, reinterpret_cast<DEVMODEW*>(out.data()), &size, CDM_DRIVER_DEFAULT));
        EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());
        EXPECT_EQ(LONG(kRecordSize), size);
        EXPECT_EQ(untouched, out);
    }
}

TEST_F(BuiltModule, ConvertDevModeDefaultCarriesThePrinterName)
{
    auto convert = Entry<ConvertFn>("DrvConvertDevMode");
    struct Row
    {
        const wchar_t* printer;
        const wchar_t* deviceName;
    };
    const Row rows[] = {
        {L"Tarvik", L"Tarvik"},
        {L"Office PDF", L"Office PDF"},
        {nullptr, L"Tarvik"},
        {L"", L"Tarvik"},
        {L"A printer name that is longer than the device name field",
         L"A printer name that is longer t"}, // cut to 31 characters
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.deviceName);
        std::vector<BYTE> out(kRecordSize + 8, 0x5A);
        LONG size = kRecordSize + 8;
        std::wstring name = row.printer ? row.printer : L"";
        SetLastError(0xdeadbeef);
        EXPECT_TRUE(convert(row.printer ? &name[0] : nullptr, nullptr, reinterpret_cast<DEVMODEW*>(out.data()), &size,
                            CDM_DRIVER_DEFAULT));
        EXPECT_EQ(LONG(kRecordSize + 8), size); // unchanged on success
        const TARVIK_DEVMODE expected = DefaultRecord(row.deviceName);
        EXPECT_EQ(0, memcmp(&expected, out.data(), kRecordSize)) << testhost::RecordDifferences(&expected, out.data());
        EXPECT_EQ(0x5A, out[kRecordSize]); // nothing written past the record
    }
}

// ---------------------------------------------------------------------------
// DevQueryPrintEx and DrvPrinterEvent

TEST_F(BuiltModule, DevQueryPrintExWritesNoErrorText)
{
    auto query = Entry<BOOL(WINAPI*)(PDEVQUERYPRINT_INFO)>("DevQueryPrintEx");
    ASSERT_NE(nullptr, query);
    wchar_t error[64] = L"untouched";
    DEVQUERYPRINT_INFO info = {sizeof(info), 1, nullptr, nullptr, error, 64, 0};
    EXPECT_FALSE(query(&info));
    EXPECT_STREQ(L"untouched", error);
    EXPECT_EQ(0u, info.cchNeeded);
}

TEST_F(BuiltModule, PrinterEventsAllSucceed)
{
    auto event = Entry<BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM)>("DrvPrinterEvent");
    ASSERT_NE(nullptr, event);
    wchar_t printer[] = L"Tarvik";
    for (INT e = PRINTER_EVENT_ADD_CONNECTION; e <= PRINTER_EVENT_ATTRIBUTES_CHANGED; ++e)
        EXPECT_TRUE(event(printer, e, PRINTER_EVENT_FLAG_NO_UI, 0)) << e;
}

// ---------------------------------------------------------------------------
// DrvDocumentEvent and the start-of-document escape. The renderer that
// answers escape -255 is not on this machine: the module's import of
// ExtEscape is pointed at a stand-in that records the call and answers as
// the test says.

struct EscapeCall
{
    HDC hdc;
    int escape;
    int inputSize;
    std::wstring name;
    int outputSize;
    bool outputNull;
};
std::vector<EscapeCall> g_escapes;
int g_rendererAnswer = 0;

int WINAPI RendererStandIn(HDC hdc, int escape, int inputSize, LPCSTR input, int outputSize, LPSTR output)
{
    const auto* name = reinterpret_cast<const wchar_t*>(input);
    g_escapes.push_back({hdc, escape, inputSize, name ? std::wstring(name) : L"<null>", outputSize, output == nullptr});
    return g_rendererAnswer;
}

using DocumentEventFn = int(WINAPI*)(HANDLE, HDC, int, ULONG, PVOID, ULONG, PVOID);

class DocumentEvent : public BuiltModule
{
  protected:
    void SetUp() override
    {
        m_previous =
            testhost::PatchImport(s_module, "gdi32.dll", "ExtEscape", reinterpret_cast<void*>(RendererStandIn));
        ASSERT_NE(nullptr, m_previous) << "tarvikui.dll does not import ExtEscape from gdi32.dll";
        m_event = Entry<DocumentEventFn>("DrvDocumentEvent");
        ASSERT_NE(nullptr, m_event);
        g_escapes.clear();
    }
    void TearDown() override { testhost::PatchImport(s_module, "gdi32.dll", "ExtEscape", m_previous); }

    void* m_previous = nullptr;
    DocumentEventFn m_event = nullptr;
};

TEST_F(DocumentEvent, StartDocSendsTheNameAndMapsTheRenderersAnswer)
{
    struct Row
    {
        int answer;
        int result;
        DWORD lastError;
    };
    const Row rows[] = {{0, 1, 0xdeadbeef}, {1223, -2, 1223}, {5, -1, 5}, {112, -1, 112}};
    const HDC dc = reinterpret_cast<HDC>(0x1234);
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.answer);
        g_escapes.clear();
        g_rendererAnswer = row.answer;
        DOCINFOW info = {sizeof(info), L"Quarterly report.docx", nullptr, nullptr, 0};
        DOCINFOW* pInfo = &info;
        SetLastError(0xdeadbeef);
        EXPECT_EQ(row.result, m_event(nullptr, dc, DOCUMENTEVENT_STARTDOC, sizeof(pInfo), &pInfo, 0, nullptr));
        EXPECT_EQ(row.lastError, GetLastError());
        ASSERT_EQ(1u, g_escapes.size());
        EXPECT_EQ(dc, g_escapes[0].hdc);
        EXPECT_EQ(-255, g_escapes[0].escape);
        EXPECT_EQ(int((21 + 1) * sizeof(wchar_t)), g_escapes[0].inputSize);
        EXPECT_EQ(L"Quarterly report.docx", g_escapes[0].name);
        EXPECT_EQ(0, g_escapes[0].outputSize);
        EXPECT_TRUE(g_escapes[0].outputNull);
    }
}

TEST_F(DocumentEvent, StartDocWithoutANameSendsAnEmptyName)
{
    g_rendererAnswer = 0;
    DOCINFOW info = {sizeof(info), nullptr, nullptr, nullptr, 0};
    DOCINFOW* pInfo = &info;
    EXPECT_EQ(1, m_event(nullptr, nullptr, DOCUMENTEVENT_STARTDOC, sizeof(pInfo), &pInfo, 0, nullptr));
    DOCINFOW* none = nullptr;
    EXPECT_EQ(1, m_event(nullptr, nullptr, DOCUMENTEVENT_STARTDOC, sizeof(none), &none, 0, nullptr));
    ASSERT_EQ(2u, g_escapes.size());
    for (const EscapeCall& call : g_escapes)
    {
        EXPECT_EQ(L"", call.name);
        EXPECT_EQ(2, call.inputSize);
    }
}

TEST_F(DocumentEvent, OtherEventsSucceedWithoutTheRenderer)
{
    g_rendererAnswer = 1223;
    for (int e = DOCUMENTEVENT_CREATEDCPRE; e <= DOCUMENTEVENT_QUERYFILTER; ++e)
    {
        if (e == DOCUMENTEVENT_STARTDOC)
            continue;
        SetLastError(0xdeadbeef);
        EXPECT_EQ(1, m_event(nullptr, nullptr, e, 0, nullptr, 0, nullptr)) << e;
        EXPECT_EQ(0xdeadbeefu, GetLastError()) << e;
    }
    EXPECT_TRUE(g_escapes.empty());
}

// ---------------------------------------------------------------------------
// The exports themselves: exactly the eight entry points, by name.

TEST_F(BuiltModule, ExportsTheEightEntryPointsByName)
{
    auto* base = reinterpret_cast<BYTE*>(s_module);
    const auto* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(0u, dir.VirtualAddress);
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::vector<std::string> exported;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        exported.emplace_back(reinterpret_cast<const char*>(base + names[i]));
    const std::vector<std::string> expected = {
        "DevQueryPrintEx",         "DllMain",          "DrvConvertDevMode",         "DrvDeviceCapabilities",
        "DrvDevicePropertySheets", "DrvDocumentEvent", "DrvDocumentPropertySheets", "DrvPrinterEvent"};
    EXPECT_EQ(expected, exported);
    EXPECT_EQ(8u, exports->NumberOfFunctions);
}
} // namespace
