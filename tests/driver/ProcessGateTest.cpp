// The process gate, measured in real processes: the probe program is copied
// under the names of the shell and the spooler and run, and tells by its exit
// code what the gate decided.
#include "PrinterInstaller.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
DWORD RunProbeAs(const std::wstring& folder, const std::wstring& name)
{
    const std::wstring dir = testhost::BinDirectory() + L"\\gate\\" + folder;
    CreateDirectoryW((testhost::BinDirectory() + L"\\gate").c_str(), nullptr);
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring exe = dir + L"\\" + name;
    if (!CopyFileW((testhost::BinDirectory() + L"\\gate_probe.exe").c_str(), exe.c_str(), FALSE))
        return 1000 + GetLastError();
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return 2000 + GetLastError();
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 3000;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DeleteFileW(exe.c_str());
    return code;
}

TEST(ProcessGate, ExactNamesOfShellAndSpoolerOnly)
{
    struct Row
    {
        const wchar_t* folder;
        const wchar_t* name;
        DWORD flag;
    };
    // Each name in its own folder: Wine's file names ignore letter case.
    const Row rows[] = {
        {L"a", L"explorer.exe", 1}, {L"b", L"spoolsv.exe", 1},   {L"c", L"Explorer.exe", 0},
        {L"d", L"SPOOLSV.EXE", 0},  {L"e", L"explorer2.exe", 0}, {L"f", L"gate_probe.exe", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.flag, RunProbeAs(row.folder, row.name)) << std::string(row.name, row.name + lstrlenW(row.name));
}
} // namespace
