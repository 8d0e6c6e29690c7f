#include "DriverInterface.h"

extern "C" DWORD WINAPI DrvDeviceCapabilities(HANDLE /*hPrinter*/, PWSTR /*pDeviceName*/, WORD /*iDevCap*/,
                                              VOID* /*pvOutput*/, PDEVMODEW /*pDevMode*/)
{
    // Not supported until the form catalogue answers.
    return GDI_ERROR;
}
