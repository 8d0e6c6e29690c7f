#include "ProbeRun.h"

#include "PrinterInstaller.h"

namespace testhost
{
DWORD RunCopyAs(const wchar_t* program, const std::wstring& folder, const std::wstring& name, std::string* output)
{
    const std::wstring dir = BinDirectory() + L"\\runas-" + folder;
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring exe = dir + L"\\" + name;
    if (!CopyFileW((BinDirectory() + L"\\" + program).c_str(), exe.c_str(), FALSE))
        return 1000 + GetLastError();
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd;
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" + exe + L"\"";
    DWORD code = 2000;
    const BOOL started =
        CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, dir.c_str(), &si, &pi);
    if (!started)
        code += GetLastError();
    CloseHandle(writeEnd);
    char chunk[256];
    DWORD read = 0;
    while (started && ReadFile(readEnd, chunk, sizeof(chunk), &read, nullptr) && read > 0)
    {
        if (output)
            output->append(chunk, read);
    }
    CloseHandle(readEnd);
    if (started)
    {
        WaitForSingleObject(pi.hProcess, INFINITE);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    DeleteFileW(exe.c_str());
    RemoveDirectoryW(dir.c_str());
    return code;
}
} // namespace testhost
