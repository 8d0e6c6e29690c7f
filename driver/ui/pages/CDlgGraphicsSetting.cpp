#include "pages/CDlgGraphicsSetting.h"

#include "resource.h"

#include <windows.h>

#include <cwchar>
#include <iterator>

namespace
{
using Page = CDlgGraphicsSetting;

// The controls and fields of each class, class 1 first.
const WORD kCompressionIds[] = {IDC_GRAPHICS_COMPRESSION_1, IDC_GRAPHICS_COMPRESSION_2, IDC_GRAPHICS_COMPRESSION_3};
const WORD kQualityIds[] = {IDC_GRAPHICS_QUALITY_1, IDC_GRAPHICS_QUALITY_2, IDC_GRAPHICS_QUALITY_3};
const WORD kDownsampleIds[] = {IDC_GRAPHICS_DOWNSAMPLE_1, IDC_GRAPHICS_DOWNSAMPLE_2, IDC_GRAPHICS_DOWNSAMPLE_3};
const WORD kResolutionIds[] = {IDC_GRAPHICS_RESOLUTION_1, IDC_GRAPHICS_RESOLUTION_2, IDC_GRAPHICS_RESOLUTION_3};
const WORD kMethodIds[] = {IDC_GRAPHICS_METHOD_1, IDC_GRAPHICS_METHOD_2, IDC_GRAPHICS_METHOD_3};

DWORD TARVIK_DEVMODE::*const kCompressionFields[] = {&TARVIK_DEVMODE::dwCompression1, &TARVIK_DEVMODE::dwCompression2,
                                                     &TARVIK_DEVMODE::dwCompression3};
DWORD TARVIK_DEVMODE::*const kQualityFields[] = {&TARVIK_DEVMODE::dwQuality1, &TARVIK_DEVMODE::dwQuality2,
                                                 &TARVIK_DEVMODE::dwQuality3};
BOOL TARVIK_DEVMODE::*const kDownsampleFields[] = {&TARVIK_DEVMODE::bDownsample1, &TARVIK_DEVMODE::bDownsample2,
                                                   &TARVIK_DEVMODE::bDownsample3};
LONG TARVIK_DEVMODE::*const kResolutionFields[] = {&TARVIK_DEVMODE::nResolution1, &TARVIK_DEVMODE::nResolution2,
                                                   &TARVIK_DEVMODE::nResolution3};
DWORD TARVIK_DEVMODE::*const kMethodFields[] = {
    &TARVIK_DEVMODE::dwDownsampleMethod1, &TARVIK_DEVMODE::dwDownsampleMethod2, &TARVIK_DEVMODE::dwDownsampleMethod3};

const Page::QualityItem kZipQualities[] = {{IDS_ZIP_QUALITY_1, 1}, {IDS_ZIP_QUALITY_2, 2}, {IDS_ZIP_QUALITY_3, 3}};
const Page::QualityItem kJpegQualities[] = {{IDS_JPEG_QUALITY_1, 5},
                                            {IDS_JPEG_QUALITY_2, 4},
                                            {IDS_JPEG_QUALITY_3, 3},
                                            {IDS_JPEG_QUALITY_4, 2},
                                            {IDS_JPEG_QUALITY_5, 1}};

// The downsampling group and the other controls the page hides, in the
// order they are hidden.
const WORD kHiddenIds[] = {
    IDC_GRAPHICS_DOWNSAMPLE_GROUP,
    IDC_GRAPHICS_DOWNSAMPLE_1,
    IDC_GRAPHICS_DOWNSAMPLE_2,
    IDC_GRAPHICS_DOWNSAMPLE_3,
    IDC_GRAPHICS_RESOLUTION_1,
    IDC_GRAPHICS_RESOLUTION_2,
    IDC_GRAPHICS_RESOLUTION_3,
    IDC_GRAPHICS_METHOD_1,
    IDC_GRAPHICS_METHOD_2,
    IDC_GRAPHICS_METHOD_3,
    IDC_GRAPHICS_DPI_1,
    IDC_GRAPHICS_DPI_2,
    IDC_GRAPHICS_DPI_3,
};

// Resolution entries are read up to this many characters and a NUL.
constexpr int kResolutionTextCapacity = 256;
// The resolution stored when an entry holds no positive number.
constexpr LONG kDefaultResolution = 72;

// The value of the selected item of a list; CB_ERR (-1) without a selection.
DWORD SelectedValue(HWND list)
{
    const LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return static_cast<DWORD>(CB_ERR);
    return static_cast<DWORD>(SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
}

// Lists address their items by position: insert, never sort.
void InsertItem(HWND list, int position, const wchar_t* text, DWORD value)
{
    SendMessageW(list, CB_INSERTSTRING, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(text));
    SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(position), value);
}
} // namespace

size_t CDlgGraphicsSetting::QualityItems(int imageClass, DWORD compression, const QualityItem** items)
{
    if (compression == kZip)
    {
        *items = kZipQualities;
        return std::size(kZipQualities);
    }
    if (imageClass == 1)
    {
        *items = kJpegQualities;
        return std::size(kJpegQualities);
    }
    *items = nullptr;
    return 0;
}

int CDlgGraphicsSetting::QualityPosition(DWORD compression, DWORD quality)
{
    if (compression == kZip)
        return quality == 1 ? 0 : quality == 2 ? 1 : 2;
    // JPEG lists the best quality first: position p carries 5 - p.
    return quality >= 1 && quality <= 4 ? static_cast<int>(5 - quality) : 0;
}

int CDlgGraphicsSetting::KeepDigits(wchar_t* text, int caret)
{
    int kept = 0, caretAfter = 0;
    for (int i = 0; text[i]; ++i)
    {
        if (text[i] < L'0' || text[i] > L'9')
            continue;
        if (i < caret)
            ++caretAfter;
        text[kept++] = text[i];
    }
    text[kept] = L'\0';
    return caretAfter;
}

void CDlgGraphicsSetting::OnInitDialog()
{
    for (int i = 0; i < kClassCount; ++i)
    {
        m_hCompression[i] = GetDlgItem(m_hWnd, kCompressionIds[i]);
        m_hQuality[i] = GetDlgItem(m_hWnd, kQualityIds[i]);
        m_hDownsample[i] = GetDlgItem(m_hWnd, kDownsampleIds[i]);
        m_hResolution[i] = GetDlgItem(m_hWnd, kResolutionIds[i]);
        m_hMethod[i] = GetDlgItem(m_hWnd, kMethodIds[i]);
    }
    // The names of the compressions are the formats' own, in every language.
    InsertItem(m_hCompression[0], 0, L"ZIP", kZip);
    InsertItem(m_hCompression[0], 1, L"JPEG", kJpeg);
    InsertItem(m_hCompression[1], 0, L"ZIP", kZip);
    InsertItem(m_hCompression[2], 0, L"ZIP", kZip);

    SendMessageW(m_hCompression[0], CB_SETCURSEL, m_pRecord->dwCompression1 == kZip ? 0 : 1, 0);
    _RebuildQuality(0);
    for (int i = 1; i < kClassCount; ++i)
    {
        SendMessageW(m_hCompression[i], CB_SETCURSEL, 0, 0);
        _RebuildQuality(i);
    }
    for (WORD id : kHiddenIds)
        ShowWindow(GetDlgItem(m_hWnd, id), SW_HIDE);

    // A preset chosen before this page had a window is in the record: its
    // downsampling goes into the hidden controls, which otherwise stay empty.
    PRESET_QUERY query = {};
    query.op = kPresetRecordHolds;
    if (QueryPages(kPresetQueryTag, reinterpret_cast<LPARAM>(&query)) != 0)
    {
        const PRESET_FIELDS fields = ReadPresetFields(*m_pRecord);
        for (int i = 0; i < kClassCount; ++i)
            _ShowDownsampling(i, fields.image[i]);
    }
}

void CDlgGraphicsSetting::_ShowDownsampling(int index, const PRESET_IMAGE_CLASS& image)
{
    const bool on = image.bDownsample != 0;
    SetChecked(m_hDownsample[index], on);
    EnableWindow(m_hResolution[index], on);
    EnableWindow(m_hMethod[index], on);
    // A class kept at full resolution leaves the controls as the page's
    // own start does: no resolution, no method.
    SendMessageW(m_hMethod[index], CB_RESETCONTENT, 0, 0);
    wchar_t resolution[16] = L"";
    if (on)
    {
        wsprintfW(resolution, L"%ld", static_cast<long>(image.nResolution));
        InsertItem(m_hMethod[index], 0, L"", image.dwDownsampleMethod);
        SendMessageW(m_hMethod[index], CB_SETCURSEL, 0, 0);
    }
    // A new text would send its change notifications for nothing.
    if (ControlText(m_hResolution[index]) != resolution)
        SetWindowTextW(m_hResolution[index], resolution);
}

void CDlgGraphicsSetting::_ShowImageClass(int index, const PRESET_IMAGE_CLASS& image)
{
    // Classes 2 and 3 offer ZIP only.
    const bool jpeg = index == 0 && image.dwCompression == kJpeg;
    const LRESULT position = jpeg ? 1 : 0;
    // The quality list is refilled only for another compression.
    if (SendMessageW(m_hCompression[index], CB_GETCURSEL, 0, 0) != position)
    {
        SendMessageW(m_hCompression[index], CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        _RebuildQuality(index, image.dwQuality);
    }
    else
        SendMessageW(m_hQuality[index], CB_SETCURSEL,
                     static_cast<WPARAM>(QualityPosition(jpeg ? kJpeg : kZip, image.dwQuality)), 0);
    _ShowDownsampling(index, image);
}

PRESET_IMAGE_CLASS CDlgGraphicsSetting::_ShownImageClass(int index) const
{
    // What Apply would store.
    const LONG resolution = WholeNumberIn(m_hResolution[index]);
    return {SelectedValue(m_hCompression[index]), SelectedValue(m_hQuality[index]),
            IsChecked(m_hDownsample[index]) ? TRUE : FALSE, resolution < 1 ? kDefaultResolution : resolution,
            SelectedValue(m_hMethod[index])};
}

LRESULT CDlgGraphicsSetting::OnQueryPages(WPARAM code, LPARAM data)
{
    PRESET_QUERY* query = AsPresetQuery(code, data);
    if (!query || (query->op != kPresetRead && query->op != kPresetShow))
        return 0;
    for (int i = 0; i < kClassCount; ++i)
    {
        if (query->op == kPresetRead)
            query->fields.image[i] = _ShownImageClass(i);
        else
            _ShowImageClass(i, query->fields.image[i]);
    }
    query->groups |= kPresetGroupGraphics;
    return 0;
}

// The stored quality, not what the list showed before.
void CDlgGraphicsSetting::_RebuildQuality(int index)
{
    _RebuildQuality(index, m_pRecord->*kQualityFields[index]);
}

void CDlgGraphicsSetting::_RebuildQuality(int index, DWORD quality)
{
    const LRESULT selected = SendMessageW(m_hCompression[index], CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return;
    const auto compression =
        static_cast<DWORD>(SendMessageW(m_hCompression[index], CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
    HWND list = m_hQuality[index];
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    const QualityItem* items = nullptr;
    const size_t count = QualityItems(index + 1, compression, &items);
    for (size_t i = 0; i < count; ++i)
    {
        InsertItem(list, static_cast<int>(i), ResourceText(items[i].textId).c_str(), items[i].value);
    }
    if (count)
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(QualityPosition(compression, quality)), 0);
}

// A resolution is a number: whatever else is typed or pasted goes at once.
void CDlgGraphicsSetting::_FilterDigits(int index)
{
    HWND entry = m_hResolution[index];
    wchar_t text[kResolutionTextCapacity];
    const int length = GetWindowTextW(entry, text, kResolutionTextCapacity);
    DWORD caret = 0;
    SendMessageW(entry, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&caret), 0);
    const int caretAfter = KeepDigits(text, static_cast<int>(caret));
    if (lstrlenW(text) == length)
        return;
    SetWindowTextW(entry, text);
    SendMessageW(entry, CB_SETEDITSEL, 0, MAKELPARAM(caretAfter, caretAfter));
}

void CDlgGraphicsSetting::OnCommand(WORD controlId, WORD notifyCode, HWND control)
{
    switch (notifyCode)
    {
    case BN_CLICKED:
        for (int i = 0; i < kClassCount; ++i)
        {
            if (control != m_hDownsample[i])
                continue;
            const bool on = IsChecked(control);
            EnableWindow(m_hResolution[i], on);
            EnableWindow(m_hMethod[i], on);
        }
        break;
    case CBN_SELCHANGE:
        if (controlId == IDC_GRAPHICS_COMPRESSION_1)
            _RebuildQuality(0);
        break;
    case CBN_EDITUPDATE:
        for (int i = 0; i < kClassCount; ++i)
        {
            if (control == m_hResolution[i])
                _FilterDigits(i);
        }
        break;
    default:
        return;
    }
    MarkChanged();
}

DWORD CDlgGraphicsSetting::Apply()
{
    for (int i = 0; i < kClassCount; ++i)
    {
        m_pRecord->*kCompressionFields[i] = SelectedValue(m_hCompression[i]);
        m_pRecord->*kQualityFields[i] = SelectedValue(m_hQuality[i]);
    }
    for (int i = 0; i < kClassCount; ++i)
    {
        const LONG resolution = WholeNumberIn(m_hResolution[i]);
        m_pRecord->*kResolutionFields[i] = resolution < 1 ? kDefaultResolution : resolution;
    }
    for (int i = 0; i < kClassCount; ++i)
        m_pRecord->*kMethodFields[i] = SelectedValue(m_hMethod[i]);
    for (int i = 0; i < kClassCount; ++i)
        m_pRecord->*kDownsampleFields[i] = IsChecked(m_hDownsample[i]) ? 1 : 0;
    return 0;
}
