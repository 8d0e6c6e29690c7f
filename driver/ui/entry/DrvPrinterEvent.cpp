#include "entry/DriverInterface.h"
#include "core/ExceptionBarrier.h"

// The driver keeps nothing per printer, so no printer event needs work.
extern "C" BOOL WINAPI DrvPrinterEvent(LPWSTR /*pPrinterName*/, INT /*DriverEvent*/, DWORD /*Flags*/, LPARAM /*lParam*/)
{
    return ExceptionBarrier(L"DrvPrinterEvent()", FALSE, [] { return TRUE; });
}
