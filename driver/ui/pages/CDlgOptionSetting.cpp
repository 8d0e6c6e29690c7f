// The option page (no sheet of the driver includes it; only the tests and the
// main job reach it).
#include "pages/CDlgOptionSetting.h"

#include "resource.h"

#include <initializer_list>

namespace
{
constexpr DWORD kOpenAfterSave = 0x80000000;
constexpr DWORD kCompressText = 0x40000000;
constexpr DWORD kAutoRotate = 0x20000000;
constexpr DWORD kRotateEach = 0x10000000;
constexpr DWORD kRotateAll = 0x08000000;
constexpr DWORD kKeepLinks = 0x04000000;
constexpr DWORD kBookmarks = 0x02000000;
constexpr DWORD kOpeningView = 0x01000000;
// The opening view takes two bits: both for the pages alone, one each for
// the bookmarks and the thumbnails.
constexpr DWORD kViewBookmarks = 0x00800000;
constexpr DWORD kViewThumbnails = 0x00400000;
constexpr DWORD kViewPages = kViewBookmarks | kViewThumbnails;
} // namespace

void CDlgOptionSetting::OnInitDialog()
{
    m_hOpenAfterSave = GetDlgItem(m_hWnd, IDC_OPTION_OPEN_AFTER_SAVE);
    m_hCompressText = GetDlgItem(m_hWnd, IDC_OPTION_COMPRESS_TEXT);
    m_hAutoRotate = GetDlgItem(m_hWnd, IDC_OPTION_AUTO_ROTATE);
    m_hRotateEach = GetDlgItem(m_hWnd, IDC_OPTION_ROTATE_EACH);
    m_hRotateAll = GetDlgItem(m_hWnd, IDC_OPTION_ROTATE_ALL);
    m_hKeepLinks = GetDlgItem(m_hWnd, IDC_OPTION_KEEP_LINKS);
    m_hOpeningView = GetDlgItem(m_hWnd, IDC_OPTION_OPENING_VIEW);
    m_hViewPages = GetDlgItem(m_hWnd, IDC_OPTION_VIEW_PAGES);
    m_hViewBookmarks = GetDlgItem(m_hWnd, IDC_OPTION_VIEW_BOOKMARKS);
    m_hViewThumbnails = GetDlgItem(m_hWnd, IDC_OPTION_VIEW_THUMBNAILS);
    m_hBookmarks = GetDlgItem(m_hWnd, IDC_OPTION_BOOKMARKS);

    const DWORD flags = m_pRecord->dwOptionFlags;
    SetChecked(m_hOpenAfterSave, flags & kOpenAfterSave);
    SetChecked(m_hCompressText, flags & kCompressText);
    SetChecked(m_hAutoRotate, flags & kAutoRotate);
    SetChecked((flags & kRotateEach) ? m_hRotateEach : m_hRotateAll, true);
    SetChecked(m_hKeepLinks, flags & kKeepLinks);
    SetChecked(m_hOpeningView, flags & kOpeningView);
    _OpeningViewRule();
    // Neither view bit: no view is selected until the user picks one.
    const DWORD view = flags & kViewPages;
    if (view == kViewPages)
        SetChecked(m_hViewPages, true);
    else if (view == kViewBookmarks)
        SetChecked(m_hViewBookmarks, true);
    else if (view == kViewThumbnails)
        SetChecked(m_hViewThumbnails, true);
    SetChecked(m_hBookmarks, flags & kBookmarks);
    _AutoRotateRule();
}

void CDlgOptionSetting::_OpeningViewRule()
{
    const bool on = IsChecked(m_hOpeningView);
    for (HWND view : {m_hViewPages, m_hViewBookmarks, m_hViewThumbnails})
        EnableWindow(view, on);
}

void CDlgOptionSetting::_AutoRotateRule()
{
    const bool on = IsChecked(m_hAutoRotate);
    EnableWindow(m_hRotateEach, on);
    EnableWindow(m_hRotateAll, on);
}

void CDlgOptionSetting::OnCommand(WORD controlId, WORD notifyCode, HWND /*control*/)
{
    if (notifyCode != BN_CLICKED)
        return;
    if (controlId == IDC_OPTION_OPENING_VIEW)
        _OpeningViewRule();
    else if (controlId == IDC_OPTION_AUTO_ROTATE)
        _AutoRotateRule();
    MarkChanged();
}

// Disabled controls still count: their states are kept for the renderer.
DWORD CDlgOptionSetting::Apply()
{
    DWORD flags = 0;
    if (IsChecked(m_hOpenAfterSave))
        flags |= kOpenAfterSave;
    if (IsChecked(m_hCompressText))
        flags |= kCompressText;
    if (IsChecked(m_hAutoRotate))
        flags |= kAutoRotate;
    flags |= IsChecked(m_hRotateEach) ? kRotateEach : kRotateAll;
    if (IsChecked(m_hKeepLinks))
        flags |= kKeepLinks;
    if (IsChecked(m_hOpeningView))
        flags |= kOpeningView;
    flags |= IsChecked(m_hViewPages) ? kViewPages : IsChecked(m_hViewBookmarks) ? kViewBookmarks : kViewThumbnails;
    if (IsChecked(m_hBookmarks))
        flags |= kBookmarks;
    m_pRecord->dwOptionFlags = flags;
    return 0;
}
