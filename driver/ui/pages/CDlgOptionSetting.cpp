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

bool Checked(HWND button)
{
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Check(HWND button, bool checked)
{
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
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
    Check(m_hOpenAfterSave, flags & kOpenAfterSave);
    Check(m_hCompressText, flags & kCompressText);
    Check(m_hAutoRotate, flags & kAutoRotate);
    Check((flags & kRotateEach) ? m_hRotateEach : m_hRotateAll, true);
    Check(m_hKeepLinks, flags & kKeepLinks);
    Check(m_hOpeningView, flags & kOpeningView);
    _OpeningViewRule();
    // Neither view bit: no view is selected until the user picks one.
    const DWORD view = flags & kViewPages;
    if (view == kViewPages)
        Check(m_hViewPages, true);
    else if (view == kViewBookmarks)
        Check(m_hViewBookmarks, true);
    else if (view == kViewThumbnails)
        Check(m_hViewThumbnails, true);
    Check(m_hBookmarks, flags & kBookmarks);
    _AutoRotateRule();
}

void CDlgOptionSetting::_OpeningViewRule()
{
    const bool on = Checked(m_hOpeningView);
    for (HWND view : {m_hViewPages, m_hViewBookmarks, m_hViewThumbnails})
        EnableWindow(view, on);
}

void CDlgOptionSetting::_AutoRotateRule()
{
    const bool on = Checked(m_hAutoRotate);
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
    if (Checked(m_hOpenAfterSave))
        flags |= kOpenAfterSave;
    if (Checked(m_hCompressText))
        flags |= kCompressText;
    if (Checked(m_hAutoRotate))
        flags |= kAutoRotate;
    flags |= Checked(m_hRotateEach) ? kRotateEach : kRotateAll;
    if (Checked(m_hKeepLinks))
        flags |= kKeepLinks;
    if (Checked(m_hOpeningView))
        flags |= kOpeningView;
    flags |= Checked(m_hViewPages) ? kViewPages : Checked(m_hViewBookmarks) ? kViewBookmarks : kViewThumbnails;
    if (Checked(m_hBookmarks))
        flags |= kBookmarks;
    m_pRecord->dwOptionFlags = flags;
    return 0;
}
