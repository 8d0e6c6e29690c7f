#include "record/SettingsRecord.h"

#include <winspool.h>

#include <cstring>
#include <memory>
#include <new>

namespace
{
// "A4" and its NUL: only the first three code units of the form name are
// written, as the stored format has always done.
void SetFormNameA4(TARVIK_DEVMODE* record)
{
    record->dmFormName[0] = L'A';
    record->dmFormName[1] = L'4';
    record->dmFormName[2] = L'\0';
}
} // namespace

bool IsWholeRecord(const DEVMODEW* dm)
{
    return dm && dm->dmSize == kPublicSize && dm->dmDriverExtra == kPrivateSize;
}

DWORD SetDefaultRecord(const wchar_t* name, TARVIK_DEVMODE* record)
{
    // Zero everything first, so that two default records are byte-identical
    // (the tails of the texts and the padding included).
    std::memset(record, 0, kRecordSize);

    lstrcpynW(record->dmDeviceName, name ? name : TARVIK_PRODUCT_NAME, CCHDEVICENAME);
    record->dmSpecVersion = kSpecVersion;
    record->dmDriverVersion = kDriverVersion;
    record->dmSize = kPublicSize;
    record->dmDriverExtra = kPrivateSize;
    record->dmFields = kDefaultFields;
    record->dmOrientation = DMORIENT_PORTRAIT;
    record->dmPaperSize = DMPAPER_A4;
    record->dmPaperLength = 2970;
    record->dmPaperWidth = 2100;
    record->dmScale = 100;
    record->dmCopies = 1;
    record->dmDefaultSource = 0;
    record->dmPrintQuality = 300;
    record->dmColor = DMCOLOR_COLOR;
    record->dmDuplex = DMDUP_SIMPLEX;
    record->dmYResolution = 300;
    record->dmTTOption = 0;
    record->dmCollate = DMCOLLATE_FALSE;
    SetFormNameA4(record);

    lstrcpynW(record->szSignature, TARVIK_SIGNATURE, 39);
    record->bAutoSaveOption = 1;
    record->dwFontMode = 1;
    record->dwFontOption = 2;
    record->dwResolution = 300;
    record->dwPdfStandard = 0;
    record->dwEncrypt = 1;
    record->dwKeyLength = 0;
    record->dwPermissions = kDefaultPermissions;
    record->dwCompression1 = 2;
    record->dwQuality1 = 4;
    record->dwCompression2 = 1;
    record->dwQuality2 = 3;
    record->dwCompression3 = 1;
    record->dwQuality3 = 3;
    record->nResolution1 = 72;
    record->dwDownsampleMethod1 = 3;
    record->nResolution2 = 72;
    record->dwDownsampleMethod2 = 3;
    record->nResolution3 = 72;
    record->dwDownsampleMethod3 = 3;
    record->dwOptionFlags = kDefaultOptionFlags;
    return 0;
}

DWORD LoadPrinterDefaultRecord(HANDLE hPrinter, TARVIK_DEVMODE* record)
{
    DWORD needed = 0;
    GetPrinterW(hPrinter, 2, nullptr, 0, &needed);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
        return SetDefaultRecord(TARVIK_PRODUCT_NAME, record);

    std::unique_ptr<BYTE[]> info(new (std::nothrow) BYTE[needed]);
    if (!info || !GetPrinterW(hPrinter, 2, info.get(), needed, &needed))
        return SetDefaultRecord(TARVIK_PRODUCT_NAME, record);

    // Only a whole record of this driver that lies entirely inside the
    // returned information is taken; anything else (no record, a foreign
    // or short one) yields the built-in defaults and is never read past.
    const auto* printer = reinterpret_cast<const PRINTER_INFO_2W*>(info.get());
    const auto* stored = reinterpret_cast<const BYTE*>(printer->pDevMode);
    const bool inside = stored && stored >= info.get() && stored + kRecordSize <= info.get() + needed;
    if (!inside || !IsWholeRecord(printer->pDevMode))
        return SetDefaultRecord(TARVIK_PRODUCT_NAME, record);

    std::memcpy(record, stored, kRecordSize);
    if (!(record->dmFields & DM_PAPERSIZE))
    {
        record->dmFields |= DM_PAPERSIZE;
        record->dmPaperSize = DMPAPER_A4;
    }
    if (!(record->dmFields & DM_FORMNAME))
    {
        record->dmFields |= DM_FORMNAME;
        SetFormNameA4(record);
        record->dmPaperLength = 2970;
        record->dmPaperWidth = 2100;
    }
    return 0;
}
