#include "entry/DriverInterface.h"
#include "core/ExceptionBarrier.h"
#include "record/SettingsRecord.h"

namespace
{
BOOL ConvertDevMode(LPWSTR pPrinterName, PDEVMODEW pdmOut, PLONG pcbNeeded, DWORD fMode)
{
    // Only the driver's default record is produced; the other modes ask for
    // conversions between record versions that this driver never had.
    if (fMode != CDM_DRIVER_DEFAULT)
        return TRUE;
    if (!pcbNeeded)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (*pcbNeeded < static_cast<LONG>(kRecordSize))
    {
        *pcbNeeded = static_cast<LONG>(kRecordSize);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (!pdmOut)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The device name is the printer the default is made for (cut to the
    // 31 characters the field holds), or the product name without one.
    wchar_t name[CCHDEVICENAME];
    if (pPrinterName && *pPrinterName)
        lstrcpynW(name, pPrinterName, CCHDEVICENAME);
    else
        lstrcpynW(name, TARVIK_PRODUCT_NAME, CCHDEVICENAME);
    SetDefaultRecord(name, reinterpret_cast<TARVIK_DEVMODE*>(pdmOut));
    return TRUE;
}
} // namespace

extern "C" BOOL WINAPI DrvConvertDevMode(LPWSTR pPrinterName, PDEVMODEW /*pdmIn*/, PDEVMODEW pdmOut, PLONG pcbNeeded,
                                         DWORD fMode)
{
    return ExceptionBarrier(L"DrvConvertDevMode()", FALSE,
                            [&] { return ConvertDevMode(pPrinterName, pdmOut, pcbNeeded, fMode); });
}
