// The main job: installs the built driver into the private Wine prefix as the
// printer "Tarvik" (keeping a printer that is already there, and with it the
// default a person stored), prints the settings record it opens with (this
// user's stored default, or the driver's) and opens its Printing Preferences
// through the spooler. With a display the user works the sheet. The host's
// answer does not always tell OK from Cancel (Wine answers 1 for both), so the
// job reports what changed in the record, and a changed record that the
// answer does not call cancelled is stored as this user's default for the
// next run. --reset installs a fresh printer and stores the driver's record.
// Headless (--screenshots FOLDER) a picture of each tab is saved and the
// sheet is cancelled. Then the option page is pictured in a sheet of its own
// and the watermark preview dialog is shown (headless: pictured and closed).
#include "OptionPageScreenshot.h"
#include "PrinterInstaller.h"
#include "RecordFieldTable.h"
#include "FormDialogScreenshots.h"
#include "SheetScreenshots.h"
#include "UserDefault.h"
#include "WatermarkScreenshots.h"

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
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

wchar_t g_name[] = L"Tarvik";

// The record the sheet opens with: the stored default merged by the driver
// (DM_IN_BUFFER), or the driver's own answer when none is stored.
bool OpeningRecord(HANDLE printer, std::vector<unsigned char>* record)
{
    StoredDefault stored = LoadUserDefault(printer);
    auto* in = stored.record.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(stored.record.data());
    if (DocumentPropertiesW(nullptr, printer, g_name, reinterpret_cast<DEVMODEW*>(record->data()), in,
                            in ? DM_IN_BUFFER | DM_OUT_BUFFER : DM_OUT_BUFFER) != IDOK)
        return false;
    std::printf("Settings record of the printer \"Tarvik\" (%zu bytes), ", record->size());
    if (in)
        std::printf("from the stored default (GetPrinterW level %lu)\n", stored.level);
    else
        std::printf("as the driver gives it (no default is stored)\n");
    return true;
}

// Says what the sheet's answer and its record tell, and keeps a confirmed
// record as this user's default. Returns the exit code.
int Report(HANDLE printer, LONG answer, const std::vector<unsigned char>& before,
           const std::vector<unsigned char>& after)
{
    const bool changed = std::memcmp(before.data(), after.data(), before.size()) != 0;
    switch (JudgeSheet(answer, changed))
    {
    case SheetOutcome::Cancelled:
        std::printf("\nThe sheet answered IDCANCEL (Cancel): nothing was stored.\n");
        return 0;
    case SheetOutcome::Unchanged:
        std::printf("\nThe sheet answered %ld (OK, or Cancel on a host that answers both alike): the record did not "
                    "change, nothing was stored.\n",
                    answer);
        return 0;
    case SheetOutcome::Changed:
        break;
    case SheetOutcome::Failed:
        std::fprintf(stderr, "DocumentPropertiesW (DM_IN_PROMPT) returned %ld, error %lu\n", answer, GetLastError());
        return 1;
    }
    std::printf("\nThe sheet answered %ld and the record changed (* marks a changed field):\n", answer);
    PrintRecord(after.data(), before.data());
    DWORD level = 0;
    const DWORD rc = StoreUserDefault(printer, *reinterpret_cast<const DEVMODEW*>(after.data()), &level);
    if (rc != 0)
    {
        std::fprintf(stderr, "Storing the record as the default failed at SetPrinterW level %lu: error %lu\n", level,
                     rc);
        return 1;
    }
    if (level != 9)
        std::printf("The spooler has no per-user default (SetPrinterW level 9 refused); stored as the printer's "
                    "default for everyone (level %lu).\n",
                    level);
    else
        std::printf("Stored as this user's default of \"Tarvik\" (SetPrinterW level 9).\n");
    std::printf("The next run opens with it; scripts/run.sh --reset puts the built-in record back.\n");
    return 0;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring screenshots;
    bool reset = false;
    for (int i = 1; i < argc; ++i)
    {
        if (std::wstring(argv[i]) == L"--screenshots" && i + 1 < argc)
            screenshots = argv[++i];
        else if (std::wstring(argv[i]) == L"--reset")
            reset = true;
    }

    std::wstring step;
    const DWORD rc = testhost::InstallTarvikPrinter(&step, !reset);
    if (rc != 0)
    {
        std::fprintf(stderr, "Installing the printer failed at %ls: error %lu\n", step.c_str(), rc);
        return 1;
    }
    // Administer access: where the spooler keeps no per-user default, the
    // printer's own (level 2) takes the record.
    HANDLE printer = testhost::OpenTarvikPrinter(PRINTER_ALL_ACCESS);
    if (!printer)
        return Fail("OpenPrinterW(\"Tarvik\")");
    const LONG size = DocumentPropertiesW(nullptr, printer, g_name, nullptr, nullptr, 0);
    if (size <= 0)
        return Fail("DocumentPropertiesW (size query)");
    std::vector<unsigned char> before(static_cast<size_t>(size)), after(static_cast<size_t>(size));
    if (reset)
    {
        // A fresh printer holds the driver's record; this user's default
        // becomes that record too.
        DWORD level = 0;
        if (DocumentPropertiesW(nullptr, printer, g_name, reinterpret_cast<DEVMODEW*>(before.data()), nullptr,
                                DM_OUT_BUFFER) != IDOK ||
            StoreUserDefault(printer, *reinterpret_cast<const DEVMODEW*>(before.data()), &level) != 0)
            return Fail("Storing the built-in record");
        std::printf("The built-in record is the default again (SetPrinterW level %lu).\n", level);
    }
    if (!OpeningRecord(printer, &before))
        return Fail("DocumentPropertiesW (DM_OUT_BUFFER)");
    PrintRecord(before.data(), nullptr);

    std::vector<std::wstring> pictures;
    bool faulty = false;
    std::thread camera;
    if (!screenshots.empty())
    {
        camera = std::thread([&] {
            HWND sheet = WaitForPropertySheet(60000);
            if (!sheet)
                return;
            pictures = SaveTabScreenshots(sheet, screenshots, &faulty);
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
        DocumentPropertiesW(nullptr, printer, g_name, reinterpret_cast<DEVMODEW*>(after.data()),
                            reinterpret_cast<DEVMODEW*>(before.data()), DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
    if (camera.joinable())
        camera.join();
    const int reported = Report(printer, result, before, after);
    ClosePrinter(printer);
    if (reported != 0)
        return reported;
    if (!ShowWatermarkPreview(screenshots))
        return 1;

    if (!screenshots.empty())
    {
        if (pictures.empty())
        {
            std::fprintf(stderr, "No Printing Preferences sheet appeared (DocumentPropertiesW returned %ld)\n", result);
            return 1;
        }
        AddOptionPageScreenshot(screenshots, before.data(), &pictures, &faulty);
        std::printf("\nPrinting Preferences: %zu picture(s) of its tabs, dialogs and the option page saved in %ls:\n",
                    pictures.size(), screenshots.c_str());
        for (const std::wstring& file : pictures)
            std::printf("  %ls\n", file.c_str());
        std::printf("The pictures were taken and the sheet closed with Cancel by this program.\n");
        if (faulty)
        {
            std::fprintf(stderr, "A picture of a tab is missing or shows no tab strip (see above)\n");
            return 1;
        }
    }
    return 0;
}
