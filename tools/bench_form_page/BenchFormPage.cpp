// Times opening Printing Preferences (DocumentPropertiesW with a prompt) until
// its first page has drawn: the sheet as the module builds it, paper page
// first, against its floor, the same sheet whose pages have a dialog
// procedure that does nothing (a stand-in for the host's
// CreatePropertySheetPageW import swaps the procedure), so that the platform
// alone creates the same templates and their controls; with 0 and 500
// custom forms.
// "Drawn" is the last message the thread handled before it fell idle; a
// timer, whose messages come only when nothing else is left, closes the sheet.
//
// Usage: bench_form_page [rounds]   (default 21). See docs/performance.md.
#include "BenchClock.h"
#include "BenchForms.h"
#include "ImportPatch.h"
#include "PrinterInstaller.h"
#include "WindowDriver.h"

#include "forms/CFormManager.h"
#include "record/SettingsRecord.h"

#include <commctrl.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
using CreatePage = HPROPSHEETPAGE(WINAPI*)(LPCPROPSHEETPAGEW);
CreatePage g_createPage = nullptr;
bool g_floor = false;
double g_lastActivity = 0;
bool g_closing = false;

constexpr UINT kIdleMs = 400; // long after the sheet fell idle

INT_PTR CALLBACK NothingProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

HPROPSHEETPAGE WINAPI CreatePageStandIn(LPCPROPSHEETPAGEW page)
{
    if (!g_floor)
        return g_createPage(page);
    // The host copies the description: a changed copy of ours will do.
    PROPSHEETPAGEW floor = {};
    std::memcpy(&floor, page, std::min<size_t>(page->dwSize, sizeof(floor)));
    floor.pfnDlgProc = NothingProc;
    return g_createPage(&floor);
}

LRESULT CALLBACK Retrieved(int code, WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<const MSG*>(lParam)->message == WM_TIMER)
        g_closing = true;
    if (!g_closing)
        g_lastActivity = Now();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam)
{
    if (!g_closing)
        g_lastActivity = Now();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

VOID CALLBACK Close(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    PostMessageW(testhost::WaitForSheet(0), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

// Seconds from the call until the first page has drawn.
double OpenPreferences(HANDLE printer, bool floor)
{
    TARVIK_DEVMODE in, out;
    SetDefaultRecord(L"Tarvik", &in);
    g_floor = floor;
    g_closing = false;
    HHOOK retrieved = SetWindowsHookExW(WH_GETMESSAGE, Retrieved, nullptr, GetCurrentThreadId());
    HHOOK sent = SetWindowsHookExW(WH_CALLWNDPROC, Sent, nullptr, GetCurrentThreadId());
    SetTimer(nullptr, 0, kIdleMs, Close);
    wchar_t name[] = L"Tarvik";
    const double start = g_lastActivity = Now();
    DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(&out), reinterpret_cast<DEVMODEW*>(&in),
                        DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
    UnhookWindowsHookEx(retrieved);
    UnhookWindowsHookEx(sent);
    return g_lastActivity - start;
}
} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 21;
    std::wstring step;
    if (const DWORD rc = testhost::InstallTarvikPrinter(&step))
    {
        printf("installing the printer failed at %ls: %lu\n", step.c_str(), rc);
        return 1;
    }
    HANDLE printer = testhost::OpenTarvikPrinter();
    g_createPage = reinterpret_cast<CreatePage>(testhost::PatchImport(LoadLibraryW(L"compstui.dll"), "comctl32.dll",
                                                                      "CreatePropertySheetPageW",
                                                                      reinterpret_cast<void*>(CreatePageStandIn)));
    if (!printer || !g_createPage)
    {
        printf("no printer, or the host does not make its pages with CreatePropertySheetPageW\n");
        return 1;
    }

    printf("%-8s %12s %12s %7s\n", "custom", "floor ms", "ours ms", "ratio");
    bool met = true;
    for (unsigned custom : {0u, 500u})
    {
        SetBenchForms(custom);
        OpenPreferences(printer, false); // warm: the module, the fonts, the spooler's forms
        // Side by side in alternating order; the ratio is taken within a round.
        std::vector<double> floor, ours, ratios;
        for (int r = 0; r < rounds; ++r)
        {
            const bool floorFirst = r % 2 == 0;
            const double a = OpenPreferences(printer, floorFirst);
            const double b = OpenPreferences(printer, !floorFirst);
            floor.push_back(floorFirst ? a : b);
            ours.push_back(floorFirst ? b : a);
            ratios.push_back(ours.back() / floor.back());
        }
        const double ratio = Median(ratios);
        printf("%-8u %12.2f %12.2f %7.3f\n", custom, Median(floor) * 1e3, Median(ours) * 1e3, ratio);
        met = met && ratio <= 1.2;
    }
    SetBenchForms(0);
    ClosePrinter(printer);
    printf("target: the sheet within 1.2 x its floor: %s\n", met ? "met" : "missed");
    return 0;
}
