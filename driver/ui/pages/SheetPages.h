// The page table of one open document property sheet: eight page slots
// followed by the working record used when the caller gave no output
// buffer. Owned by the sheet, kept in the host's UserData from INIT to
// DESTROY.
#pragma once

#include "sheet/CDlgPropSheetPage.h"

// Where each page lives in the table. Slots 3 and 6 never hold a page.
enum SheetSlot
{
    kSlotForm = 0,
    kSlotFont = 1,
    kSlotGraphics = 2,
    kSlotUnused3 = 3,
    kSlotDocInfo = 4,
    kSlotSecurity = 5,
    kSlotUnused6 = 6,
    kSlotInfo = 7,
    kSlotCount = 8
};

struct SheetPages
{
    SheetPages() = default;
    SheetPages(const SheetPages&) = delete;
    SheetPages& operator=(const SheetPages&) = delete;
    // Destroys the pages in the table's destroy order.
    ~SheetPages();

    CDlgPropSheetPage* pages[kSlotCount] = {};
    TARVIK_DEVMODE record = {};
    bool holdsGdiplus = false; // the sheet's start of GDI+ succeeded: DESTROY gives the count back
};

// One page of the document sheet. The rows of the table are in the order the
// page objects are created; the tab and destroy positions give the other two
// orders (1 = first).
struct SheetPageRow
{
    SheetSlot slot;
    WORD templateId; // IDD_... of the resource module
    WORD titleId;    // IDS_TITLE_... of the resource module
    CDlgPropSheetPage* (*create)();
    int tabPosition;
    int destroyPosition;
};

// Builds the document sheet for PROPSHEETUI_REASON_INIT. Returns 1.
LONG BuildDocumentSheet(PPROPSHEETUI_INFO pPSUIInfo, const DOCUMENTPROPERTYHEADER* header);
// Tears it down for PROPSHEETUI_REASON_DESTROY. Returns 1.
LONG DestroyDocumentSheet(PPROPSHEETUI_INFO pPSUIInfo);
