// File versions read from real files: this program's own version resource
// (four different numbers, so that a mixed-up half shows) and files without.
#include "DebugCapture.h"
#include "HeapWatch.h"
#include "ReportLines.h"

#include <libmerrow/file.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace
{
// No version information is no failure: the numbers stay as they were.
TEST(GetFileVersion, ReadsTheFixedVersionOrLeavesTheNumbers)
{
    wchar_t self[MAX_PATH], folder[MAX_PATH], plain[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    GetTempPathW(MAX_PATH, folder);
    ASSERT_NE(0u, GetTempFileNameW(folder, L"tfv", 0, plain));
    const std::vector<WORD> untouched(4, 0xBEEF);
    // The file and the allocation that fails (0: none); the code and the numbers.
    const std::tuple<std::wstring, int, DWORD, std::vector<WORD>> rows[] = {
        {self, 0, 0, {PROBE_VERSION_MAJOR1, PROBE_VERSION_MAJOR2, PROBE_VERSION_MINOR1, PROBE_VERSION_MINOR2}},
        {plain, 0, 0, untouched},
        {std::wstring(folder) + L"no-such-file.dll", 0, 0, untouched},
        {self, 1, 8, untouched},
    };
    for (const auto& [path, failAt, code, numbers] : rows)
    {
        SCOPED_TRACE(testhost::Utf8(path) + " failing " + std::to_string(failAt));
        testhost::HeapWatch heap(failAt);
        WORD v[4] = {0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF};
        testhost::DebugCapture capture;
        EXPECT_EQ(code, GetFileVersion(path.c_str(), &v[0], &v[1], &v[2], &v[3]));
        EXPECT_EQ(numbers, std::vector<WORD>(v, v + 4));
        if (code)
            EXPECT_EQ("",
                      testhost::ReportMismatch(capture.Lines(), code, nullptr, {L"@file", L"from GetFileVersion()"}));
        else
            EXPECT_TRUE(capture.Lines().empty());
    }
    DeleteFileW(plain);
}

// A null pointer is reported with all five arguments.
TEST(GetFileVersion, NullPointerIsReportedWithTheArguments)
{
    const wchar_t* path = L"C:\\windows\\notepad.exe";
    WORD v[3] = {1, 2, 3};
    testhost::DebugCapture capture;
    EXPECT_EQ(87u, GetFileVersion(path, &v[0], &v[1], &v[2], nullptr));
    const auto hex = [](const void* pointer) { return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(pointer)); };
    wchar_t arguments[256];
    swprintf(arguments, std::size(arguments),
             L"pszFulPath = %x, pwMajor1 = %x, pwMajor2 = %x, pwMinor1 = %x, pwMinor2 = 0", hex(path), hex(&v[0]),
             hex(&v[1]), hex(&v[2]));
    EXPECT_EQ(std::vector<std::wstring>({testhost::ReportText(87, nullptr), arguments, L"from GetFileVersion()"}),
              capture.Lines());
    EXPECT_EQ(std::vector<WORD>({1, 2, 3}), std::vector<WORD>(v, v + 3));
    EXPECT_EQ(87u, GetFileVersion(nullptr, &v[0], &v[1], &v[2], &v[2]));
}
} // namespace
