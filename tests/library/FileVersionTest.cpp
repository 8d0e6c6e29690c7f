// File versions read from real files: this program (its own version
// resource), the built module, and files without version information.
#include "DebugCapture.h"
#include "FileVersionProbe.h"
#include "HeapWatch.h"
#include "PrinterInstaller.h"
#include "ReportLines.h"

#include <libmerrow/file.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using testhost::DebugCapture;
using testhost::HeapWatch;
using testhost::ReportText;

std::wstring ThisProgram()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// The four numbers as the platform's own version API reports them.
std::vector<WORD> PlatformVersion(const std::wstring& path)
{
    std::vector<BYTE> info(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (info.empty() || !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()) ||
        !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length))
        return {};
    return {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
            LOWORD(fixed->dwFileVersionLS)};
}

std::vector<WORD> ReadVersion(const std::wstring& path, DWORD expectedCode)
{
    WORD v[4] = {0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF};
    EXPECT_EQ(expectedCode, GetFileVersion(path.c_str(), &v[0], &v[1], &v[2], &v[3]));
    return {v[0], v[1], v[2], v[3]};
}

TEST(GetFileVersion, ReadsTheFixedVersionOfRealFiles)
{
    struct Row
    {
        std::wstring path;
        std::vector<WORD> expected; // from the build
    };
    const Row rows[] = {
        {ThisProgram(), {PROBE_VERSION_MAJOR1, PROBE_VERSION_MAJOR2, PROBE_VERSION_MINOR1, PROBE_VERSION_MINOR2}},
        {testhost::BinDirectory() + L"\\tarvikui.dll",
         {TARVIK_VERSION_MAJOR, TARVIK_VERSION_MINOR, TARVIK_VERSION_PATCH, TARVIK_VERSION_TWEAK}},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::PrintToString(row.path));
        DebugCapture capture;
        EXPECT_EQ(row.expected, ReadVersion(row.path, 0));
        EXPECT_EQ(PlatformVersion(row.path), ReadVersion(row.path, 0));
        EXPECT_TRUE(capture.Lines().empty());
    }
}

// No version information is no failure: the numbers stay as they were.
TEST(GetFileVersion, FileWithoutVersionLeavesTheNumbers)
{
    wchar_t folder[MAX_PATH];
    wchar_t plain[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    ASSERT_NE(0u, GetTempFileNameW(folder, L"tfv", 0, plain));
    HANDLE file = CreateFileW(plain, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "MZ not a module", 15, &written, nullptr);
    CloseHandle(file);
    for (const std::wstring& path : {std::wstring(plain), std::wstring(folder) + L"no-such-file.dll"})
    {
        SCOPED_TRACE(testing::PrintToString(path));
        DebugCapture capture;
        EXPECT_EQ(std::vector<WORD>(4, 0xBEEF), ReadVersion(path, 0));
        EXPECT_TRUE(capture.Lines().empty());
    }
    DeleteFileW(plain);
}

TEST(GetFileVersion, NullPointerIsReportedWithTheArguments)
{
    const std::wstring path = ThisProgram();
    WORD v[4] = {1, 2, 3, 4};
    for (int missing = 0; missing < 5; ++missing)
    {
        SCOPED_TRACE(missing);
        const wchar_t* p = missing == 0 ? nullptr : path.c_str();
        WORD* w[4];
        for (int i = 0; i < 4; ++i)
            w[i] = missing == i + 1 ? nullptr : &v[i];
        DebugCapture capture;
        EXPECT_EQ(87u, GetFileVersion(p, w[0], w[1], w[2], w[3]));
        wchar_t arguments[256];
        swprintf(arguments, 256, L"pszFulPath = %x, pwMajor1 = %x, pwMajor2 = %x, pwMinor1 = %x, pwMinor2 = %x",
                 static_cast<unsigned>(reinterpret_cast<UINT_PTR>(p)),
                 static_cast<unsigned>(reinterpret_cast<UINT_PTR>(w[0])),
                 static_cast<unsigned>(reinterpret_cast<UINT_PTR>(w[1])),
                 static_cast<unsigned>(reinterpret_cast<UINT_PTR>(w[2])),
                 static_cast<unsigned>(reinterpret_cast<UINT_PTR>(w[3])));
        const std::vector<std::wstring> expected = {ReportText(87, nullptr), arguments, L"from GetFileVersion()"};
        EXPECT_EQ(expected, capture.Lines());
        EXPECT_EQ(1, v[0]);
        EXPECT_EQ(4, v[3]);
    }
}

TEST(GetFileVersion, ExhaustedHeap)
{
    HeapWatch heap(1);
    DebugCapture capture;
    EXPECT_EQ(std::vector<WORD>(4, 0xBEEF), ReadVersion(ThisProgram(), 8));
    EXPECT_EQ("", testhost::ReportMismatch(capture.Lines(), 8, nullptr, {L"@file", L"from GetFileVersion()"}));
}
} // namespace
