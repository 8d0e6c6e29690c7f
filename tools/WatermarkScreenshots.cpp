#include "WatermarkScreenshots.h"

#include "SheetScreenshots.h"
#include "WindowDriver.h"

#include "watermark/CDlgWatermarkPreview.h"
#include "core/Globals.h"
#include "resource.h"

#include <cstdio>
#include <vector>

bool ShowWatermarkPreview(const std::wstring& screenshotFolder)
{
    if (!EnsureResourceModule())
        return false;
    CDlgWatermarkPreview dialog;
    if (screenshotFolder.empty())
        return dialog.DoModal(nullptr) > 0;

    std::vector<std::wstring> saved;
    testhost::UserThread camera([&] {
        HWND shown = testhost::WaitForTopWindow(
            [](HWND window) { return GetDlgItem(window, IDC_WATERMARK_PAGE) != nullptr; }, 60000);
        if (!shown)
            return;
        const struct
        {
            int button;
            const wchar_t* name;
        } pages[] = {{IDC_WATERMARK_PORTRAIT, L"watermark-portrait.png"},
                     {IDC_WATERMARK_LANDSCAPE, L"watermark-landscape.png"}};
        for (const auto& page : pages)
        {
            testhost::ClickButton(GetDlgItem(shown, page.button));
            const std::wstring file = screenshotFolder + L"\\" + page.name;
            if (SaveWindowPng(shown, file))
                saved.push_back(file);
        }
        PostMessageW(shown, WM_COMMAND, IDOK, 0);
    });
    const INT_PTR result = dialog.DoModal(nullptr);
    camera.Join();
    if (result <= 0 || saved.empty())
    {
        std::fprintf(stderr, "The watermark preview did not show (DialogBoxParamW returned %lld)\n",
                     static_cast<long long>(result));
        return false;
    }
    std::printf("\nWatermark preview: pictures saved\n");
    for (const std::wstring& file : saved)
        std::printf("  %ls\n", file.c_str());
    return true;
}
