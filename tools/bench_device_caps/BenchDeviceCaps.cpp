// Times DrvDeviceCapabilities(DC_PAPERNAMES) with a buffer against the floor
// of the platform work every paper answer has to do: the two EnumFormsW
// calls and one enumeration of the custom-forms key. Runs with 0, 20 and 500
// custom forms in one process and prints the ratio for each; DC_PAPERSIZE,
// which also maps every paper to the first form of its name, is timed too.
//
// Usage: bench_device_caps [rounds]   (default 31)
// The printer "Tarvik" is installed into the prefix first; the custom forms
// the run creates are removed at its end.
#include "BenchClock.h"
#include "BenchForms.h"
#include "PrinterInstaller.h"

#include "forms/CFormManager.h"
#include "entry/DriverInterface.h"

#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
// The platform's share of one paper answer, with the buffers the catalogue
// uses: the spooler's forms (size query, then the data) and every value of
// the custom-forms key.
DWORD PlatformFloor(HANDLE printer)
{
    DWORD needed = 0;
    DWORD returned = 0;
    EnumFormsW(printer, 1, nullptr, 0, &needed, &returned);
    std::vector<BYTE> forms(needed);
    EnumFormsW(printer, 1, forms.data(), needed, &needed, &returned);

    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, TARVIK_FORMS_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return returned;
    std::vector<BYTE> data(8192);
    for (DWORD index = 0;; ++index)
    {
        wchar_t name[65];
        DWORD nameLength = 65;
        DWORD type = 0;
        DWORD size = 8192;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        ++returned;
    }
    RegCloseKey(key);
    return returned;
}

// Seconds per call of `work` over one batch of `batch` calls.
template <typename Work>
double SecondsPerCall(int batch, Work work)
{
    const double start = Now();
    for (int i = 0; i < batch; ++i)
        work();
    return (Now() - start) / batch;
}
} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 31;

    std::wstring step;
    if (const DWORD rc = testhost::InstallTarvikPrinter(&step))
    {
        printf("installing the printer failed at %ls: %lu\n", step.c_str(), rc);
        return 1;
    }
    HANDLE printer = testhost::OpenTarvikPrinter();
    if (!printer)
    {
        printf("opening the printer failed: %lu\n", GetLastError());
        return 1;
    }

    // Custom forms that were there before the run stay and count as well.
    const DWORD others =
        PlatformFloor(printer) + 1 - DrvDeviceCapabilities(printer, nullptr, DC_PAPERS, nullptr, nullptr);
    if (others)
        printf("note: %lu custom forms of the prefix are not the benchmark's own\n", others);

    printf("%-8s %6s %12s %14s %7s %14s %7s\n", "custom", "papers", "floor us", "PAPERNAMES us", "ratio",
           "PAPERSIZE us", "ratio");
    int worst = 0;
    for (unsigned custom : {0u, 20u, 500u})
    {
        SetBenchForms(custom);
        const DWORD papers = DrvDeviceCapabilities(printer, nullptr, DC_PAPERNAMES, nullptr, nullptr);
        std::vector<wchar_t> names(static_cast<size_t>(papers) * 64);
        std::vector<POINT> sizes(papers);

        // Batches of about 20 ms, decided from one warm call of the floor.
        PlatformFloor(printer);
        const double start = Now();
        PlatformFloor(printer);
        const double once = std::max(Now() - start, 1e-6);
        const int batch = std::max(1, static_cast<int>(0.02 / once));

        // The machine is shared and its speed drifts: each round times the
        // three side by side, in alternating order, and the ratios are taken
        // within a round before the median over rounds.
        std::vector<double> floorRuns, nameRuns, sizeRuns, nameRatios, sizeRatios;
        for (int r = 0; r < rounds; ++r)
        {
            double times[3];
            for (int k = 0; k < 3; ++k)
            {
                const int which = (r % 2) ? 2 - k : k;
                if (which == 0)
                    times[0] = SecondsPerCall(batch, [&] { PlatformFloor(printer); });
                else
                    times[which] = SecondsPerCall(batch, [&] {
                        DrvDeviceCapabilities(printer, nullptr, which == 1 ? DC_PAPERNAMES : DC_PAPERSIZE,
                                              which == 1 ? static_cast<void*>(names.data()) : sizes.data(), nullptr);
                    });
            }
            floorRuns.push_back(times[0]);
            nameRuns.push_back(times[1]);
            sizeRuns.push_back(times[2]);
            nameRatios.push_back(times[1] / times[0]);
            sizeRatios.push_back(times[2] / times[0]);
        }
        const double ratio = Median(nameRatios);
        printf("%-8u %6lu %12.1f %14.1f %7.3f %14.1f %7.3f\n", custom, papers, Median(floorRuns) * 1e6,
               Median(nameRuns) * 1e6, ratio, Median(sizeRuns) * 1e6, Median(sizeRatios));
        if (ratio > 1.25)
            worst = 1;
    }
    SetBenchForms(0);
    ClosePrinter(printer);
    printf("target: PAPERNAMES within 1.25 x the floor at every size: %s\n", worst ? "missed" : "met");
    return 0;
}
