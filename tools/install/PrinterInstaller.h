// The main job's installer, which the tests and benchmarks share: installs
// the built driver as the printer "Tarvik" the way a driver package is
// installed: files into the spooler's driver directory, AddPrinterDriverExW
// (level 3, "Windows x64"), AddPrinterW on port "FILE:".
#pragma once

#include <windows.h>

#include <string>

namespace tarvikinstall
{
std::wstring BinDirectory(); // of the running executable, where the build puts the DLLs

// Copies tarvikui.dll and tarvikres7.dll from the build into the driver
// directory and adds the driver and a fresh printer "Tarvik" (an existing one
// is deleted first, so each run starts from the driver's default record).
// With `keepPrinter` an existing printer stays, and with it its stored
// defaults; only the driver is updated.
// Returns 0 or the Win32 error of the step that failed; `step` names it.
DWORD InstallTarvikPrinter(std::wstring* step = nullptr, bool keepPrinter = false);

// Null on failure (the last error says why).
HANDLE OpenTarvikPrinter(DWORD access = PRINTER_ALL_ACCESS);
} // namespace tarvikinstall
