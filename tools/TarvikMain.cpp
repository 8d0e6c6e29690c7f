// The main job: installs the built driver into the private Wine prefix as the
// printer "Tarvik" and prints, field by field, the settings record that the
// module gives for that printer through the real spooler.
#include "PrinterInstaller.h"
#include "RecordFields.h"

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <vector>

namespace
{
int PrintRecord(const unsigned char* record)
{
    std::printf("%-24s %6s  %s\n", "field", "offset", "value");
    for (const testhost::RecordField& field : testhost::RecordFields())
        std::printf("%-24s %6u  %s\n", field.name, field.offset, testhost::FieldValue(field, record).c_str());
    return 0;
}
} // namespace

int wmain()
{
    std::wstring step;
    const DWORD rc = testhost::InstallTarvikPrinter(&step);
    if (rc != 0)
    {
        std::fprintf(stderr, "Installing the printer failed at %ls: error %lu\n", step.c_str(), rc);
        return 1;
    }
    HANDLE printer = testhost::OpenTarvikPrinter(PRINTER_ACCESS_USE);
    if (!printer)
    {
        std::fprintf(stderr, "OpenPrinterW(\"Tarvik\") failed: error %lu\n", GetLastError());
        return 1;
    }
    wchar_t name[] = L"Tarvik";
    const LONG size = DocumentPropertiesW(nullptr, printer, name, nullptr, nullptr, 0);
    if (size <= 0)
    {
        std::fprintf(stderr, "DocumentPropertiesW (size) failed: %ld, error %lu\n", size, GetLastError());
        ClosePrinter(printer);
        return 1;
    }
    std::vector<unsigned char> record(static_cast<size_t>(size));
    const LONG result =
        DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(record.data()), nullptr, DM_OUT_BUFFER);
    ClosePrinter(printer);
    if (result != IDOK)
    {
        std::fprintf(stderr, "DocumentPropertiesW (DM_OUT_BUFFER) failed: %ld, error %lu\n", result, GetLastError());
        return 1;
    }
    std::printf("Settings record of the printer \"Tarvik\" (%ld bytes)\n", size);
    return PrintRecord(record.data());
}
