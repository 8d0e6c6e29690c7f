// The settings row at the top of the paper page: the list of presets, which
// shows the preset that matches what the pages show (else "Custom"), and the
// buttons that save the current settings under a name of the user's and
// delete such a preset. Choosing a preset shows it on every page that has a
// window and writes it into the working record for the others.
#pragma once

#include "presets/CPresetCatalogue.h"
#include "presets/PresetQuery.h"
#include "sheet/CDlgPropSheetPage.h"

class CPresetRow
{
  public:
    // After the page's WM_INITDIALOG has found its controls: fills the list.
    void Attach(CDlgPropSheetPage* page);
    // A command of the page; false when it is not one of the row's.
    bool OnCommand(WORD controlId, WORD notifyCode);
    // The row's part of a preset query (kPresetRecordHolds).
    LRESULT OnQuery(const PRESET_QUERY& query) const;

    // The preset fields as the pages show them, the record standing in for
    // pages without a window; `encrypted` (may be null) whether the document
    // would be encrypted.
    PRESET_FIELDS ShownFields(bool* encrypted) const;
    // Shows preset `index` of the catalogue on every page; false when the
    // person cancelled the message that encryption goes off.
    bool Choose(size_t index);
    // Selects the preset that matches the pages, or "Custom"; nothing while
    // a choice is being shown or before the row has its window.
    void ShowMatch();

    const CPresetCatalogue& Catalogue() const { return m_catalogue; }

  private:
    void _Fill();
    void _Save();
    void _Delete();
    int _CustomItem() const { return static_cast<int>(m_catalogue.Count()); }

    CDlgPropSheetPage* m_pPage = nullptr;
    HWND m_hList = nullptr;
    HWND m_hDelete = nullptr;
    CPresetCatalogue m_catalogue;
    // The record holds the image fields of a chosen preset for a graphics
    // page without a window: that page shows them when it gets one.
    bool m_bRecordHoldsImages = false;
    bool m_bChoosing = false;
};
