#include "sheet/CDlgPropSheetPage.h"

#include "core/Globals.h"

#include <commctrl.h>

#include <iterator>

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

int CDlgPropSheetPage::ShowMessage(HWND owner, UINT textId, UINT captionId, UINT flags)
{
    wchar_t text[1024];
    wchar_t caption[128];
    text[0] = caption[0] = L'\0';
    LoadStringW(g_hResModule, textId, text, static_cast<int>(std::size(text)));
    LoadStringW(g_hResModule, captionId, caption, static_cast<int>(std::size(caption)));
    return MessageBoxW(owner, text, caption, flags);
}

void CDlgPropSheetPage::ShowMessageText(HWND owner, const wchar_t* text, UINT captionId, UINT flags)
{
    wchar_t caption[128];
    caption[0] = L'\0';
    LoadStringW(g_hResModule, captionId, caption, static_cast<int>(std::size(caption)));
    MessageBoxW(owner, text, caption, flags);
}
