// Times choosing a preset in Printing Preferences with every page created:
// the paper page asks every page what it shows, shows the preset on each and
// finds the matching list entry again. A second thread picks the presets in
// turn, as a person's selection in the list does (CB_SETCURSEL, then
// CBN_SELCHANGE, sent); the time is from the send until the sheet's thread
// has handled it.
//
// Usage: bench_presets [rounds]   (default 101). See docs/performance.md.
#include "BenchClock.h"
#include "PrinterInstaller.h"
#include "WindowDriver.h"

#include "presets/BuiltinPresets.h"
#include "record/SettingsRecord.h"
#include "resource.h"

#include <commctrl.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 101;
    std::wstring step;
    if (const DWORD rc = testhost::InstallTarvikPrinter(&step))
    {
        printf("installing the printer failed at %ls: %lu\n", step.c_str(), rc);
        return 1;
    }
    HANDLE printer = testhost::OpenTarvikPrinter();
    if (!printer)
    {
        printf("no printer\n");
        return 1;
    }
    // Without encryption no preset asks before it is chosen.
    TARVIK_DEVMODE in, out;
    SetDefaultRecord(TARVIK_PRODUCT_NAME, &in);

    std::vector<double> samples[kBuiltinPresetCount];
    bool complete = false;
    testhost::UserThread user([&] {
        HWND sheet = testhost::WaitForSheet();
        if (!sheet)
            return;
        // Every tab once, which creates its page, and back to the first.
        const int tabs = TabCtrl_GetItemCount(PropSheet_GetTabControl(sheet));
        for (int tab = tabs - 1; tab >= 0; --tab)
            PropSheet_SetCurSel(sheet, nullptr, tab);
        HWND paper = PropSheet_GetCurrentPageHwnd(sheet);
        complete = paper && GetDlgItem(paper, IDC_PRESET);
        for (int r = 0; complete && r <= rounds; ++r)
        {
            for (size_t preset = 0; preset < kBuiltinPresetCount; ++preset)
            {
                const double start = Now();
                testhost::Pick(paper, IDC_PRESET, static_cast<int>(preset));
                if (r > 0) // the first round warms up
                    samples[preset].push_back(Now() - start);
            }
        }
        PropSheet_PressButton(sheet, PSBTN_CANCEL);
    });
    wchar_t name[] = TARVIK_PRODUCT_NAME;
    DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(&out), reinterpret_cast<DEVMODEW*>(&in),
                        DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
    user.Join();
    ClosePrinter(printer);
    if (!complete)
    {
        printf("the sheet or its settings row did not come\n");
        return 1;
    }

    const char* const names[kBuiltinPresetCount] = {"Standard", "High quality print", "Smallest file", "PDF/A archive"};
    printf("%-20s %10s %10s\n", "preset", "median ms", "max ms");
    double worst = 0;
    for (size_t preset = 0; preset < kBuiltinPresetCount; ++preset)
    {
        const double median = Median(samples[preset]);
        const double most = *std::max_element(samples[preset].begin(), samples[preset].end());
        printf("%-20s %10.3f %10.3f\n", names[preset], median * 1e3, most * 1e3);
        worst = std::max(worst, median);
    }
    printf("target: a choice within a few milliseconds (5 ms median): %s\n", worst <= 0.005 ? "met" : "missed");
    return 0;
}
