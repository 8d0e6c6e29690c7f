// The printer "Tarvik" installed once per suite, with an open handle per test.
#pragma once

#include "PrinterInstaller.h"
#include "ReportLines.h"

#include <gtest/gtest.h>

#include <winspool.h>

namespace testhost
{
class PrinterTest : public testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        std::wstring step;
        ASSERT_EQ(0u, InstallTarvikPrinter(&step)) << "installing the printer failed at " << Utf8(step);
    }
    void SetUp() override
    {
        m_printer = OpenTarvikPrinter();
        ASSERT_NE(nullptr, m_printer) << GetLastError();
    }
    void TearDown() override
    {
        if (m_printer)
            ClosePrinter(m_printer);
    }

    HANDLE m_printer = nullptr;
};
} // namespace testhost
