#include "OptionPageScreenshot.h"

#include "SheetScreenshots.h"

#include "pages/CDlgOptionSetting.h"
#include "core/Globals.h"
#include "resource.h"

#include <commctrl.h>

#include <cstring>
#include <thread>

void AddOptionPageScreenshot(const std::wstring& folder, const void* record, std::vector<std::wstring>* pictures,
                             bool* faulty)
{
    if (!EnsureResourceModule())
        return;
    TARVIK_DEVMODE working;
    std::memcpy(&working, record, kRecordSize);
    CDlgOptionSetting page;
    page.AttachRecord(nullptr, &working);
    PROPSHEETPAGEW* description = nullptr;
    if (CreatePropSheetPage(&description, IDD_OPTION_PAGE, IDS_TITLE_OPTION, PropSheetPageProc, &page) != 0)
        return;
    HPROPSHEETPAGE handle = CreatePropertySheetPageW(description);
    LocalFree(description);
    if (!handle)
        return;

    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.pszCaption = L"Tarvik PDF options";
    header.nPages = 1;
    header.phpage = &handle;
    std::vector<std::wstring> files;
    std::thread camera([&] {
        HWND sheet = WaitForPropertySheet(20000);
        if (!sheet)
            return;
        files = SaveTabScreenshots(sheet, folder, faulty);
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    PropertySheetW(&header);
    camera.join();
    if (files.empty())
        return;
    const std::wstring file = folder + L"\\option-page.png";
    pictures->push_back(MoveFileExW(files[0].c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING) ? file : files[0]);
}
