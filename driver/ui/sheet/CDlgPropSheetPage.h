// The base of every property page of the document sheet.
//
// A page object is created by the sheet builder, learns its printer and the
// sheet's working record through AttachRecord and its host through
// AttachHost, and gets a window when its tab is first shown. The dialog
// procedure (PropSheetPageProc) is shared by all pages: a page writes only
// its initialisation, its commands, Apply and Validate.
#pragma once

#include "sheet/CDialogWindow.h"
#include "sheet/HostInterface.h"
#include "record/SettingsRecord.h"

class CDlgPropSheetPage : public CDialogWindow
{
  public:
    CDlgPropSheetPage() = default;
    ~CDlgPropSheetPage() override = default;

    // Copies the controls into m_pRecord. Returns 0.
    virtual DWORD Apply() = 0;
    // 1 when the page may be left; a page that refuses shows its message first.
    virtual int Validate(HWND hDlg) = 0;

    DWORD AttachRecord(HANDLE hPrinter, TARVIK_DEVMODE* pRecord);
    void AttachHost(HANDLE hComPropSheet, PFNCOMPROPSHEET pfnComPropSheet);
    void SetPageHandle(HANDLE hPage) { m_hPage = hPage; }

    // Tells the sheet that the user changed something (enables Apply).
    void MarkChanged();
    // Sends (`code`, `data`) to every page of the sheet that has a window,
    // this one included (PSM_QUERYSIBLINGS); the first nonzero answer, or 0.
    LRESULT QueryPages(WPARAM code, LPARAM data) const;

    // The query the frame sends when a page is shown and after every change
    // a person makes on a page (data 0): a page that shows something
    // about all the pages brings it up to date.
    static constexpr WPARAM kPagesChanged = 0x54504348;

    HANDLE m_hPrinter = nullptr;
    TARVIK_DEVMODE* m_pRecord = nullptr;
    HANDLE m_hComPropSheet = nullptr;
    HANDLE m_hPage = nullptr;
    PFNCOMPROPSHEET m_pfnComPropSheet = nullptr;

  protected:
    friend INT_PTR DispatchPageMessage(HWND, UINT, WPARAM, LPARAM);

    // Fills the controls from m_pRecord (WM_INITDIALOG).
    virtual void OnInitDialog() {}
    // A WM_COMMAND from a control of the page.
    virtual void OnCommand(WORD /*controlId*/, WORD /*notifyCode*/, HWND /*control*/) {}
    // Any other message the page looks at; returns the dialog result.
    virtual INT_PTR OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return FALSE; }
    // Whether Validate runs when the user leaves the page.
    virtual bool HandlesKillActive() const { return false; }
    // A query of QueryPages from a page of the sheet; returns the answer.
    virtual LRESULT OnQueryPages(WPARAM /*code*/, LPARAM /*data*/) { return 0; }
};

// The dialog procedure of every page: DispatchPageMessage behind the
// module's exception barrier.
INT_PTR CALLBACK PropSheetPageProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR DispatchPageMessage(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// Makes the page description of one page (LocalAlloc'ed; the caller frees
// it with LocalFree after handing it to the host). Returns 0 or 8.
DWORD CreatePropSheetPage(PROPSHEETPAGEW** ppPage, WORD templateId, WORD titleId, DLGPROC dlgProc,
                          CDlgPropSheetPage* page);
