#include "forms/CDlgRegFavoriteForm.h"

#include "forms/CDlgUpdateForm.h"
#include "core/Globals.h"
#include "resource.h"

#include <libmerrow/error.h>

#include <commctrl.h>

#include <iterator>
#include <string>

namespace
{
// Widths of the name and size columns, in pixels.
constexpr int kNameColumnWidth = 150;
constexpr int kSizeColumnWidth = 250;
// The state images of a list view with check boxes: 1 unticked, 2 ticked.
constexpr UINT kUnticked = 1;
constexpr UINT kTicked = 2;
// A favourite name read from a row: at most 127 characters.
constexpr int kFavoriteNameCapacity = 128;
// A row's text read for editing or deleting: at most 255 characters.
constexpr int kRowTextCapacity = 256;
// The size proposed for a new custom form: A4, in millimetres.
constexpr DWORD kNewFormWidth = 210;
constexpr DWORD kNewFormHeight = 297;

const CDialogWindow::UnitRadios kUnitRadios = {IDC_FAVORITE_UNIT_MM, IDC_FAVORITE_UNIT_INCH, IDC_FAVORITE_UNIT_POINT};

void InsertColumn(HWND list, int index, UINT titleId, int width)
{
    std::wstring title = CDialogWindow::ResourceText(titleId);
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = title.data();
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void RowText(HWND list, int row, int column, LPWSTR text, int capacity)
{
    text[0] = L'\0';
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = capacity;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SetStateImage(HWND list, int row, UINT image)
{
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(image);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int RowCount(HWND list)
{
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// A stored size in whole millimetres for the custom form dialog.
DWORD WholeMillimetresOf(LONG size)
{
    return size > 0 ? static_cast<DWORD>(size / 1000) : 0;
}
} // namespace

CDlgRegFavoriteForm::CDlgRegFavoriteForm() : CModalDialog(IDD_FAVORITE_FORMS, L"CDlgRegFavoriteForm") {}

DWORD CDlgRegFavoriteForm::Prepare(HANDLE hPrinter)
{
    m_hPrinter = hPrinter;
    if (m_Forms.SetPrinter(hPrinter) != 0 || m_Forms.LoadAvailableForm() != 0)
        return 0;
    m_Forms.LoadFavoriteForm();
    return 0;
}

void CDlgRegFavoriteForm::OnCommand(WORD controlId, WORD)
{
    switch (controlId)
    {
    case IDOK:
        _OnOK();
        break;
    case IDCANCEL:
        EndDialog(m_hWnd, 0);
        break;
    case IDC_FAVORITE_DELETE:
        _OnDelete();
        break;
    case IDC_FAVORITE_ADD:
        _OnAdd();
        break;
    case IDC_FAVORITE_EDIT:
        _OnEdit();
        break;
    case IDC_FAVORITE_UNIT_MM:
    case IDC_FAVORITE_UNIT_INCH:
    case IDC_FAVORITE_UNIT_POINT:
        _RefreshSizes();
        break;
    default:
        break;
    }
}

BOOL CDlgRegFavoriteForm::OnInitDialog()
{
    m_hList = GetDlgItem(m_hWnd, IDC_FAVORITE_LIST);
    ShowUnit(kUnitRadios, kUnitMillimetres);
    const DWORD styles = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
    SendMessageW(m_hList, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
    _FillList();
    SetFocus(m_hList);
    return FALSE;
}

void CDlgRegFavoriteForm::_FillList()
{
    SendMessageW(m_hList, LVM_DELETEALLITEMS, 0, 0);
    m_Forms.SetPrinter(m_hPrinter);
    InsertColumn(m_hList, 0, IDS_COLUMN_FORM_NAME, kNameColumnWidth);
    InsertColumn(m_hList, 1, IDS_COLUMN_FORM_SIZE, kSizeColumnWidth);

    FORM_ITEM* const* forms = m_Forms.GetForms();
    const DWORD count = m_Forms.GetFormCount();
    for (DWORD i = 0; i < count; ++i)
        _AppendRow(forms[i]->szName);
    _RefreshSizes();

    // The list view compares the names ignoring case, as the paper page does.
    LPWSTR const* favorites = m_Forms.GetFavoriteForms();
    for (DWORD i = 0; i < m_Forms.GetFavoriteFormCount(); ++i)
    {
        LVFINDINFOW find = {};
        find.flags = LVFI_STRING;
        find.psz = favorites[i];
        const int row = static_cast<int>(
            SendMessageW(m_hList, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
        if (row >= 0)
            SetStateImage(m_hList, row, kTicked);
    }
}

void CDlgRegFavoriteForm::_AppendRow(LPCWSTR name)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = RowCount(m_hList);
    item.pszText = const_cast<LPWSTR>(name);
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(kUnticked);
    SendMessageW(m_hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void CDlgRegFavoriteForm::_RefreshSizes()
{
    // One fresh catalogue for the whole column: a custom form may have
    // changed since the dialog's own was loaded.
    CFormManager forms;
    forms.SetPrinter(m_hPrinter);
    forms.LoadAvailableForm();

    const DWORD unit = CheckedUnit(kUnitRadios, kUnitMillimetres);
    const std::wstring unitWord = ResourceText(UnitWordId(unit));

    const int rows = RowCount(m_hList);
    for (int row = 0; row < rows; ++row)
    {
        wchar_t name[kRowTextCapacity];
        RowText(m_hList, row, 0, name, kRowTextCapacity);
        // A form deleted by another process since the list was filled has
        // no size to show.
        wchar_t size[160];
        size[0] = L'\0';
        if (const FORM_ITEM* form = forms.FindForm(name))
        {
            wchar_t width[64];
            wchar_t height[64];
            FormatFormSize(FormSizeInUnit(form->size.cx, unit), width, std::size(width));
            FormatFormSize(FormSizeInUnit(form->size.cy, unit), height, std::size(height));
            FormatTextW(size, std::size(size), _TRUNCATE, L"%s x %s %s", width, height, unitWord.c_str());
        }
        LVITEMW item = {};
        item.iSubItem = 1;
        item.pszText = size;
        SendMessageW(m_hList, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
}

int CDlgRegFavoriteForm::_SelectedRow(LPWSTR text, int capacity) const
{
    const int row =
        static_cast<int>(SendMessageW(m_hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
    if (row >= 0)
        RowText(m_hList, row, 0, text, capacity);
    return row;
}

void CDlgRegFavoriteForm::_OnAdd()
{
    CDlgUpdateForm dialog;
    dialog.Prepare(m_hPrinter, nullptr, kNewFormWidth, kNewFormHeight);
    if (dialog.DoModal(m_hWnd) != 1)
        return;
    m_Forms.ClearForms();
    m_Forms.LoadAvailableForm();
    _AppendRow(dialog.GetName());
    _RefreshSizes();
}

void CDlgRegFavoriteForm::_OnEdit()
{
    wchar_t name[kRowTextCapacity];
    if (_SelectedRow(name, kRowTextCapacity) < 0)
        return;
    CFormManager forms;
    forms.SetPrinter(m_hPrinter);
    forms.LoadAvailableForm();
    const FORM_ITEM* form = forms.FindForm(name);
    if (!form)
        return; // deleted elsewhere since the list was filled: nothing left to change
    if (!(form->dwFlags & FORM_CUSTOM))
    {
        ShowMessage(m_hWnd, IDS_CANNOT_EDIT_SPOOLER_FORM, IDS_CAPTION_INFORMATION, MB_ICONINFORMATION);
        return;
    }
    CDlgUpdateForm dialog;
    dialog.Prepare(m_hPrinter, name, WholeMillimetresOf(form->size.cx), WholeMillimetresOf(form->size.cy));
    if (dialog.DoModal(m_hWnd) != 1)
        return;
    m_Forms.ClearForms();
    m_Forms.LoadAvailableForm();
    _RefreshSizes();
}

void CDlgRegFavoriteForm::_OnDelete()
{
    if (ShowMessage(m_hWnd, IDS_CONFIRM_DELETE_FORM, IDS_CAPTION_DELETE_FORM, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    wchar_t name[kRowTextCapacity];
    const int row = _SelectedRow(name, kRowTextCapacity);
    if (row < 0)
        return;
    const DWORD rc = m_Forms.DeleteForm(name);
    if (rc == 0)
        SendMessageW(m_hList, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    else if (rc == ERROR_FILE_NOT_FOUND)
        ShowMessage(nullptr, IDS_CANNOT_DELETE_SPOOLER_FORM, IDS_CAPTION_INFORMATION, MB_ICONINFORMATION);
    else
        ShowMessageText(m_hWnd, GetLastErrorTextW(), IDS_CAPTION_ERROR, MB_ICONERROR);
}

void CDlgRegFavoriteForm::_OnOK()
{
    m_Forms.ClearFavoriteForms();
    const int rows = RowCount(m_hList);
    for (int row = 0; row < rows; ++row)
    {
        const UINT image =
            static_cast<UINT>(SendMessageW(m_hList, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK)) >>
            12;
        if (image == kUnticked)
            continue;
        wchar_t name[kFavoriteNameCapacity];
        RowText(m_hList, row, 0, name, kFavoriteNameCapacity);
        m_Forms.AddFavoriteForm(name);
    }
    if (m_Forms.SaveFavoriteForm() != 0)
    {
        ShowMessageText(m_hWnd, GetLastErrorTextW(), IDS_CAPTION_ERROR, MB_ICONERROR);
        return;
    }
    EndDialog(m_hWnd, 1);
}
