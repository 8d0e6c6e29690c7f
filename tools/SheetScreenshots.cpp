#include "SheetScreenshots.h"

#include "WindowDriver.h"

#include <commctrl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>

namespace
{
// The encoder of image/png among GDI+'s encoders.
bool PngEncoder(CLSID* clsid)
{
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    if (size == 0)
        return false;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i)
    {
        if (lstrcmpiW(codecs[i].MimeType, L"image/png") == 0)
        {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// A copy of what the screen shows of the window; the caller deletes it.
HBITMAP CopyFromScreen(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    // The window's own device context: the pixels the process painted,
    // not what the display server has shown of them so far.
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return bitmap;
}

// The pixels of a bitmap, top row first.
std::vector<DWORD> Pixels(HBITMAP bitmap, LONG* width)
{
    BITMAP info = {};
    GetObjectW(bitmap, sizeof(info), &info);
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    *width = info.bmWidth;
    return pixels;
}

constexpr DWORD kPaintWaitMs = 10000;

BOOL CALLBACK FindUnpainted(HWND child, LPARAM unpainted)
{
    if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE))
        return TRUE;
    *reinterpret_cast<HWND*>(unpainted) = child;
    return FALSE;
}

// Paints the whole window now, frame and every window inside it, and waits
// until none of them has a part left to paint; a message sent to the window
// then comes back once its thread has handled everything that came before.
// False (and a report) when it is still unpainted when the wait ends.
bool PaintWhole(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HWND unpainted = nullptr;
    const bool painted = testhost::WaitFor(
        [&] {
            SendMessageW(window, WM_NULL, 0, 0);
            unpainted = GetUpdateRect(window, nullptr, FALSE) ? window : nullptr;
            if (!unpainted)
                EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
            return unpainted == nullptr;
        },
        kPaintWaitMs);
    if (!painted)
        std::fprintf(stderr, "Window %p (control %d) still unpainted after %lu ms\n", static_cast<void*>(unpainted),
                     GetDlgCtrlID(unpainted), kPaintWaitMs);
    return painted;
}

bool SavePng(HBITMAP bitmap, const std::wstring& file)
{
    Gdiplus::Bitmap image(bitmap, nullptr);
    CLSID png;
    return PngEncoder(&png) && image.Save(file.c_str(), &png, nullptr) == Gdiplus::Ok;
}

// Whether the tab strip is in the picture of the sheet: the band of its
// tabs, where the picture holds them, is not one colour.
bool ShowsTabStrip(HWND sheet, HBITMAP picture)
{
    HWND tabs = PropSheet_GetTabControl(sheet);
    const int count = tabs ? TabCtrl_GetItemCount(tabs) : 0;
    RECT first, last, frame;
    if (count <= 0 || !TabCtrl_GetItemRect(tabs, 0, &first) || !TabCtrl_GetItemRect(tabs, count - 1, &last))
        return false;
    RECT band = {first.left, first.top, last.right, first.bottom};
    MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&band), 2);
    GetWindowRect(sheet, &frame);
    LONG width = 0;
    const std::vector<DWORD> pixels = Pixels(picture, &width);
    const LONG height = width ? static_cast<LONG>(pixels.size()) / width : 0;
    const LONG left = std::max(band.left - frame.left, 0L), right = std::min(band.right - frame.left, width);
    const LONG top = std::max(band.top - frame.top, 0L), bottom = std::min(band.bottom - frame.top, height);
    if (left >= right || top >= bottom)
        return false;
    constexpr DWORD kRgb = 0x00FFFFFF; // Wine writes the alpha byte too
    const DWORD background = pixels[static_cast<size_t>(top * width + left)] & kRgb;
    for (LONG y = top; y < bottom; ++y)
    {
        for (LONG x = left; x < right; ++x)
        {
            if ((pixels[static_cast<size_t>(y * width + x)] & kRgb) != background)
                return true;
        }
    }
    return false;
}
} // namespace

bool SaveWindowPng(HWND window, const std::wstring& file)
{
    if (!PaintWhole(window))
        return false;
    HBITMAP bitmap = CopyFromScreen(window);
    const bool saved = SavePng(bitmap, file);
    DeleteObject(bitmap);
    return saved;
}

HWND WaitForPropertySheet(DWORD waitMs)
{
    return testhost::WaitForSheet(waitMs);
}

std::vector<std::wstring> SaveTabScreenshots(HWND sheet, const std::wstring& folder, bool* faulty)
{
    std::vector<std::wstring> files;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return files;
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::vector<std::wstring> titles = testhost::TabTitles(sheet);
    for (size_t i = 0; i < titles.size(); ++i)
    {
        SendMessageW(sheet, PSM_SETCURSEL, i, 0);
        // Wine cannot create a Unix file name with characters that the
        // machine's locales lack (a Korean title without a Korean locale), so
        // the name spells other characters by their code.
        std::wstring title;
        for (wchar_t c : titles[i])
        {
            wchar_t code[8];
            swprintf(code, std::size(code), L"%04X", static_cast<unsigned>(c));
            title += c >= 0x80 ? std::wstring(code) : std::wstring(1, iswalnum(c) ? c : L'-');
        }
        const std::wstring file = folder + L"\\tab-" + std::to_wstring(i + 1) + L"-" + title + L".png";
        HBITMAP picture = PaintWhole(sheet) ? CopyFromScreen(sheet) : nullptr;
        if (!picture || !SavePng(picture, file))
            *faulty = true;
        else if (!ShowsTabStrip(sheet, picture))
        {
            std::fprintf(stderr, "The picture %ls shows no tab strip\n", file.c_str());
            *faulty = true;
        }
        else
            files.push_back(file);
        if (picture)
            DeleteObject(picture);
    }
    SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
    Gdiplus::GdiplusShutdown(token);
    return files;
}
