// The resource module is loaded from the folder of tarvikui.dll only.
#include "DebugCapture.h"
#include "PrinterInstaller.h"
#include "WindowDriver.h"

#include "entry/DriverInterface.h"
#include "record/SettingsRecord.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace
{
using SheetsFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);

SheetsFn Entry(HMODULE module, const char* name)
{
    return reinterpret_cast<SheetsFn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A copy of the module alone in a folder, while a stray tarvikres7.dll waits
// in the current directory: both sheet entries tell the user and fail (even
// the size query, which needs no window), and the stray copy is never loaded.
TEST(MissingResourceModule, BothSheetEntriesTellTheUserAndFail)
{
    const std::wstring bin = testhost::BinDirectory(), alone = bin + L"\\resmissing", stray = bin + L"\\resstray";
    CreateDirectoryW(alone.c_str(), nullptr);
    CreateDirectoryW(stray.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((bin + L"\\tarvikui.dll").c_str(), (alone + L"\\tarvikui.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((bin + L"\\tarvikres7.dll").c_str(), (stray + L"\\tarvikres7.dll").c_str(), FALSE));
    DeleteFileW((alone + L"\\tarvikres7.dll").c_str());
    ASSERT_TRUE(SetCurrentDirectoryW(stray.c_str()));
    const HMODULE module = LoadLibraryW((alone + L"\\tarvikui.dll").c_str());
    ASSERT_NE(nullptr, module) << GetLastError();
    DOCUMENTPROPERTYHEADER header = {};
    header.cbSize = sizeof(header);
    PROPSHEETUI_INFO info = {sizeof(info), 0, 0, PROPSHEETUI_REASON_INIT, nullptr, nullptr, 0, 0, 0};
    for (const auto& [entry, pInfo] : {std::pair{"DrvDocumentPropertySheets", static_cast<PROPSHEETUI_INFO*>(nullptr)},
                                       std::pair{"DrvDevicePropertySheets", &info}})
    {
        SCOPED_TRACE(entry);
        const SheetsFn sheets = Entry(module, entry);
        ASSERT_NE(nullptr, sheets);
        testhost::DebugCapture capture;
        LONG result = -1;
        EXPECT_EQ(std::vector<std::wstring>{L"ERROR: Can not load resource dll. Please reinstall program"},
                  testhost::CallAnsweringMessageBoxes(
                      IDOK, [&] { result = sheets(pInfo, reinterpret_cast<LPARAM>(&header)); }));
        EXPECT_EQ(0, result);
        ASSERT_FALSE(capture.Lines().empty());
        EXPECT_EQ(L"Can not load resource dll. error = " + std::to_wstring(ERROR_MOD_NOT_FOUND), capture.Lines()[0]);
    }
    EXPECT_EQ(nullptr, GetModuleHandleW(L"tarvikres7.dll"));
}

// The first no-UI requests of a process arrive on several spooler threads at
// once: the resource module is loaded exactly once, so unloading the driver releases it.
TEST(ResourceModule, ConcurrentFirstCallsLoadItOnce)
{
    ASSERT_EQ(nullptr, GetModuleHandleW(L"tarvikres7.dll"));
    HMODULE module = LoadLibraryW((testhost::BinDirectory() + L"\\tarvikui.dll").c_str());
    ASSERT_NE(nullptr, module);
    const SheetsFn sheets = Entry(module, "DrvDocumentPropertySheets");
    ASSERT_NE(nullptr, sheets);
    constexpr int kThreads = 8;
    HANDLE start = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> sizes(0);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&] {
            WaitForSingleObject(start, INFINITE);
            DOCUMENTPROPERTYHEADER header = {};
            header.cbSize = sizeof(header);
            if (sheets(nullptr, reinterpret_cast<LPARAM>(&header)) == LONG(kRecordSize))
                ++sizes;
        });
    SetEvent(start);
    for (std::thread& thread : threads)
        thread.join();
    CloseHandle(start);
    EXPECT_EQ(kThreads, sizes.load());
    EXPECT_NE(nullptr, GetModuleHandleW(L"tarvikres7.dll"));
    ASSERT_TRUE(FreeLibrary(module));
    EXPECT_EQ(nullptr, GetModuleHandleW(L"tarvikres7.dll"));
}
} // namespace
