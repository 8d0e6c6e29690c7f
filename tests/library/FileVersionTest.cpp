// File versions read from real files: this program (its own version
// resource) and files without version information.
#include "DebugCapture.h"
#include "HeapWatch.h"
#include "ReportLines.h"

#include <libmerrow/file.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using testhost::DebugCapture;

std::wstring ThisProgram()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::vector<WORD> ReadVersion(const std::wstring& path, DWORD expectedCode)
{
    WORD v[4] = {0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF};
    DebugCapture capture;
    EXPECT_EQ(expectedCode, GetFileVersion(path.c_str(), &v[0], &v[1], &v[2], &v[3]));
    if (expectedCode == 0)
        EXPECT_TRUE(capture.Lines().empty());
    else
        EXPECT_EQ(
            "", testhost::ReportMismatch(capture.Lines(), expectedCode, nullptr, {L"@file", L"from GetFileVersion()"}));
    return {v[0], v[1], v[2], v[3]};
}

// This program's own version resource: four different numbers, so that a
// mixed-up half shows. (The module's version is read on the information page.)
TEST(GetFileVersion, ReadsTheFixedVersion)
{
    EXPECT_EQ(
        std::vector<WORD>({PROBE_VERSION_MAJOR1, PROBE_VERSION_MAJOR2, PROBE_VERSION_MINOR1, PROBE_VERSION_MINOR2}),
        ReadVersion(ThisProgram(), 0));
}

// No version information is no failure: the numbers stay as they were.
TEST(GetFileVersion, FileWithoutVersionLeavesTheNumbers)
{
    wchar_t folder[MAX_PATH], plain[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    ASSERT_NE(0u, GetTempFileNameW(folder, L"tfv", 0, plain));
    EXPECT_EQ(std::vector<WORD>(4, 0xBEEF), ReadVersion(plain, 0));
    EXPECT_EQ(std::vector<WORD>(4, 0xBEEF), ReadVersion(std::wstring(folder) + L"no-such-file.dll", 0));
    DeleteFileW(plain);
    testhost::HeapWatch heap(1);
    EXPECT_EQ(std::vector<WORD>(4, 0xBEEF), ReadVersion(ThisProgram(), 8));
}

// A null pointer is reported with all five arguments.
TEST(GetFileVersion, NullPointerIsReportedWithTheArguments)
{
    const std::wstring path = ThisProgram();
    WORD v[3] = {1, 2, 3};
    DebugCapture capture;
    EXPECT_EQ(87u, GetFileVersion(path.c_str(), &v[0], &v[1], &v[2], nullptr));
    const auto hex = [](const void* pointer) { return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(pointer)); };
    wchar_t arguments[256];
    swprintf(arguments, 256, L"pszFulPath = %x, pwMajor1 = %x, pwMajor2 = %x, pwMinor1 = %x, pwMinor2 = 0",
             hex(path.c_str()), hex(&v[0]), hex(&v[1]), hex(&v[2]));
    EXPECT_EQ(std::vector<std::wstring>({testhost::ReportText(87, nullptr), arguments, L"from GetFileVersion()"}),
              capture.Lines());
    EXPECT_EQ(std::vector<WORD>({1, 2, 3}), std::vector<WORD>(v, v + 3));
    EXPECT_EQ(87u, GetFileVersion(nullptr, &v[0], &v[1], &v[2], &v[2]));
}
} // namespace
