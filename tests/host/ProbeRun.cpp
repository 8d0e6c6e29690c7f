#include "ProbeRun.h"

#include "PrinterInstaller.h"

namespace testhost
{
DWORD RunProgram(const std::wstring& exe, const std::wstring& arguments, const std::wstring& dir, std::string* output)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd;
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    DWORD code = 2000;
    const BOOL started = CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        dir.empty() ? nullptr : dir.c_str(), &si, &pi);
    if (!started)
        code += GetLastError();
    CloseHandle(writeEnd);
    char chunk[256];
    DWORD read = 0;
    while (started && ReadFile(readEnd, chunk, sizeof(chunk), &read, nullptr) && read > 0)
        output->append(chunk, read);
    CloseHandle(readEnd);
    if (started)
    {
        WaitForSingleObject(pi.hProcess, INFINITE);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    return code;
}

DWORD RunProbeAs(const std::wstring& name, const wchar_t* argument, std::string* output)
{
    static int runs = 0;
    const std::wstring dir =
        BinDirectory() + L"\\runas-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++runs);
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring exe = dir + L"\\" + name;
    if (!CopyFileW((BinDirectory() + L"\\probe_program.exe").c_str(), exe.c_str(), FALSE))
        return 1000 + GetLastError();
    const DWORD code = RunProgram(exe, argument, dir, output);
    DeleteFileW(exe.c_str());
    RemoveDirectoryW(dir.c_str());
    return code;
}
} // namespace testhost
