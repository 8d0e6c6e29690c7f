// Run by the font page test under the shell's name and others: confirms the
// font page on a record whose excluded list is ";Gate Probe Font;;" and exits
// with 0 when the caller's record came back with ";Gate Probe Font;". The
// test reads the registry itself.
#include "PreferencesSheet.h"
#include "PrinterInstaller.h"

#include "resource.h"

#include <winspool.h>

#include <cstdio>

int main()
{
    HANDLE printer = testhost::OpenTarvikPrinter(PRINTER_ACCESS_USE);
    wchar_t name[] = L"Tarvik";
    TARVIK_DEVMODE in = {}, out = {};
    if (!printer || DocumentPropertiesW(nullptr, printer, name, (DEVMODEW*)&in, nullptr, DM_OUT_BUFFER) != IDOK)
        return std::printf("no printer record: error %lu\n", GetLastError()), 1;
    in.dwFontMode = 2;
    lstrcpyW(in.szExcludeFonts, L";Gate Probe Font;;");
    HWND fontPage = nullptr;
    testhost::EditInSheet(printer, in, &out, IDS_TITLE_FONT, [&](HWND, HWND page) { fontPage = page; });
    ClosePrinter(printer);
    if (!fontPage || lstrcmpW(out.szExcludeFonts, L";Gate Probe Font;") != 0)
        return std::printf("font page %p, list \"%ls\"\n", (void*)fontPage, out.szExcludeFonts), 2;
    return 0;
}
