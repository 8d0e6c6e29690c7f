// Failure reporting, checked against what the platform itself says: system
// texts come from FormatMessageW on this machine, never from a literal.
#include "DebugCapture.h"
#include "ReportLines.h"

#include <libmerrow/error.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using testhost::DebugCapture;
using testhost::ReportText;

// The report shows the system text (or "Error message not found"), the
// formatted reason on its own line, and the code in decimal and hex, the
// sign of a negative code kept; the last error text holds the same.
TEST(ReportErrorW, SystemTextReasonAndCode)
{
    struct Row
    {
        DWORD code;
        const wchar_t* reason;
        const wchar_t* printed;
    };
    const Row rows[] = {
        {ERROR_FILE_NOT_FOUND, nullptr, L"2(0x00000002)"},
        {ERROR_ACCESS_DENIED, L"Can not get C:\\x\\tarvikui.dll file version", L"5(0x00000005)"},
        {0x2FFFFFFF, nullptr, L"805306367(0x2FFFFFFF)"},
        {static_cast<DWORD>(-1), nullptr, L"-1(0xFFFFFFFF)"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.printed);
        const std::wstring expected = ReportText(row.code, row.reason);
        ASSERT_EQ(std::wstring(L"\nCode\t: ") + row.printed,
                  expected.substr(expected.size() - wcslen(row.printed) - 8));
        DebugCapture capture;
        if (row.reason)
            EXPECT_EQ(row.code, ReportErrorW(row.code, L"Can not get %s file version", L"C:\\x\\tarvikui.dll"));
        else
            EXPECT_EQ(row.code, ReportErrorW(row.code, nullptr));
        EXPECT_EQ(std::vector<std::wstring>{expected}, capture.Lines());
        EXPECT_EQ(expected, std::wstring(GetLastErrorTextW()));
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
    EXPECT_EQ((std::vector<std::wstring>{L"CFormManager(120) : error = 87", L"from CFormManager::AddForm()"}),
              capture.Lines());
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
    const std::vector<std::wstring> expected = {L"ErrorReportTest(" + std::to_wstring(line) + L") : error = 8",
                                                L"from Inner()", L"from Outer()", L"from RegOpenKeyExW()",
                                                L"from Caller()"};
    EXPECT_EQ(expected, capture.Lines());
}

TEST(FailureSite, CodeZeroWritesNoFromLine)
{
    DebugCapture capture;
    EXPECT_EQ(0u, FAIL_AT(0, L"Nothing()"));
    ASSERT_EQ(1u, capture.Lines().size());
    EXPECT_NE(std::wstring::npos, capture.Lines()[0].find(L") : error = 0"));
}
} // namespace
