#include "DebugCapture.h"

#include "HeapWatch.h"

#include <windows.h>

#include <mutex>

namespace testhost
{
namespace
{
// Raised by OutputDebugStringW: the ANSI form everywhere, the UTF-16 form
// first on Windows 10 and later.
constexpr DWORD kDebugPrint = 0x40010006;
constexpr DWORD kDebugPrintWide = 0x4001000A;

std::mutex g_mutex;
std::vector<std::wstring>* g_lines = nullptr; // the living capture's
PVOID g_handler = nullptr;

LONG CALLBACK OnException(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    const bool wide = record->ExceptionCode == kDebugPrintWide;
    if ((!wide && record->ExceptionCode != kDebugPrint) || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    // The lines belong to the test, not to the call that printed them.
    const HeapWatch::Unwatched unwatched;
    const auto* text = reinterpret_cast<const void*>(record->ExceptionInformation[1]);
    const auto* ansi = static_cast<const char*>(text);
    std::wstring line;
    if (wide && text)
        line = static_cast<const wchar_t*>(text);
    else if (const int n = !wide && text ? MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0) : 0; n > 0)
    {
        line.resize(static_cast<size_t>(n));
        MultiByteToWideChar(CP_ACP, 0, ansi, -1, &line[0], n);
        line.pop_back(); // the terminator
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    g_lines->push_back(line);
    return EXCEPTION_CONTINUE_EXECUTION;
}
} // namespace

DebugCapture::DebugCapture()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_lines = &m_lines;
    g_handler = AddVectoredExceptionHandler(1, OnException);
}

DebugCapture::~DebugCapture()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    RemoveVectoredExceptionHandler(g_handler);
    g_handler = nullptr;
    g_lines = nullptr;
}

std::vector<std::wstring> DebugCapture::Lines() const
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return m_lines;
}
} // namespace testhost
