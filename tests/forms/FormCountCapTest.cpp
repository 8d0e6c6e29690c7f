// The hwp.exe form-count cap, measured in real child processes: a probe copied
// under several names prints the catalogue's count and whether the paper
// answers are the catalogue's.
#include "FormFixture.h"
#include "ProbeRun.h"
#include "ReportLines.h"

#include "CFormManager.h"

#include <string>
#include <tuple>

namespace
{
using FormCountCap = formtest::PrinterFormsTest;

TEST_F(FormCountCap, OnlyAnHwpHostIsCappedAndOnlyFrom256Forms)
{
    // The forms there are, the probe's name, the forms it sees.
    const std::tuple<size_t, const wchar_t*, unsigned> rows[] = {
        {255, L"hwp.exe", 255}, {256, L"hwp.exe", 255},   {256, L"probe.exe", 256},
        {300, L"HWP.EXE", 255}, {300, L"myhwp.exe", 300},
    };
    CFormManager writer;
    size_t total = s_spoolerForms.size();
    for (const auto& [forms, name, count] : rows)
    {
        for (; total < forms; ++total)
            ASSERT_EQ(0u, writer.AddForm((L"Tarvik " + std::to_wstring(total)).c_str(), 100, 100));
        std::string output;
        EXPECT_EQ(0u, testhost::RunProbeAs(name, L"papers", &output));
        EXPECT_EQ(std::to_string(count) + " 1\r\n", output) << testhost::Utf8(name) << ", " << forms;
    }
}
} // namespace
