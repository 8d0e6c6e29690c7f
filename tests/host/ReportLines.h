// The library's failure reports on the debug stream, from the platform's own texts.
#pragma once

#include "RecordFields.h" // Ansi, Utf8

#include <windows.h>

#include <string>
#include <vector>

namespace testhost
{
// The text ReportErrorW writes for `code` and the formatted reason (null for
// none), with the system text as FormatMessageW gives it on this machine.
std::wstring ReportText(DWORD code, const wchar_t* reason);

// "" when `lines` are the report of `code` with `reason` followed by
// `rest`, else what differs. A line "@<source>" in `rest` stands for that
// source's location line "<source>(<line>) : error = <code>".
std::string ReportMismatch(const std::vector<std::wstring>& lines, DWORD code, const wchar_t* reason,
                           const std::vector<std::wstring>& rest);

} // namespace testhost
