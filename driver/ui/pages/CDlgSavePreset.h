// The dialog that asks for the name of the user's own preset and stores the
// current settings under it: the name rules of the catalogue, a question
// before an own preset of that name is replaced, Enter for OK and Esc for
// Cancel.
#pragma once

#include "presets/CPresetCatalogue.h"
#include "sheet/CModalDialog.h"

// DoModal gives 1 when the preset was stored, 0 when nothing was.
class CDlgSavePreset : public CModalDialog
{
  public:
    CDlgSavePreset(CPresetCatalogue* catalogue, const PRESET_FIELDS& fields);

  private:
    BOOL OnInitDialog() override;
    void OnCommand(WORD controlId, WORD notifyCode) override;
    void _OnOK();

    CPresetCatalogue* m_pCatalogue;
    PRESET_FIELDS m_fields;
    HWND m_hName = nullptr;
};
