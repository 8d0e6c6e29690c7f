#include "pages/SheetPages.h"

#include "pages/CDlgDocInfoSetting.h"
#include "pages/CDlgFontSetting.h"
#include "pages/CDlgFormSetting.h"
#include "pages/CDlgGraphicsSetting.h"
#include "pages/CDlgInfoSetting.h"
#include "pages/CDlgSecuritySetting.h"
#include "core/Globals.h"
#include "resource.h"

#include <cstring>
#include <memory>
#include <new>

namespace
{
template <class Page>
CDlgPropSheetPage* NewPage()
{
    return new Page();
}

// One row per page. A row whose page class has not been written yet has no
// create function and adds nothing to the sheet.
// clang-format off
const SheetPageRow kPageTable[] = {
    // slot          template            title                create                       tab  destroy
    {kSlotForm,     IDD_FORM_PAGE,     IDS_TITLE_FORM,     NewPage<CDlgFormSetting>,     1,   3},
    {kSlotFont,     IDD_FONT_PAGE,     IDS_TITLE_FONT,     NewPage<CDlgFontSetting>,     2,   2},
    {kSlotSecurity, IDD_SECURITY_PAGE, IDS_TITLE_SECURITY, NewPage<CDlgSecuritySetting>, 5,   5},
    {kSlotGraphics, IDD_GRAPHICS_PAGE, IDS_TITLE_GRAPHICS, NewPage<CDlgGraphicsSetting>, 3,   4},
    {kSlotDocInfo,  IDD_DOCINFO_PAGE,  IDS_TITLE_DOCINFO,  NewPage<CDlgDocInfoSetting>,  4,   1},
    {kSlotInfo,     IDD_INFO_PAGE,     IDS_TITLE_INFO,     NewPage<CDlgInfoSetting>,     6,   6},
};
// clang-format on

// The row at `position` of the order that `member` gives, or null.
const SheetPageRow* RowAt(int SheetPageRow::*member, int position)
{
    for (const SheetPageRow& row : kPageTable)
    {
        if (row.*member == position)
            return &row;
    }
    return nullptr;
}

void AddPage(PPROPSHEETUI_INFO pPSUIInfo, const SheetPageRow& row, CDlgPropSheetPage* page)
{
    PROPSHEETPAGEW* description = nullptr;
    CreatePropSheetPage(&description, row.templateId, row.titleId, PropSheetPageProc, page);
    const LONG_PTR hPage = pPSUIInfo->pfnComPropSheet(pPSUIInfo->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                                                      reinterpret_cast<LPARAM>(description), 0);
    page->SetPageHandle(reinterpret_cast<HANDLE>(hPage));
    if (description)
        LocalFree(description);
}
} // namespace

SheetPages::~SheetPages()
{
    for (int position = 1; const SheetPageRow* row = RowAt(&SheetPageRow::destroyPosition, position); ++position)
        delete pages[row->slot];
}

namespace
{
LONG BuildStartedSheet(PPROPSHEETUI_INFO pPSUIInfo, const DOCUMENTPROPERTYHEADER* header, bool holdsGdiplus)
{
    // Everything that can fail for want of memory happens before the first
    // page reaches the host; until then the table owns what it holds, and
    // an exception releases it all.
    std::unique_ptr<SheetPages> sheet(new SheetPages());
    sheet->holdsGdiplus = holdsGdiplus;
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
        std::memmove(out, in, kRecordSize);
    else
        LoadPrinterDefaultRecord(hPrinter, working);

    // Each page learns the printer and the working record right after it is made.
    for (const SheetPageRow& row : kPageTable)
    {
        CDlgPropSheetPage* page = row.create ? row.create() : nullptr;
        sheet->pages[row.slot] = page;
        if (page)
            page->AttachRecord(hPrinter, working);
    }

    for (CDlgPropSheetPage* page : sheet->pages)
    {
        if (page)
            page->AttachHost(pPSUIInfo->hComPropSheet, pPSUIInfo->pfnComPropSheet);
    }

    for (int position = 1; const SheetPageRow* row = RowAt(&SheetPageRow::tabPosition, position); ++position)
    {
        if (CDlgPropSheetPage* page = sheet->pages[row->slot])
            AddPage(pPSUIInfo, *row, page);
    }
    pPSUIInfo->UserData = reinterpret_cast<ULONG_PTR>(sheet.release());
    return 1;
}
} // namespace

LONG BuildDocumentSheet(PPROPSHEETUI_INFO pPSUIInfo, const DOCUMENTPROPERTYHEADER* header)
{
    const bool holdsGdiplus = StartGdiplus();
    try
    {
        return BuildStartedSheet(pPSUIInfo, header, holdsGdiplus);
    }
    catch (...)
    {
        // No DESTROY follows a failed INIT.
        if (holdsGdiplus)
            StopGdiplus();
        throw;
    }
}

LONG DestroyDocumentSheet(PPROPSHEETUI_INFO pPSUIInfo)
{
    auto* sheet = reinterpret_cast<SheetPages*>(pPSUIInfo->UserData);
    const bool holdsGdiplus = sheet && sheet->holdsGdiplus;
    delete sheet;
    pPSUIInfo->UserData = 0;
    if (holdsGdiplus)
        StopGdiplus();
    return 1;
}
