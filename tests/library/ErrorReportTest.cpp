// Failure reporting against the platform's own texts (FormatMessageW here).
#include "DebugCapture.h"
#include "ReportLines.h"

#include <libmerrow/error.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace
{
using testhost::DebugCapture;

const wchar_t kOverflow[] = L"Exception : The format is invalid or Parameter length is too long";

// The system text, the reason and the code in decimal and hex (a negative
// code keeps its sign); the last error text holds the same.
TEST(ReportErrorW, SystemTextReasonAndCode)
{
    const std::wstring longName(5000, L'x');
    // The code, the reason's argument, the code as printed.
    const std::tuple<DWORD, const wchar_t*, const wchar_t*> rows[] = {
        {ERROR_ACCESS_DENIED, L"C:\\x\\tarvikui.dll", L"5(0x00000005)"},
        {0x2FFFFFFF, nullptr, L"805306367(0x2FFFFFFF)"},
        {static_cast<DWORD>(-1), nullptr, L"-1(0xFFFFFFFF)"},
        {ERROR_FILE_NOT_FOUND, longName.c_str(), L"2(0x00000002)"},
    };
    for (const auto& [code, reason, printed] : rows)
    {
        SCOPED_TRACE(printed);
        DebugCapture capture;
        EXPECT_EQ(code,
                  reason ? ReportErrorW(code, L"Can not get %s file version", reason) : ReportErrorW(code, nullptr));
        const std::wstring text = GetLastErrorTextW();
        EXPECT_EQ(std::vector<std::wstring>{text}, capture.Lines());
        EXPECT_EQ(std::wstring(L"\nCode\t: ") + printed, text.substr(text.size() - wcslen(printed) - 8));
        if (code == ERROR_FILE_NOT_FOUND)
            EXPECT_NE(std::wstring::npos, text.find(std::wstring(L"\nReason\t: ") + kOverflow + L"\nCode")) << text;
        else
            EXPECT_EQ(testhost::ReportText(code, reason ? L"Can not get C:\\x\\tarvikui.dll file version" : nullptr),
                      text);
    }
}

TEST(DebugPrintW, OneLineWithoutLineEndOrTheOverflowText)
{
    for (size_t length : {size_t(8191), size_t(8192)})
    {
        DebugCapture capture;
        const std::wstring pad(length - 20, L'a');
        DebugPrintW(L"%S(%d) : %s", "CFormManager", 120, pad.c_str());
        const std::wstring line = L"CFormManager(120) : " + pad;
        EXPECT_EQ(std::vector<std::wstring>{length < 8192 ? line : kOverflow}, capture.Lines());
    }
    wchar_t buffer[8];
    EXPECT_EQ(5, FormatTextW(buffer, 8, _TRUNCATE, L"%s-%d", L"ab", 12));
    EXPECT_STREQ(L"ab-12", buffer);
    EXPECT_EQ(-1, FormatTextW(buffer, 8, _TRUNCATE, L"%s", L"abcdefghij"));
    EXPECT_STREQ(L"abcdefg", buffer);
    EXPECT_EQ(-1, FormatTextW(nullptr, 8, _TRUNCATE, L"%s", L"a"));
}

} // namespace
