#include "ReportLines.h"

#include <regex>

namespace testhost
{
namespace
{
// Whether `text` is a source-location line "<source>(<line>) : error = <code>".
bool IsSourceLine(const std::wstring& text, const wchar_t* source, DWORD code)
{
    return std::regex_match(text, std::wregex(std::wstring(L"^") + source + L"\\((\\d+)\\) : error = " +
                                              std::to_wstring(static_cast<int>(code)) + L"$"));
}
} // namespace

std::wstring ReportText(DWORD code, const wchar_t* reason)
{
    wchar_t text[4096];
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                   4096, nullptr);
    std::wstring system(text, n);
    if (system.empty())
        system = L"Error message not found";
    else if (system.back() == L'\n')
        system.pop_back();
    wchar_t codeText[64];
    swprintf(codeText, 64, L"%d(0x%08X)", static_cast<int>(code), code);
    std::wstring report = L"Message\t: " + system;
    if (reason)
        report += std::wstring(L"\nReason\t: ") + reason;
    return report + L"\nCode\t: " + codeText;
}

std::string ReportMismatch(const std::vector<std::wstring>& lines, DWORD code, const wchar_t* reason,
                           const std::vector<std::wstring>& rest)
{
    std::vector<std::wstring> expected = {ReportText(code, reason)};
    expected.insert(expected.end(), rest.begin(), rest.end());
    std::string problems;
    if (lines.size() != expected.size())
        problems = std::to_string(lines.size()) + " lines instead of " + std::to_string(expected.size()) + "; ";
    for (size_t i = 0; i < lines.size() && i < expected.size(); ++i)
    {
        const std::wstring& want = expected[i];
        const bool location = i > 0 && !want.empty() && want[0] == L'@';
        if (location ? !IsSourceLine(lines[i], want.c_str() + 1, code) : lines[i] != want)
            problems += "line " + std::to_string(i) + ": \"" + Utf8(lines[i]) + "\" is not \"" + Utf8(want) + "\"; ";
    }
    return problems;
}

} // namespace testhost
