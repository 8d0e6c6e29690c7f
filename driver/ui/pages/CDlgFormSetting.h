// The paper page, the first tab of the document sheet: the settings row
// (CPresetRow) above everything else, the paper form chosen
// from the user's favourites and its size in millimetres, inches or points,
// the orientation, the output resolution and PDF standard, the fixed paper
// size and the automatic saving of the PDF files (folder, file-name prefix,
// one further option). The favourites are managed in the favourite forms
// dialog that its button opens.
#pragma once

#include "sheet/CDlgPropSheetPage.h"
#include "forms/CFormManager.h"
#include "pages/CPresetRow.h"

class CDlgFormSetting : public CDlgPropSheetPage
{
  public:
    CDlgFormSetting() = default;
    ~CDlgFormSetting() override = default;

    DWORD Apply() override;
    int Validate(HWND /*hDlg*/) override { return 1; }

    HWND m_hFixedSize = nullptr;
    HWND m_hFormName = nullptr;
    HWND m_hWidth = nullptr;
    HWND m_hHeight = nullptr;
    HWND m_hResolution = nullptr;
    HWND m_hPdfStandard = nullptr;
    HWND m_hLandscapePage = nullptr;
    HWND m_hPortraitPage = nullptr;
    HWND m_hLandscape = nullptr;
    HWND m_hPortrait = nullptr;
    HWND m_hAutoSave = nullptr;
    HWND m_hOutputFolder = nullptr;
    HWND m_hFilePrefix = nullptr;
    HWND m_hBrowse = nullptr;
    HWND m_hAutoSaveOption = nullptr;
    DWORD m_dwUnit = kUnitMillimetres; // values beyond 2 show points
    CFormManager m_Forms;
    CPresetRow m_PresetRow;

  protected:
    void OnInitDialog() override;
    void OnCommand(WORD controlId, WORD notifyCode, HWND control) override;
    bool HandlesKillActive() const override { return true; }
    LRESULT OnQueryPages(WPARAM code, LPARAM data) override;

  private:
    DWORD _AddFavoriteFormName(LPCWSTR selectName);
    void _SetUnit(DWORD unit);
    void _RefreshSize();
    void _SetAutoSave(DWORD on);
    void _ShowOrientation(bool landscape);
    void _FillResolutions();
    void _FillPdfStandards();
    void _OpenFavorites();
    void _BrowseOutputFolder();
    // The selected form's name; false when nothing is selected.
    bool _SelectedFormName(LPWSTR name, size_t capacity) const;
};

// The rules of the favourite forms combo box, kept apart from the window.

// The names the combo box offers, in the favourites' order: each favourite
// that names a catalogue form, exactly or else ignoring case, as the
// catalogue spells it, and each such form once. A favourite that names no
// catalogue form (a custom form deleted elsewhere) is left out, so the page
// never selects a form without a size. When none is left, the record's own
// form if the catalogue has it, else its A4, else its first form; nothing
// for an empty catalogue. `offered` has room for favoriteCount + 1 names;
// they point into the catalogue's records. Returns how many were written.
UINT OfferedFormNames(FORM_ITEM* const* forms, UINT formCount, LPCWSTR const* favorites, UINT favoriteCount,
                      LPCWSTR recordFormName, LPCWSTR* offered);

// Which offered name to select for the record's form name: the one equal to
// it ignoring case; for a name of 31 characters (the record cuts longer
// ones), the first that begins with it; else the first.
int OfferedFormIndex(LPCWSTR const* offered, UINT count, LPCWSTR recordFormName);
