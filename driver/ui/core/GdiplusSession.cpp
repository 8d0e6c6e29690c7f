#include "core/Globals.h"

#include <libmerrow/error.h>

#include <gdiplus.h>

namespace
{
// How many users hold GDI+ started: open document sheets and live preview
// controls. Only the last one to leave shuts it down, so a sheet that
// closes never pulls GDI+ from under a preview that is still painting.
// Sheets opened on several threads of one process (the shell opens each
// on a thread of its own) start and stop it under this lock.
LONG g_gdiplusUsers = 0;
SRWLOCK g_gdiplusLock = SRWLOCK_INIT;

struct GdiplusLockHold
{
    GdiplusLockHold() { AcquireSRWLockExclusive(&g_gdiplusLock); }
    ~GdiplusLockHold() { ReleaseSRWLockExclusive(&g_gdiplusLock); }
    GdiplusLockHold(const GdiplusLockHold&) = delete;
    GdiplusLockHold& operator=(const GdiplusLockHold&) = delete;
};
} // namespace

bool StartGdiplus()
{
    const GdiplusLockHold hold;
    if (g_gdiplusToken != 0)
    {
        ++g_gdiplusUsers;
        return true;
    }
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    const Gdiplus::Status status = Gdiplus::GdiplusStartup(&token, &input, nullptr);
    if (status != Gdiplus::Ok)
    {
        DebugPrintW(L"Can not initialize GDI+. Status = %d", static_cast<int>(status));
        return false;
    }
    g_gdiplusToken = token;
    g_gdiplusUsers = 1;
    return true;
}

void StopGdiplus()
{
    const GdiplusLockHold hold;
    if (g_gdiplusToken == 0 || --g_gdiplusUsers > 0)
        return;
    Gdiplus::GdiplusShutdown(g_gdiplusToken);
    g_gdiplusToken = 0;
    g_gdiplusUsers = 0;
}
