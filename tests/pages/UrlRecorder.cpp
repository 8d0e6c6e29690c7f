// The test prefix's program for http and https addresses: appends what it was
// asked to open, one line each, to "launched.txt" beside itself.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv)
{
    wchar_t path[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    std::wstring trace(path, n);
    trace = trace.substr(0, trace.find_last_of(L"\\/") + 1) + L"launched.txt";
    std::wstring line = argc > 1 ? argv[1] : L"(no argument)";
    line += L"\n";
    HANDLE file = CreateFileW(trace.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, line.c_str(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return 0;
}
