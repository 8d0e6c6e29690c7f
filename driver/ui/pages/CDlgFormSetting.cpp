#include "pages/CDlgFormSetting.h"

#include "forms/CDlgRegFavoriteForm.h"
#include "core/Globals.h"
#include "resource.h"

#include <libmerrow/error.h>

#include <ole2.h>
#include <shlobj.h>

#include <cwchar>
#include <iterator>
#include <memory>
#include <string>

namespace
{
// The favourites a fresh profile starts with, in this order.
constexpr const wchar_t* kSeedFavorites[] = {L"A4", L"Letter", L"Legal", L"A5", L"B5 (JIS)"};
// The form offered when no favourite and not the record's own form is in
// the catalogue.
constexpr wchar_t kFallbackForm[] = L"A4";
// The PDF standards by the record's dwPdfStandard.
constexpr UINT kPdfStandardNames[] = {IDS_PDF_STANDARD, IDS_PDF_A1};
// The settings record cuts a form name to this many characters.
constexpr int kRecordFormNameLength = CCHFORMNAME - 1;
// Capacities of the record's two texts, in characters with the terminator.
constexpr int kFolderCapacity = sizeof(TARVIK_DEVMODE::szOutputFolder) / sizeof(wchar_t);
constexpr int kPrefixCapacity = sizeof(TARVIK_DEVMODE::szFileNamePrefix) / sizeof(wchar_t);

const CDialogWindow::UnitRadios kUnitRadios = {IDC_FORM_UNIT_MM, IDC_FORM_UNIT_INCH, IDC_FORM_UNIT_POINT};

// The catalogue form that `name` names: the first of exactly that name, else
// the first that differs only in letter case.
const FORM_ITEM* NamedForm(FORM_ITEM* const* forms, UINT formCount, LPCWSTR name)
{
    const FORM_ITEM* caseless = nullptr;
    for (UINT i = 0; i < formCount; ++i)
    {
        if (!forms[i])
            continue;
        if (wcscmp(forms[i]->szName, name) == 0)
            return forms[i];
        if (!caseless && lstrcmpiW(forms[i]->szName, name) == 0)
            caseless = forms[i];
    }
    return caseless;
}

// Adds one name to the offer unless it is there already.
void Offer(LPCWSTR name, LPCWSTR* offered, UINT* count)
{
    for (UINT i = 0; i < *count; ++i)
    {
        if (lstrcmpiW(offered[i], name) == 0)
            return;
    }
    offered[(*count)++] = name;
}
} // namespace

UINT OfferedFormNames(FORM_ITEM* const* forms, UINT formCount, LPCWSTR const* favorites, UINT favoriteCount,
                      LPCWSTR recordFormName, LPCWSTR* offered)
{
    UINT count = 0;
    for (UINT i = 0; i < favoriteCount; ++i)
    {
        if (!favorites[i])
            continue;
        if (const FORM_ITEM* form = NamedForm(forms, formCount, favorites[i]))
            Offer(form->szName, offered, &count);
    }
    if (count > 0)
        return count;
    // No favourite left: a form the catalogue has, so that the page always
    // shows a size.
    const FORM_ITEM* form = recordFormName ? NamedForm(forms, formCount, recordFormName) : nullptr;
    if (!form)
        form = NamedForm(forms, formCount, kFallbackForm);
    for (UINT i = 0; !form && i < formCount; ++i)
        form = forms[i];
    if (form)
        offered[count++] = form->szName;
    return count;
}

int OfferedFormIndex(LPCWSTR const* offered, UINT count, LPCWSTR recordFormName)
{
    for (UINT i = 0; i < count; ++i)
    {
        if (lstrcmpiW(offered[i], recordFormName) == 0)
            return static_cast<int>(i);
    }
    if (lstrlenW(recordFormName) == kRecordFormNameLength)
    {
        for (UINT i = 0; i < count; ++i)
        {
            wchar_t head[kRecordFormNameLength + 1];
            lstrcpynW(head, offered[i], kRecordFormNameLength + 1);
            if (lstrcmpiW(head, recordFormName) == 0)
                return static_cast<int>(i);
        }
    }
    return 0;
}

void CDlgFormSetting::OnInitDialog()
{
    m_hFixedSize = GetDlgItem(m_hWnd, IDC_FORM_FIXED_SIZE);
    m_hFormName = GetDlgItem(m_hWnd, IDC_FORM_NAME);
    m_hWidth = GetDlgItem(m_hWnd, IDC_FORM_WIDTH);
    m_hHeight = GetDlgItem(m_hWnd, IDC_FORM_HEIGHT);
    m_hResolution = GetDlgItem(m_hWnd, IDC_FORM_RESOLUTION);
    m_hPdfStandard = GetDlgItem(m_hWnd, IDC_FORM_PDF_STANDARD);
    m_hLandscapePage = GetDlgItem(m_hWnd, IDC_FORM_LANDSCAPE_PAGE);
    m_hPortraitPage = GetDlgItem(m_hWnd, IDC_FORM_PORTRAIT_PAGE);
    m_hLandscape = GetDlgItem(m_hWnd, IDC_FORM_LANDSCAPE);
    m_hPortrait = GetDlgItem(m_hWnd, IDC_FORM_PORTRAIT);
    m_hAutoSave = GetDlgItem(m_hWnd, IDC_FORM_AUTO_SAVE);
    m_hOutputFolder = GetDlgItem(m_hWnd, IDC_FORM_OUTPUT_FOLDER);
    m_hFilePrefix = GetDlgItem(m_hWnd, IDC_FORM_FILE_PREFIX);
    m_hBrowse = GetDlgItem(m_hWnd, IDC_FORM_BROWSE);
    m_hAutoSaveOption = GetDlgItem(m_hWnd, IDC_FORM_AUTO_SAVE_OPTION);

    // The catalogue is read once, by the filling of the combo box below.
    m_Forms.SetPrinter(m_hPrinter);
    SetChecked(m_hFixedSize, m_pRecord->bFixedPaperSize == 1);
    SetChecked(m_hAutoSaveOption, m_pRecord->bAutoSaveOption == 1);

    // A caller's record need not end its texts within their fields.
    wchar_t formName[CCHFORMNAME + 1];
    lstrcpynW(formName, m_pRecord->dmFormName, static_cast<int>(std::size(formName)));
    _AddFavoriteFormName(formName);
    _SetUnit(m_pRecord->dwPaperUnit);
    _RefreshSize();
    _FillResolutions();
    _FillPdfStandards();

    const bool landscape = m_pRecord->dmOrientation == DMORIENT_LANDSCAPE;
    SetChecked(m_hPortrait, !landscape);
    SetChecked(m_hLandscape, landscape);
    _ShowOrientation(landscape);

    wchar_t folder[kFolderCapacity + 1];
    lstrcpynW(folder, m_pRecord->szOutputFolder, kFolderCapacity + 1);
    wchar_t prefix[kPrefixCapacity + 1];
    lstrcpynW(prefix, m_pRecord->szFileNamePrefix, kPrefixCapacity + 1);
    SetWindowTextW(m_hOutputFolder, folder);
    SetWindowTextW(m_hFilePrefix, prefix);
    // What the edits take is what the record can keep.
    SendMessageW(m_hOutputFolder, EM_LIMITTEXT, kFolderCapacity - 1, 0);
    SendMessageW(m_hFilePrefix, EM_LIMITTEXT, kPrefixCapacity - 1, 0);
    _SetAutoSave(m_pRecord->bAutoSave);
    m_PresetRow.Attach(this);
}

void CDlgFormSetting::OnCommand(WORD controlId, WORD notifyCode, HWND /*control*/)
{
    if (m_PresetRow.OnCommand(controlId, notifyCode))
        return;
    if (controlId == IDC_FORM_NAME && notifyCode == CBN_SELCHANGE)
    {
        _RefreshSize();
        MarkChanged();
        return;
    }
    if (notifyCode != BN_CLICKED)
        return;
    switch (controlId)
    {
    case IDC_FORM_PORTRAIT:
        _ShowOrientation(false);
        break;
    case IDC_FORM_LANDSCAPE:
        _ShowOrientation(true);
        break;
    case IDC_FORM_UNIT_MM:
        _SetUnit(kUnitMillimetres);
        _RefreshSize();
        break;
    case IDC_FORM_UNIT_INCH:
        _SetUnit(kUnitInches);
        _RefreshSize();
        break;
    case IDC_FORM_UNIT_POINT:
        _SetUnit(kUnitPoints);
        _RefreshSize();
        break;
    case IDC_FORM_AUTO_SAVE:
        _SetAutoSave(IsChecked(m_hAutoSave) ? 1 : 0);
        break;
    case IDC_FORM_FAVORITES:
        _OpenFavorites();
        break;
    case IDC_FORM_BROWSE:
        _BrowseOutputFolder();
        break;
    default:
        break;
    }
    // Every click on the page, check boxes included, may change the result.
    MarkChanged();
}

DWORD CDlgFormSetting::_AddFavoriteFormName(LPCWSTR selectName)
{
    m_Forms.LoadAvailableForm();
    const DWORD rc = m_Forms.LoadFavoriteForm();
    if (rc != 0 && rc != ERROR_FILE_NOT_FOUND)
        return PASS_ON(rc, L"CDlgFormSetting::_AddFavoriteFormName()");
    // No stored list yet, or one that names nothing: the seed favourites.
    if (m_Forms.GetFavoriteFormCount() == 0)
    {
        for (const wchar_t* name : kSeedFavorites)
            m_Forms.AddFavoriteForm(name);
        m_Forms.SaveFavoriteForm();
    }

    const UINT favoriteCount = m_Forms.GetFavoriteFormCount();
    std::unique_ptr<LPCWSTR[]> offered(new LPCWSTR[favoriteCount + 1]);
    const UINT count = OfferedFormNames(m_Forms.GetForms(), m_Forms.GetAllFormCount(), m_Forms.GetFavoriteForms(),
                                        favoriteCount, selectName, offered.get());
    SendMessageW(m_hFormName, CB_RESETCONTENT, 0, 0);
    for (UINT i = 0; i < count; ++i)
        SendMessageW(m_hFormName, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(offered[i]));
    SendMessageW(m_hFormName, CB_SETCURSEL, static_cast<WPARAM>(OfferedFormIndex(offered.get(), count, selectName)), 0);
    return 0;
}

bool CDlgFormSetting::_SelectedFormName(LPWSTR name, size_t capacity) const
{
    name[0] = L'\0';
    const LRESULT index = SendMessageW(m_hFormName, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return false;
    // CB_GETLBTEXT takes no buffer size: ask for the length first.
    const LRESULT length = SendMessageW(m_hFormName, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || static_cast<size_t>(length) >= capacity)
        return false;
    SendMessageW(m_hFormName, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name));
    return true;
}

void CDlgFormSetting::_SetUnit(DWORD unit)
{
    ShowUnit(kUnitRadios, unit);
    m_dwUnit = unit;
}

void CDlgFormSetting::_RefreshSize()
{
    wchar_t name[kFormNameLength + 1];
    const FORM_ITEM* form = _SelectedFormName(name, std::size(name)) ? m_Forms.FindForm(name) : nullptr;
    // The record follows the selection at once, before any Apply.
    if (form)
    {
        m_pRecord->dmPaperWidth = FormSizeToTenths(form->size.cx);
        m_pRecord->dmPaperLength = FormSizeToTenths(form->size.cy);
    }

    const std::wstring word = ResourceText(UnitWordId(m_dwUnit));
    SetDlgItemTextW(m_hWnd, IDC_FORM_WIDTH_UNIT, word.c_str());
    SetDlgItemTextW(m_hWnd, IDC_FORM_HEIGHT_UNIT, word.c_str());

    wchar_t width[64];
    wchar_t height[64];
    width[0] = height[0] = L'\0';
    if (form)
    {
        FormatFormSize(FormSizeInUnit(form->size.cx, m_dwUnit), width, std::size(width));
        FormatFormSize(FormSizeInUnit(form->size.cy, m_dwUnit), height, std::size(height));
    }
    SetWindowTextW(m_hWidth, width);
    SetWindowTextW(m_hHeight, height);
}

void CDlgFormSetting::_SetAutoSave(DWORD on)
{
    SetChecked(m_hAutoSave, on == 1);
    const BOOL enable = on != 0 ? TRUE : FALSE;
    for (HWND control : {m_hOutputFolder, m_hFilePrefix, m_hBrowse, m_hAutoSaveOption})
        EnableWindow(control, enable);
}

void CDlgFormSetting::_ShowOrientation(bool landscape)
{
    ShowWindow(m_hPortraitPage, landscape ? SW_HIDE : SW_SHOW);
    ShowWindow(m_hLandscapePage, landscape ? SW_SHOW : SW_HIDE);
}

void CDlgFormSetting::_FillResolutions()
{
    int selected = 0;
    for (size_t i = 0; i < std::size(kResolutions); ++i)
    {
        wchar_t text[16];
        wsprintfW(text, L"%d", static_cast<int>(kResolutions[i]));
        SendMessageW(m_hResolution, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (static_cast<DWORD>(kResolutions[i]) == m_pRecord->dwResolution)
            selected = static_cast<int>(i);
    }
    SendMessageW(m_hResolution, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

LRESULT CDlgFormSetting::OnQueryPages(WPARAM code, LPARAM data)
{
    if (code == kPagesChanged)
    {
        m_PresetRow.ShowMatch();
        return 0;
    }
    PRESET_QUERY* query = AsPresetQuery(code, data);
    if (!query)
        return 0;
    switch (query->op)
    {
    case kPresetRead:
        // What Apply would store.
        query->fields.dwResolution = static_cast<DWORD>(WholeNumberIn(m_hResolution));
        if (const LRESULT standard = SendMessageW(m_hPdfStandard, CB_GETCURSEL, 0, 0); standard != CB_ERR)
            query->fields.dwPdfStandard =
                static_cast<DWORD>(SendMessageW(m_hPdfStandard, CB_GETITEMDATA, static_cast<WPARAM>(standard), 0));
        query->groups |= kPresetGroupPaper;
        return 0;
    case kPresetShow:
        for (size_t i = 0; i < std::size(kResolutions); ++i)
        {
            if (static_cast<DWORD>(kResolutions[i]) == query->fields.dwResolution)
                SendMessageW(m_hResolution, CB_SETCURSEL, i, 0);
        }
        if (query->fields.dwPdfStandard < std::size(kPdfStandardNames))
            SendMessageW(m_hPdfStandard, CB_SETCURSEL, query->fields.dwPdfStandard, 0);
        query->groups |= kPresetGroupPaper;
        return 0;
    default:
        return m_PresetRow.OnQuery(*query);
    }
}

void CDlgFormSetting::_FillPdfStandards()
{
    for (size_t i = 0; i < std::size(kPdfStandardNames); ++i)
    {
        const std::wstring text = ResourceText(kPdfStandardNames[i]);
        const LRESULT index = SendMessageW(m_hPdfStandard, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(m_hPdfStandard, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(i));
    }
    const DWORD standard = m_pRecord->dwPdfStandard < std::size(kPdfStandardNames) ? m_pRecord->dwPdfStandard : 0;
    SendMessageW(m_hPdfStandard, CB_SETCURSEL, standard, 0);
}

void CDlgFormSetting::_OpenFavorites()
{
    CDlgRegFavoriteForm dialog;
    dialog.Prepare(m_hPrinter);
    if (dialog.DoModal(m_hWnd) != 1)
        return;
    // The new favourites, with the form the record holds selected; the size
    // shown follows that selection.
    wchar_t formName[CCHFORMNAME + 1];
    lstrcpynW(formName, m_pRecord->dmFormName, static_cast<int>(std::size(formName)));
    _AddFavoriteFormName(formName);
    _RefreshSize();
}

void CDlgFormSetting::_BrowseOutputFolder()
{
    const std::wstring title = ResourceText(IDS_BROWSE_OUTPUT_FOLDER);
    BROWSEINFOW info = {};
    info.hwndOwner = m_hWnd;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;

    // The new-style browser needs OLE on this thread; the application may
    // not have started it.
    const HRESULT ole = OleInitialize(nullptr);
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (item)
    {
        wchar_t path[MAX_PATH];
        if (SHGetPathFromIDListW(item, path))
            SetWindowTextW(m_hOutputFolder, path);
        CoTaskMemFree(item);
    }
    if (SUCCEEDED(ole))
        OleUninitialize();
}

DWORD CDlgFormSetting::Apply()
{
    wchar_t name[kFormNameLength + 1];
    // Without a selection (the favourites could not be read) the record
    // keeps its form.
    if (_SelectedFormName(name, std::size(name)))
    {
        lstrcpynW(m_pRecord->dmFormName, name, CCHFORMNAME);
        if (const FORM_ITEM* form = m_Forms.FindForm(name))
        {
            m_pRecord->dmPaperWidth = FormSizeToTenths(form->size.cx);
            m_pRecord->dmPaperLength = FormSizeToTenths(form->size.cy);
        }
    }

    const bool fixed = IsChecked(m_hFixedSize);
    m_pRecord->bFixedPaperSize = fixed ? 1 : 0;
    m_pRecord->dwFixedPaperWidth = fixed ? m_pRecord->dmPaperWidth : 0;
    m_pRecord->dwFixedPaperLength = fixed ? m_pRecord->dmPaperLength : 0;

    m_pRecord->dwPaperUnit = CheckedUnit(kUnitRadios, kUnitPoints);

    // The list offers the resolutions of the capability answer only.
    m_pRecord->dwResolution = static_cast<DWORD>(WholeNumberIn(m_hResolution));
    m_pRecord->dmPrintQuality = static_cast<short>(m_pRecord->dwResolution & 0xFFFF);
    m_pRecord->dmYResolution = static_cast<short>(m_pRecord->dwResolution & 0xFFFF);

    const LRESULT standard = SendMessageW(m_hPdfStandard, CB_GETCURSEL, 0, 0);
    m_pRecord->dwPdfStandard =
        standard == CB_ERR ? 0 : static_cast<DWORD>(SendMessageW(m_hPdfStandard, CB_GETITEMDATA, standard, 0));

    m_pRecord->dmOrientation = IsChecked(m_hLandscape) ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;

    GetWindowTextW(m_hOutputFolder, m_pRecord->szOutputFolder, kFolderCapacity);
    GetWindowTextW(m_hFilePrefix, m_pRecord->szFileNamePrefix, kPrefixCapacity);
    m_pRecord->bAutoSave = IsChecked(m_hAutoSave) ? 1 : 0;
    m_pRecord->bAutoSaveOption = IsChecked(m_hAutoSaveOption) ? 1 : 0;
    return 0;
}
