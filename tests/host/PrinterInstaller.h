// Installs the built driver into the private Wine prefix (for the main job,
// the benchmarks and the tests) as the printer
// "Tarvik", the way a driver package is installed on Windows: the files go
// into the spooler's driver directory, the driver is added with
// AddPrinterDriverExW (level 3, "Windows x64") and the printer with
// AddPrinterW on port "FILE:".
#pragma once

#include <windows.h>

#include <string>

namespace testhost
{
// The folder of the running executable, where the build puts the DLLs.
std::wstring BinDirectory();

// Copies tarvikui.dll and tarvikres7.dll from the build into the driver
// directory and adds the driver and a fresh printer "Tarvik" (an existing one
// is deleted first, so each run starts from the driver's default record).
// Returns 0 or the Win32 error of the step that failed; `step` names it.
DWORD InstallTarvikPrinter(std::wstring* step = nullptr);

// Opens the printer; null on failure (the last error says why).
HANDLE OpenTarvikPrinter(DWORD access = PRINTER_ALL_ACCESS);
} // namespace testhost
