// The font page: one of three font modes, a three-way font option, and in
// the second mode the fonts that are never embedded, picked from the
// TrueType fonts of the machine. The excluded list goes into the settings
// record and, inside the shell or the spooler, into the user's registry.
#pragma once

#include "presets/PresetQuery.h"
#include "sheet/CDlgPropSheetPage.h"
#include "fonts/CFontManager.h"

// The registry value beside the favourite forms (key TARVIK_CONFIG_KEY)
// that keeps the excluded list in the record's format.
#define TARVIK_EXCLUDE_FONTS_VALUE L"ExcludeFonts"

class CDlgFontSetting : public CDlgPropSheetPage
{
  public:
    CDlgFontSetting() = default;
    ~CDlgFontSetting() override = default;

    DWORD Apply() override;
    // 1 while the excluded list fits the record; otherwise tells the user why
    // the page stays and returns 0.
    int Validate(HWND hDlg) override;

    HWND m_hModeAll = nullptr;
    HWND m_hModeExclude = nullptr;
    HWND m_hModeNone = nullptr;
    HWND m_hExcluded = nullptr;
    HWND m_hAvailable = nullptr;
    HWND m_hOptionLabel = nullptr;
    HWND m_hOption = nullptr;
    CFontManager m_FontManager;

  protected:
    void OnInitDialog() override;
    void OnCommand(WORD controlId, WORD notifyCode, HWND control) override;
    bool HandlesKillActive() const override { return true; }
    LRESULT OnQueryPages(WPARAM code, LPARAM data) override;

  private:
    void _ApplyMode(DWORD mode);
    // The mode whose radio is checked (the third when none is).
    DWORD _CheckedMode() const;
    void _ShowMode(DWORD mode);
    void _ShowOption(DWORD option);
    void _FillExcludedList();
    void _FillAvailableList();
    void _FillOptionList();
    void _MoveFonts(HWND from, HWND to);
    bool _BuildExcludedText(wchar_t* buffer, size_t capacity, size_t* length) const;
    static void _SaveExcludedFonts(const wchar_t* text, size_t length);
    static void _AddAvailableFace(const wchar_t* face, void* context);
};
