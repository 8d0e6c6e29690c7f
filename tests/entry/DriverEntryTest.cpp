// The entry points that need no window, called through the built tarvikui.dll
// as the spooler calls them. (The record fuzzer checks DrvConvertDevMode.)
#include "ImportPatch.h"
#include "PrinterInstaller.h"

#include "entry/DriverInterface.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace
{
HMODULE BuiltModule()
{
    static const HMODULE module = LoadLibraryW((testhost::BinDirectory() + L"\\tarvikui.dll").c_str());
    return module;
}

template <typename T>
T Entry(const char* name)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(BuiltModule(), name)));
}

// DevQueryPrintEx refuses without writing an error text; every printer event succeeds.
TEST(BuiltModule, QueryPrintAndPrinterEvents)
{
    auto query = Entry<BOOL(WINAPI*)(PDEVQUERYPRINT_INFO)>("DevQueryPrintEx");
    auto event = Entry<BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM)>("DrvPrinterEvent");
    ASSERT_TRUE(query && event) << GetLastError();
    wchar_t error[64] = L"untouched";
    DEVQUERYPRINT_INFO info = {sizeof(info), 1, nullptr, nullptr, error, static_cast<DWORD>(std::size(error)), 0};
    EXPECT_FALSE(query(&info));
    EXPECT_STREQ(L"untouched", error);
    EXPECT_EQ(0u, info.cchNeeded);
    wchar_t printer[] = L"Tarvik";
    for (INT e = PRINTER_EVENT_ADD_CONNECTION; e <= PRINTER_EVENT_ATTRIBUTES_CHANGED; ++e)
        EXPECT_TRUE(event(printer, e, PRINTER_EVENT_FLAG_NO_UI, 0)) << e;
}

// The renderer that answers escape -255 is not on this machine: the module's
// ExtEscape import goes to a stand-in that records each call (the DC, the
// escape, the input's size and name, the output's size and whether there was one).
using EscapeCall = std::tuple<HDC, int, int, std::wstring, int, bool>;
std::vector<EscapeCall> g_escapes;
int g_rendererAnswer = 0;

int WINAPI RendererStandIn(HDC hdc, int escape, int inputSize, LPCSTR input, int outputSize, LPSTR output)
{
    const auto* name = reinterpret_cast<const wchar_t*>(input);
    g_escapes.emplace_back(hdc, escape, inputSize, name ? name : L"<null>", outputSize, output != nullptr);
    return g_rendererAnswer;
}

// STARTDOC sends the document name (empty without one, without a DOCINFOW or
// with an input too small for the pointer) and maps the renderer's answer;
// every other event succeeds without the renderer.
TEST(BuiltModule, DocumentEvents)
{
    using DocumentEventFn = int(WINAPI*)(HANDLE, HDC, int, ULONG, PVOID, ULONG, PVOID);
    const auto documentEvent = Entry<DocumentEventFn>("DrvDocumentEvent");
    ASSERT_NE(nullptr, documentEvent);
    void* previous =
        testhost::PatchImport(BuiltModule(), "gdi32.dll", "ExtEscape", reinterpret_cast<void*>(RendererStandIn));
    ASSERT_NE(nullptr, previous) << "tarvikui.dll does not import ExtEscape from gdi32.dll";
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
        EXPECT_EQ(result, documentEvent(nullptr, dc, DOCUMENTEVENT_STARTDOC, cbIn, &pInfo, 0, nullptr));
        EXPECT_EQ(lastError, GetLastError());
        const std::wstring sent = name && cbIn >= kPointer ? name : L"";
        const int sentSize = int((sent.size() + 1) * sizeof(wchar_t));
        EXPECT_EQ((std::vector<EscapeCall>{{dc, -255, sentSize, sent, 0, false}}), g_escapes);
    }
    g_escapes.clear();
    g_rendererAnswer = 1223;
    for (int e = DOCUMENTEVENT_CREATEDCPRE; e <= DOCUMENTEVENT_QUERYFILTER; ++e)
    {
        if (e == DOCUMENTEVENT_STARTDOC)
            continue;
        SetLastError(0xdeadbeef);
        EXPECT_EQ(1, documentEvent(nullptr, nullptr, e, 0, nullptr, 0, nullptr)) << e;
        EXPECT_EQ(0xdeadbeefu, GetLastError()) << e;
    }
    EXPECT_TRUE(g_escapes.empty());
    testhost::PatchImport(BuiltModule(), "gdi32.dll", "ExtEscape", previous);
    std::vector<EscapeCall>().swap(g_escapes);
}
} // namespace
