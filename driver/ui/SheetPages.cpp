#include "SheetPages.h"

#include "CDlgInfoSetting.h"
#include "Globals.h"

#include <new>

namespace
{
// A page to add to the host, in the order the tabs appear.
struct PageEntry
{
    SheetSlot slot;
    WORD templateId;
    WORD titleId;
};

const PageEntry kAddOrder[] = {
    {kSlotForm, 102, 1},     {kSlotFont, 116, 15},     {kSlotGraphics, 119, 26},
    {kSlotDocInfo, 117, 16}, {kSlotSecurity, 118, 17}, {kSlotInfo, 101, 2},
};

// The order in which DESTROY releases the pages.
const SheetSlot kDestroyOrder[] = {kSlotDocInfo,  kSlotFont,    kSlotForm,    kSlotGraphics,
                                   kSlotSecurity, kSlotUnused3, kSlotUnused6, kSlotInfo};

// Creates the page of one slot, or null for a slot that has no page.
CDlgPropSheetPage* CreatePage(SheetSlot slot)
{
    switch (slot)
    {
    case kSlotInfo:
        return new CDlgInfoSetting();
    default:
        return nullptr;
    }
}
} // namespace

LONG BuildDocumentSheet(PPROPSHEETUI_INFO pPSUIInfo, const DOCUMENTPROPERTYHEADER* header)
{
    StartGdiplus();

    auto* sheet = new SheetPages();
    const TARVIK_DEVMODE* in = nullptr;
    TARVIK_DEVMODE* out = nullptr;
    HANDLE hPrinter = nullptr;
    if (header)
    {
        hPrinter = header->hPrinter;
        in = CallerRecord(header->pdmIn);
        out = reinterpret_cast<TARVIK_DEVMODE*>(header->pdmOut);
    }
    TARVIK_DEVMODE* working = out ? out : &sheet->record;
    if (in && out)
        memmove(out, in, kRecordSize);
    else
        LoadPrinterDefaultRecord(hPrinter, working);

    // Created in this order; each learns the printer and the working record.
    const SheetSlot createOrder[] = {kSlotForm, kSlotFont, kSlotSecurity, kSlotGraphics, kSlotDocInfo, kSlotInfo};
    for (SheetSlot slot : createOrder)
    {
        sheet->pages[slot] = CreatePage(slot);
        if (sheet->pages[slot])
            sheet->pages[slot]->AttachRecord(hPrinter, working);
    }
    pPSUIInfo->UserData = reinterpret_cast<ULONG_PTR>(sheet);

    for (CDlgPropSheetPage* page : sheet->pages)
    {
        if (page)
            page->AttachHost(pPSUIInfo->hComPropSheet, pPSUIInfo->pfnComPropSheet);
    }

    for (const PageEntry& entry : kAddOrder)
    {
        CDlgPropSheetPage* page = sheet->pages[entry.slot];
        if (!page)
            continue;
        PROPSHEETPAGEW* description = nullptr;
        CreatePropSheetPage(&description, entry.templateId, entry.titleId, PropSheetPageProc, page);
        const LONG_PTR hPage = pPSUIInfo->pfnComPropSheet(pPSUIInfo->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                                                          reinterpret_cast<LPARAM>(description), 0);
        page->SetPageHandle(reinterpret_cast<HANDLE>(hPage));
        if (description)
            LocalFree(description);
    }
    return 1;
}

LONG DestroyDocumentSheet(PPROPSHEETUI_INFO pPSUIInfo)
{
    auto* sheet = reinterpret_cast<SheetPages*>(pPSUIInfo->UserData);
    if (sheet)
    {
        for (SheetSlot slot : kDestroyOrder)
            delete sheet->pages[slot];
        delete sheet;
        pPSUIInfo->UserData = 0;
    }
    StopGdiplus();
    return 1;
}
