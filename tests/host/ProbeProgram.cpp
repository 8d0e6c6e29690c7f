// Run by the tests under other executable names (explorer.exe, hwp.exe, ...),
// so that they see what the module decides in a process of that name.
//   papers  prints the catalogue's count, and 1 when the three paper
//           answers are those of the catalogue (formtest::PapersOf)
//   offered prints the forms the paper page offers, joined by ";"
//   fonts   confirms the font page on a record whose excluded list is
//           ";Gate Probe Font;;" (the test reads the registry itself) and
//           exits with 0 when the caller's record came back with
//           ";Gate Probe Font;"
#include "FormFixture.h"
#include "PrinterInstaller.h"
#include "SheetSession.h"

#include "forms/CFormManager.h"
#include "resource.h"

#include <winspool.h>

#include <cstdio>
#include <cstring>

namespace
{
int Papers(HANDLE printer)
{
    CFormManager forms;
    forms.SetPrinter(printer);
    forms.LoadAvailableForm();
    const bool same = formtest::PapersOf(forms) == formtest::AskPapers(formtest::Caps(printer, nullptr));
    std::printf("%lu %d\n", forms.GetFormCount(), same ? 1 : 0);
    return 0;
}

int Offered(HANDLE printer)
{
    std::wstring offered;
    testhost::RunSheet(
        printer, testhost::DefaultRecord(), IDS_TITLE_FORM,
        [&](const testhost::Sheet& sheet) {
            for (const std::wstring& name : testhost::Items(sheet.page, IDC_FORM_NAME))
                offered += (offered.empty() ? L"" : L";") + name;
        },
        PSBTN_CANCEL);
    std::printf("%ls\n", offered.c_str());
    return 0;
}

int Fonts(HANDLE printer)
{
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    in.dwFontMode = 2;
    lstrcpyW(in.szExcludeFonts, L";Gate Probe Font;;");
    const TARVIK_DEVMODE out = testhost::RunSheet(printer, in, IDS_TITLE_FONT, [](const testhost::Sheet&) {});
    std::printf("list \"%ls\"\n", out.szExcludeFonts);
    return lstrcmpW(out.szExcludeFonts, L";Gate Probe Font;") == 0 ? 0 : 2;
}
} // namespace

int main(int argc, char** argv)
{
    HANDLE printer = testhost::OpenTarvikPrinter(PRINTER_ACCESS_USE);
    if (!printer || argc < 2)
        return std::printf("no printer (error %lu) or no argument\n", GetLastError()), 1;
    const int result = std::strcmp(argv[1], "papers") == 0    ? Papers(printer)
                       : std::strcmp(argv[1], "offered") == 0 ? Offered(printer)
                                                              : Fonts(printer);
    ClosePrinter(printer);
    return result;
}
