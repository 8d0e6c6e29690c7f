// Process-wide state of the module. Written at process attach (under the
// loader lock) or by the thread that owns a property sheet; never locked.
#pragma once

#include <windows.h>

extern HINSTANCE g_hModule;      // this module
extern HINSTANCE g_hResModule;   // "tarvikres7.dll", loaded on the first sheet call
extern BOOL g_bSpoolerOrShell;   // running inside explorer.exe or spoolsv.exe
extern ULONG_PTR g_gdiplusToken; // non-zero while GDI+ is started

// Sets g_bSpoolerOrShell from the name of the process's executable.
void CheckHostProcess();

// Loads the resource module from the folder of this module when it is not
// loaded yet; on failure logs, tells the user and returns false.
bool EnsureResourceModule();

// GDI+ is counted per process: the first start starts it, the last stop
// shuts it down. StartGdiplus returns true when the caller now holds one
// count (a failed start holds none); each true is paired with one
// StopGdiplus.
bool StartGdiplus();
void StopGdiplus();
