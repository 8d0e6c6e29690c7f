#include "libmerrow/error.h"

#include <stdarg.h>
#include <stdio.h>
#include <wchar.h>

namespace
{
// The last error text, one per thread: the spooler calls the module from
// several threads at once, and a dialog shows the text its own thread's
// report left behind.
thread_local wchar_t t_szLastError[kLastErrorCapacity];

// The source name as the location line shows it: no folder, no extension.
void SourceNameOf(const char* path, char* name, size_t capacity)
{
    const char* start = path;
    for (const char* p = path; *p; ++p)
    {
        if (*p == '/' || *p == '\\')
            start = p + 1;
    }
    size_t n = 0;
    while (start[n] && start[n] != '.' && n + 1 < capacity)
    {
        name[n] = start[n];
        ++n;
    }
    name[n] = '\0';
}
} // namespace

int FormatTextV(wchar_t* buffer, size_t capacity, size_t countLimit, const wchar_t* format, va_list args)
{
    if (!buffer || capacity == 0 || !format)
        return -1;
    return _vsnwprintf_s(buffer, capacity, countLimit, format, args);
}

int FormatTextW(wchar_t* buffer, size_t capacity, size_t countLimit, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const int n = FormatTextV(buffer, capacity, countLimit, format, args);
    va_end(args);
    return n;
}

void DebugPrintW(const wchar_t* format, ...)
{
    wchar_t line[kDebugLineCapacity];
    va_list args;
    va_start(args, format);
    const int n = FormatTextV(line, kDebugLineCapacity, _TRUNCATE, format, args);
    va_end(args);
    OutputDebugStringW(n < 0 ? MERROW_OVERFLOW_TEXT : line);
}

DWORD ReportErrorW(DWORD code, const wchar_t* reasonFormat, ...)
{
    wchar_t systemText[kReportPartCapacity];
    wchar_t reason[kReportPartCapacity];
    t_szLastError[0] = L'\0';
    reason[0] = L'\0';

    if (reasonFormat)
    {
        va_list args;
        va_start(args, reasonFormat);
        const int n = FormatTextV(reason, kReportPartCapacity, _TRUNCATE, reasonFormat, args);
        va_end(args);
        if (n < 0)
            wcscpy_s(reason, kReportPartCapacity, MERROW_OVERFLOW_TEXT);
        reason[kReportPartCapacity - 1] = L'\0';
    }

    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        systemText, kReportPartCapacity, nullptr);
    if (length == 0)
        wcscpy_s(systemText, kReportPartCapacity, MERROW_NO_MESSAGE_TEXT);
    else if (systemText[length - 1] == L'\n')
        systemText[length - 1] = L'\0'; // the carriage return before it stays
    else
        systemText[length < kReportPartCapacity ? length : kReportPartCapacity - 1] = L'\0';

    if (reasonFormat)
        FormatTextW(t_szLastError, kLastErrorCapacity, _TRUNCATE, L"Message\t: %s\nReason\t: %s\nCode\t: %d(0x%08X)",
                    systemText, reason, static_cast<int>(code), code);
    else
        FormatTextW(t_szLastError, kLastErrorCapacity, _TRUNCATE, L"Message\t: %s\nCode\t: %d(0x%08X)", systemText,
                    static_cast<int>(code), code);

    OutputDebugStringW(t_szLastError);
    return code;
}

const wchar_t* GetLastErrorTextW()
{
    return t_szLastError;
}

DWORD LastErrorCode()
{
    const DWORD code = GetLastError();
    return code != 0 ? code : ERROR_INVALID_DATA;
}

DWORD TraceFailureAt(const char* sourcePath, int line, DWORD code, const wchar_t* function)
{
    char name[MAX_PATH];
    SourceNameOf(sourcePath ? sourcePath : "", name, sizeof(name));
    DebugPrintW(L"%S(%d) : error = %d", name, line, static_cast<int>(code));
    return TracePassOn(code, function);
}

DWORD TraceFailedCall(const wchar_t* call, DWORD code, const wchar_t* function)
{
    DebugPrintW(L"from %s", call);
    return TracePassOn(code, function);
}

DWORD TracePassOn(DWORD code, const wchar_t* function)
{
    if (code != 0 && function)
        DebugPrintW(L"from %s", function);
    return code;
}
