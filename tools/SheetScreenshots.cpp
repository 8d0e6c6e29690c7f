#include "SheetScreenshots.h"

#include "WindowDriver.h"

#include <commctrl.h>
#include <gdiplus.h>

namespace
{
bool IsPropertySheet(HWND window)
{
    wchar_t name[64];
    if (!GetClassNameW(window, name, 64) || lstrcmpW(name, L"#32770") != 0)
        return false;
    return PropSheet_GetTabControl(window) != nullptr;
}

struct Search
{
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM lParam)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(window) && IsPropertySheet(window))
    {
        reinterpret_cast<Search*>(lParam)->found = window;
        return FALSE;
    }
    return TRUE;
}

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

// Lets the sheet paint what the last selection showed.
void Settle(HWND sheet)
{
    RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
}
} // namespace

bool SaveWindowPng(HWND window, const std::wstring& file)
{
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    bool saved = false;
    {
        Gdiplus::Bitmap image(bitmap, nullptr);
        CLSID png;
        saved = PngEncoder(&png) && image.Save(file.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

HWND WaitForPropertySheet(DWORD waitMs)
{
    const DWORD start = GetTickCount();
    for (;;)
    {
        Search search = {nullptr};
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start > waitMs)
            return search.found;
        Sleep(50);
    }
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
        Settle(sheet);
        std::wstring title = titles[i];
        for (wchar_t& c : title)
        {
            if (!iswalnum(c))
                c = L'-';
        }
        const std::wstring file = folder + L"\\tab-" + std::to_wstring(i + 1) + L"-" + title + L".png";
        if (SaveWindowPng(sheet, file))
            files.push_back(file);
    }
    SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
    Gdiplus::GdiplusShutdown(token);
    return files;
}
