// The page description and the dialog procedure shared by every page.
#include "sheet/CDlgPropSheetPage.h"

#include "core/ExceptionBarrier.h"
#include "core/Globals.h"

#include <libmerrow/error.h>

#include <commctrl.h>

#include <cstring>

// The size of the third version of PROPSHEETPAGEW on 64-bit Windows; the
// host accepts it from every version of the common controls.
constexpr UINT kPageDescriptionSize = 96;
static_assert(sizeof(PROPSHEETPAGEW) >= kPageDescriptionSize, "PROPSHEETPAGEW holds the version 3 members");
// The site tag the failure line names in place of a line number: support
// matches the driver's log by it, so it never follows this file's lines.
constexpr int kSiteTag = 20;

DWORD CreatePropSheetPage(PROPSHEETPAGEW** ppPage, WORD templateId, WORD titleId, DLGPROC dlgProc,
                          CDlgPropSheetPage* page)
{
    auto* description = static_cast<PROPSHEETPAGEW*>(LocalAlloc(LMEM_FIXED, kPageDescriptionSize));
    if (!description)
    {
        *ppPage = nullptr;
        return TraceFailureAt(__FILE__, kSiteTag, ReportErrorW(ERROR_NOT_ENOUGH_MEMORY, nullptr),
                              L"CreatePropSheetPage()");
    }
    std::memset(description, 0, kPageDescriptionSize);
    description->dwSize = kPageDescriptionSize;
    description->dwFlags = PSP_USETITLE;
    description->hInstance = g_hResModule;
    description->pszTemplate = MAKEINTRESOURCEW(templateId);
    description->pszTitle = MAKEINTRESOURCEW(titleId);
    description->pfnDlgProc = dlgProc;
    description->lParam = reinterpret_cast<LPARAM>(page);
    *ppPage = description;
    return 0;
}

namespace
{
// The notifications by which a person changes what a control holds.
bool ChangesSettings(WORD notifyCode)
{
    return notifyCode == BN_CLICKED || notifyCode == CBN_SELCHANGE || notifyCode == EN_CHANGE ||
           notifyCode == CBN_EDITCHANGE;
}

// What one page shows may depend on every page: it follows each change, and
// a page that is shown may show something other than the record said.
void TellPagesChanged(const CDlgPropSheetPage& page)
{
    page.QueryPages(CDlgPropSheetPage::kPagesChanged, 0);
}
} // namespace

INT_PTR DispatchPageMessage(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        auto* page = reinterpret_cast<CDlgPropSheetPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrW(hDlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(page));
        page->m_hWnd = hDlg;
        page->OnInitDialog();
        return FALSE; // the page sets its own focus
    }

    // Messages that come before WM_INITDIALOG (WM_SETFONT, ...) find no page.
    auto* page = reinterpret_cast<CDlgPropSheetPage*>(GetWindowLongPtrW(hDlg, GWLP_USERDATA));
    if (!page)
        return FALSE;

    switch (message)
    {
    case WM_COMMAND:
        page->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        if (ChangesSettings(HIWORD(wParam)))
            TellPagesChanged(*page);
        return FALSE;
    case PSM_QUERYSIBLINGS:
        SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, page->OnQueryPages(wParam, lParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        switch (header->code)
        {
        case PSN_APPLY:
            page->Apply();
            if (page->m_pfnComPropSheet)
                page->m_pfnComPropSheet(page->m_hComPropSheet, CPSFUNC_SET_RESULT,
                                        reinterpret_cast<LPARAM>(page->m_hPage), CPSUI_OK);
            return FALSE;
        case PSN_SETACTIVE:
            // A page's first showing follows its WM_INITDIALOG, once the
            // sheet knows its window: the other pages can query it now.
            TellPagesChanged(*page);
            return page->OnMessage(message, wParam, lParam);
        case PSN_KILLACTIVE:
            if (page->HandlesKillActive() && page->Validate(hDlg) != 1)
            {
                SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        default:
            return page->OnMessage(message, wParam, lParam);
        }
    }
    default:
        return page->OnMessage(message, wParam, lParam);
    }
}

INT_PTR CALLBACK PropSheetPageProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ExceptionBarrier(L"PropSheetPageProc()", INT_PTR(FALSE),
                            [&] { return DispatchPageMessage(hDlg, message, wParam, lParam); });
}
