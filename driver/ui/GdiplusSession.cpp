#include "Globals.h"

#include <libmerrow/error.h>

#include <gdiplus.h>

void StartGdiplus()
{
    if (g_gdiplusToken != 0)
        return; // a second sheet of the process shares the running GDI+
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
        return;
    }
    g_gdiplusToken = token;
}

void StopGdiplus()
{
    if (g_gdiplusToken == 0)
        return;
    Gdiplus::GdiplusShutdown(g_gdiplusToken);
    g_gdiplusToken = 0;
}
