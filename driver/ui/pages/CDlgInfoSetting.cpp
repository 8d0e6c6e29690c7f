#include "pages/CDlgInfoSetting.h"

#include "core/Globals.h"
#include "resource.h"

#include <libmerrow/file.h>

#include <shellapi.h>

#include <iterator>

void CDlgInfoSetting::OnInitDialog()
{
    _PlacePicture();
    _UnderlineLink();
    m_hHandCursor = LoadCursorW(nullptr, IDC_HAND);
    m_hArrowCursor = LoadCursorW(nullptr, IDC_ARROW);
    _ShowVersion();
}

void CDlgInfoSetting::_PlacePicture()
{
    // A bitmap keeps its pixels at any density: from 144 DPI on the page
    // shows the one drawn half as large again, so that it never shrinks
    // beside the text that grows with the density.
    HDC screen = GetDC(m_hWnd);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(m_hWnd, screen);
    const WORD id = dpi >= 144 ? IDB_INFO_PICTURE_144 : IDB_INFO_PICTURE;
    HWND picture = GetDlgItem(m_hWnd, IDC_INFO_PICTURE);
    if (id != IDB_INFO_PICTURE)
    {
        // The static keeps what the template gave it until the page goes.
        m_hLargePicture.Reset(LoadBitmapW(g_hResModule, MAKEINTRESOURCEW(id)));
        if (m_hLargePicture)
            m_hTemplatePicture = reinterpret_cast<HGDIOBJ>(
                SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_hLargePicture.Get())));
    }
    BITMAP info = {};
    const auto shown = reinterpret_cast<HGDIOBJ>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (!shown || !GetObjectW(shown, sizeof(info), &info))
        return;
    SetWindowPos(picture, HWND_TOP, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_SHOWWINDOW);
}

void CDlgInfoSetting::_UnderlineLink()
{
    m_hLink = GetDlgItem(m_hWnd, IDC_INFO_LINK);
    m_hDialogFont = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    LOGFONTW font = {};
    if (!m_hDialogFont || !GetObjectW(m_hDialogFont, sizeof(font), &font))
        return;
    font.lfUnderline = TRUE;
    m_hUnderlineFont.Reset(CreateFontIndirectW(&font));
    if (m_hUnderlineFont)
        SendMessageW(m_hLink, WM_SETFONT, reinterpret_cast<WPARAM>(m_hUnderlineFont.Get()), FALSE);
}

void CDlgInfoSetting::_ShowVersion()
{
    wchar_t path[1024];
    path[0] = L'\0';
    GetModuleFileNameW(g_hModule, path, static_cast<DWORD>(std::size(path)));
    WORD* v = m_wVersion;
    v[0] = v[1] = v[2] = v[3] = 0;
    GetFileVersion(path, &v[0], &v[1], &v[2], &v[3]);
    // wsprintfW writes at most 1024 code units.
    wchar_t text[1024];
    wsprintfW(text, ResourceText(IDS_VERSION_FORMAT).c_str(), v[0], v[1], v[2], v[3]);
    SetDlgItemTextW(m_hWnd, IDC_INFO_VERSION, text);
}

bool CDlgInfoSetting::_CursorOverLink() const
{
    POINT cursor;
    RECT link;
    if (!m_hLink || !GetCursorPos(&cursor) || !GetWindowRect(m_hLink, &link))
        return false;
    return PtInRect(&link, cursor) != FALSE;
}

void CDlgInfoSetting::OnCommand(WORD controlId, WORD notifyCode, HWND /*control*/)
{
    if (notifyCode != BN_CLICKED)
        return;
    if (controlId == IDC_INFO_SUPPORT)
        ShellExecuteW(m_hWnd, L"open", TARVIK_SUPPORT_URL, nullptr, nullptr, SW_SHOW);
    else if (controlId == IDC_INFO_CHECK_UPDATE)
        ShowUpdateResult(m_hWnd, CheckForUpdate(TARVIK_UPDATE_URL, m_wVersion));
}

void CDlgInfoSetting::ShowUpdateResult(HWND owner, const UpdateCheckResult& result)
{
    if (result.outcome != UpdateOutcome::kNewer)
    {
        ShowMessage(owner, IDS_NO_NEWER_VERSION, IDS_CAPTION_INFORMATION, MB_OK);
        return;
    }
    if (ShowMessage(owner, IDS_NEWER_VERSION, IDS_CAPTION_INFORMATION, MB_OKCANCEL) == IDOK)
        ShellExecuteW(owner, L"open", result.address.c_str(), nullptr, nullptr, SW_SHOW);
}

INT_PTR CDlgInfoSetting::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CTLCOLORSTATIC: {
        HDC hdc = reinterpret_cast<HDC>(wParam);
        SetBkMode(hdc, TRANSPARENT);
        if (reinterpret_cast<HWND>(lParam) == m_hLink)
            SetTextColor(hdc, RGB(0, 0, 255));
        return reinterpret_cast<INT_PTR>(GetStockObject(HOLLOW_BRUSH));
    }
    case WM_DESTROY:
        // The label uses the underlined font until it goes: give it the
        // dialog's own font back while both windows still exist, so the
        // font can be deleted with the page.
        if (m_hLink && m_hUnderlineFont)
            SendMessageW(m_hLink, WM_SETFONT, reinterpret_cast<WPARAM>(m_hDialogFont), FALSE);
        // Likewise the picture: the static's own goes back to it.
        if (m_hLargePicture)
            SendDlgItemMessageW(m_hWnd, IDC_INFO_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                                reinterpret_cast<LPARAM>(m_hTemplatePicture));
        return FALSE;
    case WM_SETCURSOR:
        SetCursor(_CursorOverLink() ? m_hHandCursor : m_hArrowCursor);
        SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_LBUTTONDOWN:
        if (_CursorOverLink())
        {
            wchar_t address[1024];
            address[0] = L'\0';
            GetWindowTextW(m_hLink, address, static_cast<int>(std::size(address)));
            ShellExecuteW(m_hWnd, L"open", address, nullptr, nullptr, SW_SHOW);
        }
        return FALSE;
    default:
        return FALSE;
    }
}
