// The process gate, measured in real processes: the probe program is copied
// under the names of the shell and the spooler and run, and tells by its exit
// code what the gate decided.
#include "ProbeRun.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
TEST(ProcessGate, ExactNamesOfShellAndSpoolerOnly)
{
    struct Row
    {
        const wchar_t* folder;
        const wchar_t* name;
        DWORD flag;
    };
    // Each name in its own folder: Wine's file names ignore letter case.
    const Row rows[] = {
        {L"ga", L"explorer.exe", 1}, {L"gb", L"spoolsv.exe", 1},   {L"gc", L"Explorer.exe", 0},
        {L"gd", L"SPOOLSV.EXE", 0},  {L"ge", L"explorer2.exe", 0}, {L"gf", L"gate_probe.exe", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.flag, testhost::RunCopyAs(L"gate_probe.exe", row.folder, row.name))
            << std::string(row.name, row.name + lstrlenW(row.name));
}
} // namespace
