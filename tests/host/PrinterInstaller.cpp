#include "PrinterInstaller.h"

#include <winspool.h>

#include <vector>

namespace testhost
{
namespace
{
DWORD Fail(std::wstring* step, const wchar_t* what)
{
    const DWORD code = GetLastError();
    if (step)
        *step = what;
    return code ? code : ERROR_GEN_FAILURE;
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

std::wstring DriverDirectory()
{
    wchar_t dir[MAX_PATH * 2];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(kEnvironment), 1, reinterpret_cast<BYTE*>(dir),
                                    sizeof(dir), &needed))
        return std::wstring();
    return std::wstring(dir) + L"\\3";
}

HANDLE OpenTarvikPrinter(DWORD access)
{
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(kPrinterName), &printer, &defaults))
        return nullptr;
    return printer;
}

DWORD InstallTarvikPrinter(std::wstring* step)
{
    if (HANDLE old = OpenTarvikPrinter())
    {
        DeletePrinter(old);
        ClosePrinter(old);
    }

    const std::wstring driverDir = DriverDirectory();
    if (driverDir.empty())
        return Fail(step, L"GetPrinterDriverDirectoryW");
    CreateDirectoryW(driverDir.c_str(), nullptr);

    const std::wstring bin = BinDirectory();
    for (const wchar_t* file : {L"tarvikui.dll", L"tarvikres7.dll"})
    {
        const std::wstring from = bin + L"\\" + file;
        const std::wstring to = driverDir + L"\\" + file;
        if (!CopyFileW(from.c_str(), to.c_str(), FALSE))
            return Fail(step, L"CopyFileW");
    }

    std::wstring ui = driverDir + L"\\tarvikui.dll";
    std::vector<wchar_t> dependent;
    for (const wchar_t* file : {L"tarvikres7.dll"})
    {
        dependent.insert(dependent.end(), file, file + lstrlenW(file));
        dependent.push_back(L'\0');
    }
    dependent.push_back(L'\0');

    DRIVER_INFO_3W driver = {};
    driver.cVersion = 3;
    driver.pName = const_cast<LPWSTR>(kDriverName);
    driver.pEnvironment = const_cast<LPWSTR>(kEnvironment);
    // The renderer is not part of this build; the user-interface module
    // stands in as the driver file so that the spooler accepts the driver.
    driver.pDriverPath = ui.data();
    driver.pDataFile = ui.data();
    driver.pConfigFile = ui.data();
    driver.pDependentFiles = dependent.data();
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES))
        return Fail(step, L"AddPrinterDriverExW");

    PRINTER_INFO_2W info = {};
    info.pPrinterName = const_cast<LPWSTR>(kPrinterName);
    info.pPortName = const_cast<LPWSTR>(L"FILE:");
    info.pDriverName = const_cast<LPWSTR>(kDriverName);
    info.pPrintProcessor = const_cast<LPWSTR>(L"winprint");
    info.pDatatype = const_cast<LPWSTR>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer)
        return Fail(step, L"AddPrinterW");
    ClosePrinter(printer);
    return 0;
}

} // namespace testhost
