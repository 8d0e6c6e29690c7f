// The form-count cap of hwp.exe, measured in real processes: a probe is
// copied under several names and run as a child; it prints what the
// catalogue and the paper answers gave it.
#include "FormFixture.h"
#include "PrinterInstaller.h"

#include "CFormManager.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// Runs the probe as `folder`\`name` (a folder each: Wine's file names
// ignore case) and returns what it printed (a text-mode line).
std::string RunProbeAs(const std::wstring& folder, const std::wstring& name)
{
    const std::wstring dir = testhost::BinDirectory() + L"\\formcap" + folder;
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring exe = dir + L"\\" + name;
    if (!CopyFileW((testhost::BinDirectory() + L"\\form_cap_probe.exe").c_str(), exe.c_str(), FALSE))
        return "copy failed";
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return "pipe failed";
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd;
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" + exe + L"\"";
    const BOOL started =
        CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, dir.c_str(), &si, &pi);
    CloseHandle(writeEnd);
    std::string output = started ? "" : "start failed";
    char chunk[256];
    DWORD read = 0;
    while (started && ReadFile(readEnd, chunk, sizeof(chunk), &read, nullptr) && read > 0)
        output.append(chunk, read);
    CloseHandle(readEnd);
    if (started)
    {
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    DeleteFileW(exe.c_str());
    RemoveDirectoryW(dir.c_str());
    return output;
}

using FormCountCap = formtest::PrinterFormsTest;

TEST_F(FormCountCap, OnlyAnHwpHostIsCappedAndOnlyFrom256Forms)
{
    const struct
    {
        size_t total;
        const wchar_t* folder;
        const wchar_t* name;
        unsigned count;
    } rows[] = {
        {255, L"a", L"hwp.exe", 255},   {255, L"b", L"probe.exe", 255}, {256, L"c", L"hwp.exe", 255},
        {256, L"d", L"probe.exe", 256}, {300, L"e", L"hwp.exe", 255},   {300, L"f", L"HWP.EXE", 255},
        {300, L"g", L"myhwp.exe", 300}, {300, L"h", L"probe.exe", 300},
    };
    CFormManager writer;
    size_t total = s_spoolerForms.size();
    for (const auto& row : rows)
    {
        for (; total < row.total; ++total)
            ASSERT_EQ(0u, writer.AddForm((L"Tarvik " + std::to_wstring(total)).c_str(), 100, 100));
        const std::string expected = std::to_string(row.count) + " " + std::to_string(row.count + 1) + " " +
                                     std::to_string(row.count + 1) + " " + std::to_string(row.count + 1) + " 1\r\n";
        EXPECT_EQ(expected, RunProbeAs(row.folder, row.name)) << formtest::Narrow(row.name) << ", " << row.total;
    }
}
} // namespace
