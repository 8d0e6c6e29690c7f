// Failure reporting, checked against what the platform itself says: system
// texts come from FormatMessageW on this machine, never from a literal.
#include "DebugCapture.h"

#include <libmerrow/error.h>

#include <gtest/gtest.h>

#include <string>

namespace
{
using testhost::DebugCapture;

// The system's text for `code` as ReportErrorW must show it: the final line
// feed cut, a carriage return before it kept; empty when there is none.
std::wstring SystemText(DWORD code)
{
    wchar_t text[4096];
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                   4096, nullptr);
    std::wstring s(text, n);
    if (!s.empty() && s.back() == L'\n')
        s.pop_back();
    return s;
}

TEST(ReportErrorW, CodeWithoutReasonShowsSystemTextAndCode)
{
    const std::wstring system = SystemText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(system.empty());
    DebugCapture capture;
    EXPECT_EQ(2u, ReportErrorW(ERROR_FILE_NOT_FOUND, nullptr));
    const std::wstring expected = L"Message\t: " + system + L"\nCode\t: 2(0x00000002)";
    ASSERT_EQ(1u, capture.Lines().size());
    EXPECT_EQ(expected, capture.Lines()[0]);
    EXPECT_EQ(expected, std::wstring(GetLastErrorTextW()));
}

TEST(ReportErrorW, ReasonIsFormattedOnItsOwnLine)
{
    const std::wstring system = SystemText(ERROR_ACCESS_DENIED);
    DebugCapture capture;
    EXPECT_EQ(5u, ReportErrorW(ERROR_ACCESS_DENIED, L"Can not get %s file version", L"C:\\x\\tarvikui.dll"));
    const std::wstring expected =
        L"Message\t: " + system + L"\nReason\t: Can not get C:\\x\\tarvikui.dll file version\nCode\t: 5(0x00000005)";
    ASSERT_EQ(1u, capture.Lines().size());
    EXPECT_EQ(expected, capture.Lines()[0]);
    EXPECT_EQ(expected, std::wstring(GetLastErrorTextW()));
}

// Codes the platform has no text for, and the sign of a negative code.
TEST(ReportErrorW, UnknownAndNegativeCodes)
{
    struct Row
    {
        DWORD code;
        const wchar_t* printed;
    };
    const Row rows[] = {{0x2FFFFFFF, L"805306367(0x2FFFFFFF)"}, {static_cast<DWORD>(-1), L"-1(0xFFFFFFFF)"}};
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.printed);
        const std::wstring system = SystemText(row.code);
        DebugCapture capture;
        EXPECT_EQ(row.code, ReportErrorW(row.code, nullptr));
        const std::wstring shown = system.empty() ? std::wstring(L"Error message not found") : system;
        EXPECT_EQ(L"Message\t: " + shown + L"\nCode\t: " + row.printed, std::wstring(GetLastErrorTextW()));
    }
}

TEST(ReportErrorW, TooLongReasonBecomesTheOverflowText)
{
    const std::wstring longName(5000, L'x');
    DebugCapture capture;
    ReportErrorW(ERROR_FILE_NOT_FOUND, L"Can not open %s", longName.c_str());
    const std::wstring text = GetLastErrorTextW();
    EXPECT_NE(std::wstring::npos,
              text.find(L"\nReason\t: Exception : The format is invalid or Parameter length is too long\nCode\t: 2("))
        << text;
}

TEST(DebugPrintW, WritesOneLineWithoutLineEnd)
{
    DebugCapture capture;
    DebugPrintW(L"%S(%d) : error = %d", "CFormManager", 120, 87);
    DebugPrintW(L"from %s", L"CFormManager::AddForm()");
    const auto lines = capture.Lines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(L"CFormManager(120) : error = 87", lines[0]);
    EXPECT_EQ(L"from CFormManager::AddForm()", lines[1]);
}

TEST(DebugPrintW, OverlongLineBecomesTheOverflowText)
{
    for (size_t length : {size_t(8191), size_t(8192), size_t(9000)})
    {
        SCOPED_TRACE(length);
        const std::wstring text(length, L'a');
        DebugCapture capture;
        DebugPrintW(L"%s", text.c_str());
        ASSERT_EQ(1u, capture.Lines().size());
        if (length < 8192)
            EXPECT_EQ(text, capture.Lines()[0]);
        else
            EXPECT_EQ(L"Exception : The format is invalid or Parameter length is too long", capture.Lines()[0]);
    }
}

TEST(FormatTextW, CutsAndSaysSo)
{
    wchar_t buffer[8];
    EXPECT_EQ(5, FormatTextW(buffer, 8, _TRUNCATE, L"%s-%d", L"ab", 12));
    EXPECT_STREQ(L"ab-12", buffer);
    EXPECT_EQ(-1, FormatTextW(buffer, 8, _TRUNCATE, L"%s", L"abcdefghij"));
    EXPECT_STREQ(L"abcdefg", buffer);
    EXPECT_EQ(-1, FormatTextW(nullptr, 8, _TRUNCATE, L"%s", L"a"));
}

// The failure-site helpers write the chain, innermost first, with the source
// name of this file and the line the failure was detected on.
TEST(FailureSite, WritesLocationAndFromLines)
{
    DebugCapture capture;
    const int line = __LINE__ + 1;
    const DWORD inner = FAIL_AT(ERROR_NOT_ENOUGH_MEMORY, L"Inner()");
    const DWORD outer = PASS_ON(inner, L"Outer()");
    EXPECT_EQ(0u, PASS_ON(0, L"Quiet()"));
    EXPECT_EQ(6u, FAIL_FROM(L"RegOpenKeyExW()", 6, L"Caller()"));
    EXPECT_EQ(8u, inner);
    EXPECT_EQ(8u, outer);
    const auto lines = capture.Lines();
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ(L"ErrorReportTest(" + std::to_wstring(line) + L") : error = 8", lines[0]);
    EXPECT_EQ(L"from Inner()", lines[1]);
    EXPECT_EQ(L"from Outer()", lines[2]);
    EXPECT_EQ(L"from RegOpenKeyExW()", lines[3]);
    EXPECT_EQ(L"from Caller()", lines[4]);
}

TEST(FailureSite, CodeZeroWritesNoFromLine)
{
    DebugCapture capture;
    EXPECT_EQ(0u, FAIL_AT(0, L"Nothing()"));
    ASSERT_EQ(1u, capture.Lines().size());
    EXPECT_NE(std::wstring::npos, capture.Lines()[0].find(L") : error = 0"));
}
} // namespace
