// The entry points that need no window, called the way the spooler and the
// graphics engine call them: through the built tarvikui.dll, loaded with
// LoadLibraryW and resolved with GetProcAddress. (DrvConvertDevMode is
// checked by the record fuzzer's model, on every output size and mode.)
#include "ImportPatch.h"
#include "PrinterInstaller.h"
#include "RecordFields.h"

#include "DriverInterface.h"
#include "SettingsRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
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

// DevQueryPrintEx refuses without writing an error text; every printer
// event succeeds.
TEST_F(BuiltModule, QueryPrintAndPrinterEvents)
{
    auto query = Entry<BOOL(WINAPI*)(PDEVQUERYPRINT_INFO)>("DevQueryPrintEx");
    auto event = Entry<BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM)>("DrvPrinterEvent");
    ASSERT_TRUE(query && event);
    wchar_t error[64] = L"untouched";
    DEVQUERYPRINT_INFO info = {sizeof(info), 1, nullptr, nullptr, error, static_cast<DWORD>(std::size(error)), 0};
    EXPECT_FALSE(query(&info));
    EXPECT_STREQ(L"untouched", error);
    EXPECT_EQ(0u, info.cchNeeded);
    wchar_t printer[] = L"Tarvik";
    for (INT e = PRINTER_EVENT_ADD_CONNECTION; e <= PRINTER_EVENT_ATTRIBUTES_CHANGED; ++e)
        EXPECT_TRUE(event(printer, e, PRINTER_EVENT_FLAG_NO_UI, 0)) << e;
}

// DrvDocumentEvent and the start-of-document escape. The renderer that
// answers escape -255 is not on this machine: the module's import of
// ExtEscape is pointed at a stand-in that records the call and answers as
// the test says.

// An escape call as the stand-in saw it: the DC, the escape, the input's size
// and the name it holds, the output's size and whether there was one.
std::wstring Escape(HDC hdc, int escape, int inputSize, const wchar_t* name, int outputSize, bool output)
{
    return std::to_wstring(reinterpret_cast<UINT_PTR>(hdc)) + L" " + std::to_wstring(escape) + L" " +
           std::to_wstring(inputSize) + L" \"" + (name ? name : L"<null>") + L"\" " + std::to_wstring(outputSize) +
           (output ? L" output" : L"");
}

std::vector<std::wstring> g_escapes;
int g_rendererAnswer = 0;

int WINAPI RendererStandIn(HDC hdc, int escape, int inputSize, LPCSTR input, int outputSize, LPSTR output)
{
    g_escapes.push_back(
        Escape(hdc, escape, inputSize, reinterpret_cast<const wchar_t*>(input), outputSize, output != nullptr));
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
    void TearDown() override
    {
        testhost::PatchImport(s_module, "gdi32.dll", "ExtEscape", m_previous);
        std::vector<std::wstring>().swap(g_escapes);
    }

    void* m_previous = nullptr;
    DocumentEventFn m_event = nullptr;
};

// A start-of-document event without a document name (or without a
// DOCINFOW) sends an empty name.
TEST_F(DocumentEvent, StartDocSendsTheNameAndMapsTheRenderersAnswer)
{
    constexpr ULONG kPointer = sizeof(DOCINFOW*);
    // The renderer's answer; the event's result and last error; the document
    // name, whether a DOCINFOW comes, and the size of the input.
    const std::tuple<int, int, DWORD, const wchar_t*, bool, ULONG> rows[] = {
        {0, 1, 0xdeadbeef, L"Quarterly report.docx", true, kPointer},
        {1223, -2, 1223, L"Quarterly report.docx", true, kPointer},
        {5, -1, 5, L"Quarterly report.docx", true, kPointer},
        {112, -1, 112, L"Quarterly report.docx", true, kPointer},
        {0, 1, 0xdeadbeef, nullptr, true, kPointer},
        {0, 1, 0xdeadbeef, nullptr, false, kPointer},
        // An input too small to hold the pointer is not read.
        {0, 1, 0xdeadbeef, L"Quarterly report.docx", true, 0},
        {0, 1, 0xdeadbeef, L"Quarterly report.docx", true, kPointer - 1},
    };
    const HDC dc = reinterpret_cast<HDC>(0x1234);
    for (const auto& [answer, result, lastError, name, docInfo, cbIn] : rows)
    {
        SCOPED_TRACE(testing::Message() << answer << " " << docInfo << " " << cbIn);
        g_escapes.clear();
        g_rendererAnswer = answer;
        DOCINFOW info = {sizeof(info), name, nullptr, nullptr, 0};
        DOCINFOW* pInfo = docInfo ? &info : nullptr;
        SetLastError(0xdeadbeef);
        EXPECT_EQ(result, m_event(nullptr, dc, DOCUMENTEVENT_STARTDOC, cbIn, &pInfo, 0, nullptr));
        EXPECT_EQ(lastError, GetLastError());
        const std::wstring sent = name && cbIn >= kPointer ? name : L"";
        EXPECT_EQ(std::vector<std::wstring>{Escape(dc, -255, int((sent.size() + 1) * sizeof(wchar_t)), sent.c_str(), 0,
                                                   false)},
                  g_escapes);
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

} // namespace
