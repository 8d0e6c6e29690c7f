#include "sheet/CDlgPropSheetPage.h"

#include <commctrl.h>

DWORD CDlgPropSheetPage::AttachRecord(HANDLE hPrinter, TARVIK_DEVMODE* pRecord)
{
    m_hPrinter = hPrinter;
    m_pRecord = pRecord;
    return 0;
}

void CDlgPropSheetPage::AttachHost(HANDLE hComPropSheet, PFNCOMPROPSHEET pfnComPropSheet)
{
    m_hComPropSheet = hComPropSheet;
    m_pfnComPropSheet = pfnComPropSheet;
}

void CDlgPropSheetPage::MarkChanged()
{
    SendMessageW(GetParent(m_hWnd), PSM_CHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

LRESULT CDlgPropSheetPage::QueryPages(WPARAM code, LPARAM data) const
{
    return SendMessageW(GetParent(m_hWnd), PSM_QUERYSIBLINGS, code, data);
}
