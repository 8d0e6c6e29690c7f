// What the printer-driver interface and the common property-sheet host hand
// to the module, where MinGW-w64's headers lack it, written from the
// platform's published layouts. The page frame and the entry points both
// read these; the size checks hold the 64-bit layouts the spooler and the
// host pass us.
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

static_assert(sizeof(DOCUMENTPROPERTYHEADER) == 48, "DOCUMENTPROPERTYHEADER layout");
static_assert(offsetof(DOCUMENTPROPERTYHEADER, hPrinter) == 8, "DOCUMENTPROPERTYHEADER layout");
static_assert(offsetof(DOCUMENTPROPERTYHEADER, cbOut) == 40, "DOCUMENTPROPERTYHEADER layout");
static_assert(sizeof(DEVICEPROPERTYHEADER) == 24, "DEVICEPROPERTYHEADER layout");
static_assert(sizeof(PROPSHEETUI_INFO) == 48, "PROPSHEETUI_INFO layout");
