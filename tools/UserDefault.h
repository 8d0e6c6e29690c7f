// This user's default settings record for a printer, kept by the spooler as
// the printers folder keeps it on Windows: the per-user default
// (PRINTER_INFO_9), or, where the spooler has no level 9, the printer's own
// default (PRINTER_INFO_2), which is everyone's.
#pragma once

#include <windows.h>

#include <vector>

// What the sheet's answer and the record it returned tell about the run.
enum class SheetOutcome
{
    Cancelled, // the answer says Cancel (Windows answers IDCANCEL)
    Unchanged, // the answer does not say which button; the record is as it went in
    Changed,   // the answer does not say Cancel, and the record differs: confirmed
    Failed     // the sheet did not run
};

SheetOutcome JudgeSheet(LONG answer, bool recordChanged);

struct StoredDefault
{
    std::vector<unsigned char> record; // dmSize + dmDriverExtra bytes; empty when none is stored
    DWORD level = 0;                   // of GetPrinterW that gave it
};

// The stored default of `printer`: level 9, or level 2 where the spooler
// refuses level 9. An empty record when neither holds one (the last error
// says why).
StoredDefault LoadUserDefault(HANDLE printer);

// Stores `record` as this user's default of `printer`; `level` receives the
// level that took it (9, or 2 where the spooler refuses level 9; a level 2
// store needs a handle with administer access). Returns 0 or the error.
DWORD StoreUserDefault(HANDLE printer, const DEVMODEW& record, DWORD* level);
