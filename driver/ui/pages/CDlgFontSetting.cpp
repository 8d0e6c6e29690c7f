#include "pages/CDlgFontSetting.h"

#include "forms/CFormManager.h" // TARVIK_CONFIG_KEY
#include "fonts/ExcludedFontList.h"
#include "fonts/FontFaces.h"
#include "core/Globals.h"
#include "resource.h"

#include <libmerrow/error.h>
#include <libmerrow/scoped.h>

#include <cwchar>
#include <iterator>
#include <memory>
#include <new>
#include <type_traits>

namespace
{
constexpr size_t kExcludeFontsLength = std::extent_v<decltype(TARVIK_DEVMODE::szExcludeFonts)>;
// The site tag the failure line of a refused "ExcludeFonts" write names in
// place of a line number: support matches the driver's log by it, so it
// never follows this file's lines.
constexpr int kSiteTag = 356;

// The option list's items, by position: text and the value kept in the record.
struct FontOption
{
    UINT textId;
    DWORD value;
};
const FontOption kFontOptions[] = {
    {IDS_FONT_OPTION_1, 1},
    {IDS_FONT_OPTION_2, 2},
    {IDS_FONT_OPTION_3, 3},
};
} // namespace

void CDlgFontSetting::OnInitDialog()
{
    m_hModeAll = GetDlgItem(m_hWnd, IDC_FONT_MODE_ALL);
    m_hModeExclude = GetDlgItem(m_hWnd, IDC_FONT_MODE_EXCLUDE);
    m_hModeNone = GetDlgItem(m_hWnd, IDC_FONT_MODE_NONE);
    m_hOptionLabel = GetDlgItem(m_hWnd, IDC_FONT_OPTION_LABEL);
    m_hOption = GetDlgItem(m_hWnd, IDC_FONT_OPTION);
    m_hExcluded = GetDlgItem(m_hWnd, IDC_FONT_EXCLUDED);
    m_hAvailable = GetDlgItem(m_hWnd, IDC_FONT_AVAILABLE);

    _ShowMode(m_pRecord->dwFontMode);

    _FillExcludedList();
    _FillAvailableList();
    _FillOptionList();
    _ShowOption(m_pRecord->dwFontOption);
}

void CDlgFontSetting::_ShowMode(DWORD mode)
{
    // Any mode the page does not know shows as the third.
    if (mode != 1 && mode != 2)
        mode = 3;
    SetChecked(m_hModeAll, mode == 1);
    SetChecked(m_hModeExclude, mode == 2);
    SetChecked(m_hModeNone, mode == 3);
    _ApplyMode(mode);
}

void CDlgFontSetting::_ShowOption(DWORD option)
{
    SendMessageW(m_hOption, CB_SETCURSEL, option == 1 ? 0 : option == 3 ? 2 : 1, 0);
}

DWORD CDlgFontSetting::_CheckedMode() const
{
    return IsChecked(m_hModeAll) ? 1 : IsChecked(m_hModeExclude) ? 2 : 3;
}

LRESULT CDlgFontSetting::OnQueryPages(WPARAM code, LPARAM data)
{
    PRESET_QUERY* query = AsPresetQuery(code, data);
    if (!query)
        return 0;
    if (query->op == kPresetRead)
    {
        // What Apply would store.
        query->fields.dwFontMode = _CheckedMode();
        const LRESULT option = SendMessageW(m_hOption, CB_GETCURSEL, 0, 0);
        if (option != CB_ERR)
            query->fields.dwFontOption = static_cast<DWORD>(SendMessageW(m_hOption, CB_GETITEMDATA, option, 0));
        query->groups |= kPresetGroupFonts;
    }
    else if (query->op == kPresetShow)
    {
        _ShowMode(query->fields.dwFontMode);
        _ShowOption(query->fields.dwFontOption);
        query->groups |= kPresetGroupFonts;
    }
    return 0;
}

void CDlgFontSetting::_ApplyMode(DWORD mode)
{
    const BOOL lists = mode == 2;
    const BOOL option = mode != 3;
    EnableWindow(m_hExcluded, lists);
    EnableWindow(m_hAvailable, lists);
    EnableWindow(m_hOptionLabel, option);
    EnableWindow(m_hOption, option);
    EnableWindow(GetDlgItem(m_hWnd, IDC_FONT_INCLUDE), lists);
    EnableWindow(GetDlgItem(m_hWnd, IDC_FONT_EXCLUDE), lists);
    MarkChanged();
}

void CDlgFontSetting::_FillExcludedList()
{
    // The record's text may fill its field without a terminator: read
    // within the field, and give each name a terminator of its own.
    const wchar_t* text = m_pRecord->szExcludeFonts;
    wchar_t name[kExcludeFontsLength + 1];
    size_t pos = 0, start = 0, length = 0;
    while (NextExcludedFont(text, kExcludeFontsLength, &pos, &start, &length))
    {
        std::wmemcpy(name, text + start, length);
        name[length] = L'\0';
        SendMessageW(m_hExcluded, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
}

void CDlgFontSetting::_FillAvailableList()
{
    EnumerateFontFaces(false, _AddAvailableFace, this);
}

void CDlgFontSetting::_AddAvailableFace(const wchar_t* face, void* context)
{
    auto* self = static_cast<CDlgFontSetting*>(context);
    // An excluded font is never available, whatever the letter case the
    // record gave it (the list box compares without case).
    if (SendMessageW(self->m_hExcluded, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(face)) !=
        LB_ERR)
        return;
    SendMessageW(self->m_hAvailable, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face));
}

void CDlgFontSetting::_FillOptionList()
{
    for (const FontOption& option : kFontOptions)
    {
        const std::wstring text = ResourceText(option.textId);
        const LRESULT index = SendMessageW(m_hOption, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index >= 0)
            SendMessageW(m_hOption, CB_SETITEMDATA, static_cast<WPARAM>(index), option.value);
    }
}

void CDlgFontSetting::OnCommand(WORD controlId, WORD /*notifyCode*/, HWND /*control*/)
{
    switch (controlId)
    {
    case IDC_FONT_EXCLUDE:
        _MoveFonts(m_hAvailable, m_hExcluded);
        break;
    case IDC_FONT_INCLUDE:
        _MoveFonts(m_hExcluded, m_hAvailable);
        break;
    case IDC_FONT_MODE_ALL:
        _ApplyMode(1);
        break;
    case IDC_FONT_MODE_EXCLUDE:
        _ApplyMode(2);
        break;
    case IDC_FONT_MODE_NONE:
        _ApplyMode(3);
        break;
    default:
        break;
    }
}

void CDlgFontSetting::_MoveFonts(HWND from, HWND to)
{
    const LRESULT count = SendMessageW(from, LB_GETSELCOUNT, 0, 0);
    std::unique_ptr<int[]> selected(count > 0 ? new (std::nothrow) int[count] : nullptr);
    if (selected)
    {
        const LRESULT got =
            SendMessageW(from, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected.get()));
        // From the last to the first, so the indexes still to come stay valid.
        for (LRESULT i = got - 1; i >= 0; --i)
        {
            const WPARAM index = static_cast<WPARAM>(selected[i]);
            // Names from the record may be longer than any face name.
            const LRESULT length = SendMessageW(from, LB_GETTEXTLEN, index, 0);
            std::unique_ptr<wchar_t[]> name(length >= 0 ? new (std::nothrow) wchar_t[length + 1] : nullptr);
            if (!name)
                continue;
            name[0] = L'\0';
            SendMessageW(from, LB_GETTEXT, index, reinterpret_cast<LPARAM>(name.get()));
            // A name the other list cannot take stays where it is.
            if (SendMessageW(to, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.get())) >= 0)
                SendMessageW(from, LB_DELETESTRING, index, 0);
        }
    }
    MarkChanged();
}

bool CDlgFontSetting::_BuildExcludedText(wchar_t* buffer, size_t capacity, size_t* length) const
{
    wchar_t name[kExcludeFontsLength];
    size_t used = BeginExcludedFonts(buffer);
    const LRESULT count = SendMessageW(m_hExcluded, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
    {
        const LRESULT nameLength = SendMessageW(m_hExcluded, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (nameLength < 0 || static_cast<size_t>(nameLength) >= std::size(name))
            return false;
        SendMessageW(m_hExcluded, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
        if (!AppendExcludedFont(buffer, capacity, &used, name, static_cast<size_t>(nameLength)))
            return false;
    }
    *length = used;
    return true;
}

int CDlgFontSetting::Validate(HWND hDlg)
{
    wchar_t text[kExcludeFontsLength];
    size_t length = 0;
    if (_BuildExcludedText(text, std::size(text), &length))
        return 1;
    ShowMessage(hDlg, IDS_EXCLUDED_FONTS_TOO_LONG, IDS_CAPTION_ERROR, MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

DWORD CDlgFontSetting::Apply()
{
    m_pRecord->dwFontMode = _CheckedMode();

    const LRESULT option = SendMessageW(m_hOption, CB_GETCURSEL, 0, 0);
    if (option != CB_ERR)
        m_pRecord->dwFontOption = static_cast<DWORD>(SendMessageW(m_hOption, CB_GETITEMDATA, option, 0));

    // The list is kept in every mode. A list that does not fit has kept the
    // user on the page; should Apply come all the same, the record and the
    // registry keep the last list that fitted.
    wchar_t text[kExcludeFontsLength];
    size_t length = 0;
    if (_BuildExcludedText(text, std::size(text), &length))
    {
        std::wmemcpy(m_pRecord->szExcludeFonts, text, length + 1);
        // Only the shell and the spooler keep the list for the user.
        if (g_bSpoolerOrShell)
            _SaveExcludedFonts(text, length);
    }
    return 0;
}

void CDlgFontSetting::_SaveExcludedFonts(const wchar_t* text, size_t length)
{
    ScopedRegKey key;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                              nullptr, key.Out(), nullptr);
    if (rc != ERROR_SUCCESS)
    {
        ReportErrorW(static_cast<DWORD>(rc), L"Can not open Config registry");
        return;
    }
    rc = RegSetValueExW(key.Get(), TARVIK_EXCLUDE_FONTS_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>((length + 1) * sizeof(wchar_t)));
    if (rc != ERROR_SUCCESS)
        TraceFailureAt(__FILE__, kSiteTag, ReportErrorW(static_cast<DWORD>(rc), nullptr), nullptr);
}
