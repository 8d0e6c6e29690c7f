#include "SheetScreenshots.h"

#include "WindowDriver.h"

#include <commctrl.h>
#include <gdiplus.h>

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

// The pixels of a bitmap, top row first, for comparing two copies.
std::vector<DWORD> Pixels(HBITMAP bitmap)
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
    return pixels;
}

// Repaints the window and waits until the screen shows it: two copies in a
// row alike (the display server takes the drawing in its own time).
HBITMAP SettledCopy(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HBITMAP last = CopyFromScreen(window);
    testhost::WaitFor(
        [&] {
            HBITMAP next = CopyFromScreen(window);
            const bool same = Pixels(next) == Pixels(last);
            DeleteObject(last);
            last = next;
            return same;
        },
        2000);
    return last;
}
} // namespace

bool SaveWindowPng(HWND window, const std::wstring& file)
{
    HBITMAP bitmap = SettledCopy(window);
    bool saved = false;
    {
        Gdiplus::Bitmap image(bitmap, nullptr);
        CLSID png;
        saved = PngEncoder(&png) && image.Save(file.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    DeleteObject(bitmap);
    return saved;
}

HWND WaitForPropertySheet(DWORD waitMs)
{
    return testhost::WaitForSheet(waitMs);
}

std::vector<std::wstring> SaveTabScreenshots(HWND sheet, const std::wstring& folder)
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
        if (SaveWindowPng(sheet, file))
            files.push_back(file);
    }
    SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
    Gdiplus::GdiplusShutdown(token);
    return files;
}
