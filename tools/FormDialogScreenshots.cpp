#include "FormDialogScreenshots.h"

#include "SheetScreenshots.h"
#include "WindowDriver.h"

#include "resource.h"

#include <commctrl.h>
#include <gdiplus.h>

namespace
{
constexpr DWORD kWaitMs = 20000;

// The dialog of this process that holds control `id`.
HWND WaitForDialogWith(int id)
{
    return testhost::WaitForTopWindow(
        [&](HWND w) {
            wchar_t name[16];
            return GetClassNameW(w, name, 16) && lstrcmpW(name, L"#32770") == 0 && GetDlgItem(w, id);
        },
        kWaitMs);
}

// Clicks a button whose click opens a modal dialog (posted: a sent click
// would return only when that dialog closes) and waits for the dialog.
HWND OpenWith(HWND button, int controlOfDialog)
{
    PostMessageW(button, BM_CLICK, 0, 0);
    return WaitForDialogWith(controlOfDialog);
}

bool Save(HWND dialog, const std::wstring& file, std::vector<std::wstring>* files)
{
    if (!SaveWindowPng(dialog, file))
        return false;
    files->push_back(file);
    return true;
}

void Cancel(HWND dialog)
{
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    testhost::WaitFor([dialog] { return !IsWindow(dialog); }, kWaitMs);
}
} // namespace

std::vector<std::wstring> SaveFormDialogScreenshots(HWND sheet, const std::wstring& folder)
{
    std::vector<std::wstring> files;
    SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
    HWND favoritesButton = testhost::WaitForDescendant(sheet, IDC_FORM_FAVORITES, kWaitMs);
    if (!favoritesButton)
        return files;

    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return files;
    if (HWND favorites = OpenWith(favoritesButton, IDC_FAVORITE_LIST))
    {
        Save(favorites, folder + L"\\dialog-1-favorite-forms.png", &files);
        if (HWND custom = OpenWith(GetDlgItem(favorites, IDC_FAVORITE_ADD), IDC_CUSTOM_FORM_NAME))
        {
            Save(custom, folder + L"\\dialog-2-custom-form.png", &files);
            Cancel(custom);
        }
        Cancel(favorites);
    }
    Gdiplus::GdiplusShutdown(token);
    return files;
}
