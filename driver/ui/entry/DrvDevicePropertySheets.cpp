// The device property sheet: one static page that the resource module
// defines, with no behaviour of its own.
#include "sheet/CDlgPropSheetPage.h"
#include "entry/DriverInterface.h"
#include "core/ExceptionBarrier.h"
#include "core/Globals.h"
#include "resource.h"

#include <libmerrow/scoped.h>

namespace
{
// The page has no behaviour, but a page without any dialog procedure makes
// some property-sheet hosts call through a null pointer: this one leaves
// every message to the dialog manager.
INT_PTR CALLBACK StaticPageProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
} // namespace

extern "C" LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM /*lParam*/)
{
    return ExceptionBarrier(L"DrvDevicePropertySheets()", LONG(0), [&]() -> LONG {
        if (!EnsureResourceModule())
            return 0;
        if (!pPSUIInfo || pPSUIInfo->Reason != PROPSHEETUI_REASON_INIT)
            return 1;

        PROPSHEETPAGEW* description = nullptr;
        CreatePropSheetPage(&description, IDD_DEVICE_PAGE, IDS_TITLE_DEVICE, StaticPageProc, nullptr);
        const ScopedLocalBlock held(description);
        pPSUIInfo->UserData = 0;
        pPSUIInfo->pfnComPropSheet(pPSUIInfo->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                                   reinterpret_cast<LPARAM>(description), 0);
        return 1;
    });
}
