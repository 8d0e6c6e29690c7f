// The parts of the printer-driver user-interface interface that MinGW-w64's
// headers lack, written from the platform's published layouts. The size
// checks hold the 64-bit layouts the spooler and the host pass us.
#pragma once

#include <windows.h>
#include <winspool.h>
#include <compstui.h>
#include <winddiui.h>

#include <cstddef>

#ifndef CDM_CONVERT
#define CDM_CONVERT 0x01
#define CDM_CONVERT351 0x02
#define CDM_DRIVER_DEFAULT 0x04
#endif

typedef struct _DOCUMENTPROPERTYHEADER
{
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
    PDEVMODEW pdmIn;
    PDEVMODEW pdmOut;
    DWORD cbOut;
    DWORD fMode;
} DOCUMENTPROPERTYHEADER, *PDOCUMENTPROPERTYHEADER;

typedef struct _DEVICEPROPERTYHEADER
{
    WORD cbSize;
    WORD Flags;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
} DEVICEPROPERTYHEADER, *PDEVICEPROPERTYHEADER;

typedef struct _DEVQUERYPRINT_INFO
{
    WORD cbSize;
    WORD Level;
    HANDLE hPrinter;
    DEVMODEW* pDevMode;
    LPWSTR pszErrorStr;
    DWORD cchErrorStr;
    DWORD cchNeeded;
} DEVQUERYPRINT_INFO, *PDEVQUERYPRINT_INFO;

static_assert(sizeof(DOCUMENTPROPERTYHEADER) == 48, "DOCUMENTPROPERTYHEADER layout");
static_assert(offsetof(DOCUMENTPROPERTYHEADER, hPrinter) == 8, "DOCUMENTPROPERTYHEADER layout");
static_assert(offsetof(DOCUMENTPROPERTYHEADER, cbOut) == 40, "DOCUMENTPROPERTYHEADER layout");
static_assert(sizeof(DEVICEPROPERTYHEADER) == 24, "DEVICEPROPERTYHEADER layout");
static_assert(sizeof(DEVQUERYPRINT_INFO) == 40, "DEVQUERYPRINT_INFO layout");
static_assert(offsetof(DEVQUERYPRINT_INFO, cchNeeded) == 36, "DEVQUERYPRINT_INFO layout");
static_assert(sizeof(PROPSHEETUI_INFO) == 48, "PROPSHEETUI_INFO layout");

extern "C"
{
    LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);
    LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);
    DWORD WINAPI DrvDeviceCapabilities(HANDLE hPrinter, PWSTR pDeviceName, WORD iDevCap, VOID* pvOutput,
                                       PDEVMODEW pDevMode);
    BOOL WINAPI DrvConvertDevMode(LPWSTR pPrinterName, PDEVMODEW pdmIn, PDEVMODEW pdmOut, PLONG pcbNeeded, DWORD fMode);
    BOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO pDQPInfo);
}
