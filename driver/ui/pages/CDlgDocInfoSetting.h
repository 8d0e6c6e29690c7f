// The document information page: title, author, subject, keywords and a
// fifth text, which the renderer writes into the PDF file's document
// properties. It touches no registry value and shows no message.
#pragma once

#include "sheet/CDlgPropSheetPage.h"

class CDlgDocInfoSetting : public CDlgPropSheetPage
{
  public:
    CDlgDocInfoSetting() = default;
    ~CDlgDocInfoSetting() override = default;

    DWORD Apply() override;
    int Validate(HWND /*hDlg*/) override { return 1; }

    // The edits, in the order of their control IDs.
    HWND m_hTitle = nullptr;
    HWND m_hAuthor = nullptr;
    HWND m_hSubject = nullptr;
    HWND m_hKeywords = nullptr;
    HWND m_hExtra = nullptr;

  protected:
    void OnInitDialog() override;
    void OnCommand(WORD controlId, WORD notifyCode, HWND control) override;
};
