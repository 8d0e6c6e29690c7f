// The document property sheet entry: the sheet itself (INIT, DESTROY) and the
// record size, merge and default requests made without a user interface.
#include "entry/DriverInterface.h"
#include "core/ExceptionBarrier.h"
#include "core/Globals.h"
#include "record/SettingsRecord.h"
#include "pages/SheetPages.h"

#include <cstring>

namespace
{
LONG AnswerWithoutSheet(DOCUMENTPROPERTYHEADER* header)
{
    if (!header)
        return 1;
    const DWORD mode = header->fMode;
    if (mode == 0)
    {
        header->cbOut = kRecordSize;
        return static_cast<LONG>(kRecordSize);
    }

    TARVIK_DEVMODE* in = CallerRecord(header->pdmIn);
    // The application's print quality travels into the private resolution
    // (the caller's record is updated in place before the merge).
    if ((mode & DM_IN_BUFFER) && in && in->dmPrintQuality > 0)
        in->dwResolution = static_cast<DWORD>(in->dmPrintQuality);

    if ((mode & DM_OUT_BUFFER) && header->pdmOut)
    {
        auto* out = reinterpret_cast<TARVIK_DEVMODE*>(header->pdmOut);
        if (in)
        {
            std::memmove(out, in, kRecordSize);
            if (out->dmScale == 0)
                out->dmScale = 100;
            if (out->bFixedPaperSize == 1)
            {
                out->dmPaperWidth = static_cast<short>(out->dwFixedPaperWidth & 0xFFFF);
                out->dmPaperLength = static_cast<short>(out->dwFixedPaperLength & 0xFFFF);
            }
        }
        else
        {
            LoadPrinterDefaultRecord(header->hPrinter, out);
        }
    }
    return 1;
}
} // namespace

extern "C" LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam)
{
    return ExceptionBarrier(L"DrvDocumentPropertySheets()", LONG(0), [&]() -> LONG {
        if (!EnsureResourceModule())
            return 0;
        auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(lParam);
        if (!pPSUIInfo)
            return AnswerWithoutSheet(header);

        switch (pPSUIInfo->Reason)
        {
        case PROPSHEETUI_REASON_INIT:
            return BuildDocumentSheet(pPSUIInfo, header);
        case PROPSHEETUI_REASON_DESTROY:
            return DestroyDocumentSheet(pPSUIInfo);
        default:
            return 1;
        }
    });
}
