// Failure reporting to the debugger output stream.
//
// The module keeps no log file: every failure is written as text lines with
// OutputDebugStringW, where a developer reads them with a debugger or a
// debug-output viewer. ReportErrorW also leaves the text behind in a buffer
// of the calling thread, so that a dialog can show the user what went wrong.
#pragma once

#include <windows.h>

// Written instead of a line that cannot be formatted or does not fit.
#define MERROW_OVERFLOW_TEXT L"Exception : The format is invalid or Parameter length is too long"
// The system text used for a code the system has no message for.
#define MERROW_NO_MESSAGE_TEXT L"Error message not found"

// Capacities, in UTF-16 code units.
constexpr int kDebugLineCapacity = 8192;
constexpr int kLastErrorCapacity = 8192;
constexpr int kReportPartCapacity = 4096;

// Bounded formatting with the platform's traditional wide specifiers
// ("%s" UTF-16, "%S" 8-bit). countLimit is passed on as the CRT's
// count (_TRUNCATE cuts the text to the buffer). Returns the number of units
// written, or -1 when the text was cut or could not be formatted.
int FormatTextW(wchar_t* buffer, size_t capacity, size_t countLimit, const wchar_t* format, ...);
int FormatTextV(wchar_t* buffer, size_t capacity, size_t countLimit, const wchar_t* format, va_list args);

// One formatted line, one OutputDebugStringW. No line end is added.
void DebugPrintW(const wchar_t* format, ...);

// Writes the system's text for `code` (and the formatted reason, when one is
// given) to the debug stream and keeps it as the last error text. Returns
// `code` unchanged so that a caller can `return ReportErrorW(...)`.
DWORD ReportErrorW(DWORD code, const wchar_t* reasonFormat, ...);

// The text of the last ReportErrorW call; valid until the next one.
const wchar_t* GetLastErrorTextW();

// The thread's last error after a failed platform call, never 0 (a caller
// would take 0 for success): ERROR_INVALID_DATA when the call set none.
// Read it before anything else runs, since a report may change it.
DWORD LastErrorCode();

// ---------------------------------------------------------------------------
// The failure-site pattern.
//
// A failing function writes, after the optional ReportErrorW, a location line
// and (when its result is not 0) a "from" line with its own name; each caller
// that passes the code on adds its own "from" line, so the debug output shows
// the chain of names from the innermost failure outwards. Each helper returns
// the code so that a level of the chain is one statement:
//
//     return FAIL_AT(ReportErrorW(ERROR_NOT_ENOUGH_MEMORY, nullptr), L"CFormManager::AddForm()");
//     return FAIL_FROM(L"RegOpenKeyExW()", ReportErrorW(rc, L"..."), L"CFormManager::_LoadFavorite()");
//     return PASS_ON(rc, L"CDlgFormSetting::_AddFavoriteFormName()");

// "%S(%d) : error = %d" with the 8-bit name of the source file (the file name
// of `sourcePath` without folder and extension), then "from <function>" when
// `code` is not 0.
DWORD TraceFailureAt(const char* sourcePath, int line, DWORD code, const wchar_t* function);

// "from <call>" naming the failed platform call, then "from <function>" when
// `code` is not 0.
DWORD TraceFailedCall(const wchar_t* call, DWORD code, const wchar_t* function);

// "from <function>" when `code` is not 0; nothing otherwise.
DWORD TracePassOn(DWORD code, const wchar_t* function);

#define FAIL_AT(code, function) TraceFailureAt(__FILE__, __LINE__, (code), (function))
#define FAIL_FROM(call, code, function) TraceFailedCall((call), (code), (function))
#define PASS_ON(code, function) TracePassOn((code), (function))
