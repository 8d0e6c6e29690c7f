// The main job: installs the built driver into the private Wine prefix as the
// printer "Tarvik", prints the settings record the module gives for it, and
// opens its Printing Preferences through the spooler. With a display the
// user works the sheet, and after OK the resulting record is printed with
// the changed fields marked. Headless (--screenshots FOLDER) a picture of
// each tab is saved and the sheet is cancelled. Then the option page is
// pictured in a sheet of its own and the watermark preview dialog is shown
// (headless: pictured and closed).
#include "OptionPageScreenshot.h"
#include "PrinterInstaller.h"
#include "RecordFieldTable.h"
#include "FormDialogScreenshots.h"
#include "SheetScreenshots.h"
#include "WatermarkScreenshots.h"

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace
{
void PrintRecord(const unsigned char* record, const unsigned char* before)
{
    std::printf("  %-24s %6s  %s\n", "field", "offset", "value");
    for (const recordfields::RecordField& field : recordfields::RecordFields())
    {
        const std::string value = recordfields::FieldValue(field, record);
        const bool changed = before && value != recordfields::FieldValue(field, before);
        std::printf("%c %-24s %6u  %s%s\n", changed ? '*' : ' ', field.name, field.offset, value.c_str(),
                    changed ? ("   (was " + recordfields::FieldValue(field, before) + ")").c_str() : "");
    }
}

int Fail(const char* what)
{
    std::fprintf(stderr, "%s failed: error %lu\n", what, GetLastError());
    return 1;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring screenshots;
    for (int i = 1; i + 1 < argc; ++i)
    {
        if (std::wstring(argv[i]) == L"--screenshots")
            screenshots = argv[i + 1];
    }

    std::wstring step;
    const DWORD rc = testhost::InstallTarvikPrinter(&step);
    if (rc != 0)
    {
        std::fprintf(stderr, "Installing the printer failed at %ls: error %lu\n", step.c_str(), rc);
        return 1;
    }
    HANDLE printer = testhost::OpenTarvikPrinter(PRINTER_ACCESS_USE);
    if (!printer)
        return Fail("OpenPrinterW(\"Tarvik\")");
    wchar_t name[] = L"Tarvik";
    const LONG size = DocumentPropertiesW(nullptr, printer, name, nullptr, nullptr, 0);
    if (size <= 0)
        return Fail("DocumentPropertiesW (size query)");
    std::vector<unsigned char> before(static_cast<size_t>(size)), after(static_cast<size_t>(size));
    if (DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(before.data()), nullptr,
                            DM_OUT_BUFFER) != IDOK)
        return Fail("DocumentPropertiesW (DM_OUT_BUFFER)");
    std::printf("Settings record of the printer \"Tarvik\" (%ld bytes)\n", size);
    PrintRecord(before.data(), nullptr);

    std::vector<std::wstring> pictures;
    std::thread camera;
    if (!screenshots.empty())
    {
        camera = std::thread([&] {
            HWND sheet = WaitForPropertySheet(60000);
            if (!sheet)
                return;
            pictures = SaveTabScreenshots(sheet, screenshots);
            for (const std::wstring& file : SaveFormDialogScreenshots(sheet, screenshots))
                pictures.push_back(file);
            PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        });
    }
    else
    {
        std::printf("\nOpening Printing Preferences of \"Tarvik\"...\n");
        std::fflush(stdout);
    }
    const LONG result =
        DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(after.data()),
                            reinterpret_cast<DEVMODEW*>(before.data()), DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
    if (camera.joinable())
        camera.join();
    ClosePrinter(printer);
    if (!ShowWatermarkPreview(screenshots))
        return 1;

    if (!screenshots.empty())
    {
        if (pictures.empty())
        {
            std::fprintf(stderr, "No Printing Preferences sheet appeared (DocumentPropertiesW returned %ld)\n", result);
            return 1;
        }
        AddOptionPageScreenshot(screenshots, before.data(), &pictures);
        std::printf("\nPrinting Preferences: %zu picture(s) of its tabs, dialogs and the option page saved in %ls:\n",
                    pictures.size(), screenshots.c_str());
        for (const std::wstring& file : pictures)
            std::printf("  %ls\n", file.c_str());
        std::printf("The sheet was closed with Cancel.\n");
        return 0;
    }
    if (result == IDOK)
    {
        std::printf("\nOK: the record the sheet produced (* marks a changed field)\n");
        PrintRecord(after.data(), before.data());
        return 0;
    }
    if (result == IDCANCEL)
    {
        std::printf("\nCancelled: nothing was changed.\n");
        return 0;
    }
    std::fprintf(stderr, "DocumentPropertiesW (DM_IN_PROMPT) returned %ld, error %lu\n", result, GetLastError());
    return 1;
}
