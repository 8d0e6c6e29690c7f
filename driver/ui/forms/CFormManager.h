// The catalogue of paper forms for one printer: the spooler's forms followed
// by the user's custom forms kept in the registry, and the user's list of
// favourite form names. Every user makes its own instance and loads it;
// nothing is cached between instances.
#pragma once

#include "core/CPtrArray.h"
#include "core/Units.h"

#include <windows.h>

#include <climits>

// Flag of a form that this driver keeps in the registry (the spooler's own
// forms carry FORM_USER, FORM_BUILTIN or FORM_PRINTER).
#ifndef FORM_CUSTOM
#define FORM_CUSTOM 0x10000000
#endif

// Longest form name the catalogue keeps, in characters.
constexpr int kFormNameLength = 64;
// Largest custom form side in whole millimetres: its thousandths must fit
// the LONG of a stored form.
constexpr DWORD kLargestFormMillimetres = LONG_MAX / 1000;

// One catalogue form. Sizes are in thousandths of a millimetre, the
// spooler's unit.
struct FORM_ITEM
{
    WORD wPaperNumber; // 1-based position in the catalogue at load time
    DWORD dwFlags;
    WCHAR szName[kFormNameLength + 1];
    SIZEL size;
};

// Registry keys under HKEY_CURRENT_USER.
#define TARVIK_FORMS_KEY L"SOFTWARE\\KASTREL\\Tarvik\\Forms"
#define TARVIK_CONFIG_KEY L"SOFTWARE\\KASTREL\\Tarvik\\Config"
#define TARVIK_FAVORITE_VALUE L"FavoriteForm"

// Bytes of a stored custom form: the 64-bit FORM_INFO_1W layout.
constexpr DWORD kCustomFormRecordSize = 40;

class CFormManager
{
  public:
    CFormManager();
    virtual ~CFormManager();

    CFormManager(const CFormManager&) = delete;
    CFormManager& operator=(const CFormManager&) = delete;

    // Keeps the printer (not owned) for the spooler enumeration and notes
    // whether the host is hwp.exe. Must come before LoadAvailableForm.
    DWORD SetPrinter(HANDLE hPrinter);

    // Rebuilds the form list: spooler forms, then custom forms.
    DWORD LoadAvailableForm();

    // Replaces the favourite list with the stored names.
    DWORD LoadFavoriteForm();
    // Stores the favourite list.
    DWORD SaveFavoriteForm();
    // Appends a copy of `name` to the favourite list.
    DWORD AddFavoriteForm(LPCWSTR name);

    // Writes (creates or replaces) one custom form; width and height in
    // whole millimetres. Changes only the registry, not the loaded list.
    DWORD AddForm(LPCWSTR name, DWORD width, DWORD height);
    // Deletes one custom form from the registry.
    DWORD DeleteForm(LPCWSTR name);

    // The first form in list order whose name is exactly `name`.
    FORM_ITEM* FindForm(LPCWSTR name) const;

    // The number of forms, capped at 255 for an hwp.exe host: what the form
    // lists of the favourites dialog and the paper answers report.
    DWORD GetFormCount() const;
    // Every form loaded, without that cap (FindForm searches them all).
    DWORD GetAllFormCount() const { return m_FormList.GetCount(); }
    FORM_ITEM** GetForms() const { return reinterpret_cast<FORM_ITEM**>(m_FormList.GetData()); }

    DWORD GetFavoriteFormCount() const { return m_FavoriteList.GetCount(); }
    LPWSTR* GetFavoriteForms() const { return reinterpret_cast<LPWSTR*>(m_FavoriteList.GetData()); }

    void ClearForms();
    void ClearFavoriteForms();

  private:
    DWORD _LoadFormFromSpooler();
    DWORD _LoadFormFromRegistry();
    void _AddFormItem(LPCWSTR name, DWORD flags, LONG cx, LONG cy);
    FORM_ITEM* _NewFormItem();

    HANDLE m_hPrinter;
    CPtrArray m_FormList;     // FORM_ITEM records, owned through m_FormBlocks
    CPtrArray m_FavoriteList; // owned heap copies of names
    DWORD m_bHwpHost;
    // Every load makes a record per form; taking them from blocks of
    // records costs one heap call per block instead of one per form.
    CPtrArray m_FormBlocks;
    UINT m_nBlockFree; // unused records at the end of the last block
};

// A catalogue size (thousandths of a millimetre) in the settings record's
// tenths of a millimetre.
short FormSizeToTenths(LONG size);

// Removes trailing zeros after a decimal point, then a bare trailing point:
// "12.50" -> "12.5", "12.00" -> "12", "120" stays. Works in place.
void TrimNumberText(LPWSTR text);

// "%.2f" of `value` passed through TrimNumberText; `capacity` in characters.
void FormatFormSize(float value, LPWSTR text, size_t capacity);

// A catalogue size in `unit`: millimetres, inches, or points for any other
// value.
float FormSizeInUnit(LONG size, DWORD unit);

// The string ID of the word shown beside a size in `unit`: millimetres,
// inches, or points for any other value.
UINT UnitWordId(DWORD unit);
