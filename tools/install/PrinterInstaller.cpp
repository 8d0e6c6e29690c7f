#include "PrinterInstaller.h"

#include <winspool.h>

namespace tarvikinstall
{
namespace
{
// The printer's and the driver's name and environment (the spooler takes them writable).
wchar_t g_tarvik[] = L"Tarvik";
wchar_t g_environment[] = L"Windows x64";

DWORD Fail(std::wstring* step, const wchar_t* what)
{
    const DWORD code = GetLastError();
    if (step)
        *step = what;
    return code ? code : ERROR_GEN_FAILURE;
}

// A loaded driver file cannot be overwritten: as the spooler does on Windows,
// it is moved aside (its mapping stays) and removed once nothing holds it.
bool CopyDriverFile(const std::wstring& from, const std::wstring& to, const std::wstring& directory)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((directory + L"\\old*.tmp").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        DeleteFileW((directory + L"\\" + found.cFileName).c_str());
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    if (CopyFileW(from.c_str(), to.c_str(), FALSE))
        return true;
    wchar_t aside[MAX_PATH * 2];
    if (GetLastError() != ERROR_SHARING_VIOLATION || !GetTempFileNameW(directory.c_str(), L"old", 0, aside) ||
        !MoveFileExW(to.c_str(), aside, MOVEFILE_REPLACE_EXISTING))
        return false;
    if (!DeleteFileW(aside))
        MoveFileExW(aside, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return CopyFileW(from.c_str(), to.c_str(), FALSE);
}
} // namespace

std::wstring BinDirectory()
{
    wchar_t path[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    std::wstring dir(path, n);
    const size_t slash = dir.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : dir.substr(0, slash);
}

HANDLE OpenTarvikPrinter(DWORD access)
{
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
    HANDLE printer = nullptr;
    return OpenPrinterW(g_tarvik, &printer, &defaults) ? printer : nullptr;
}

DWORD InstallTarvikPrinter(std::wstring* step, bool keepPrinter)
{
    bool exists = false;
    if (HANDLE old = OpenTarvikPrinter())
    {
        exists = keepPrinter;
        if (!keepPrinter)
            DeletePrinter(old);
        ClosePrinter(old);
    }

    wchar_t directory[MAX_PATH * 2];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, g_environment, 1, reinterpret_cast<BYTE*>(directory), sizeof(directory),
                                    &needed))
        return Fail(step, L"GetPrinterDriverDirectoryW");
    const std::wstring driverDir = std::wstring(directory) + L"\\3";
    CreateDirectoryW(driverDir.c_str(), nullptr);

    const std::wstring bin = BinDirectory();
    for (const wchar_t* file : {L"tarvikui.dll", L"tarvikres7.dll"})
    {
        if (!CopyDriverFile(bin + L"\\" + file, driverDir + L"\\" + file, driverDir))
            return Fail(step, L"CopyFileW");
    }

    std::wstring ui = driverDir + L"\\tarvikui.dll";
    wchar_t dependent[] = L"tarvikres7.dll\0"; // a list that ends in an empty name

    DRIVER_INFO_3W driver = {};
    driver.cVersion = 3;
    driver.pName = g_tarvik;
    driver.pEnvironment = g_environment;
    // The renderer is not part of this build; the user-interface module
    // stands in as the driver file so that the spooler accepts the driver.
    driver.pDriverPath = ui.data();
    driver.pDataFile = ui.data();
    driver.pConfigFile = ui.data();
    driver.pDependentFiles = dependent;
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES))
        return Fail(step, L"AddPrinterDriverExW");
    if (exists)
        return 0;

    PRINTER_INFO_2W info = {};
    info.pPrinterName = g_tarvik;
    info.pPortName = const_cast<LPWSTR>(L"FILE:");
    info.pDriverName = g_tarvik;
    info.pPrintProcessor = const_cast<LPWSTR>(L"winprint");
    info.pDatatype = const_cast<LPWSTR>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer)
        return Fail(step, L"AddPrinterW");
    ClosePrinter(printer);
    return 0;
}

} // namespace tarvikinstall
