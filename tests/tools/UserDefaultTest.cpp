// What a person confirms in Printing Preferences, stored as the main job stores
// it, opens the next sheet, also after the next run's install; Cancel does not.
#include "ImportPatch.h"
#include "PrinterTest.h"
#include "SheetSession.h"
#include "UserDefault.h"

#include "resource.h"

#include <cstring>
#include <tuple>
#include <utility>

using namespace testhost;

namespace
{
// A spooler that refuses level 9, as some do (Wine 8's takes it).
decltype(&SetPrinterW) g_setPrinter;
decltype(&GetPrinterW) g_getPrinter;
BOOL WINAPI SetRefusingLevel9(HANDLE printer, DWORD level, BYTE* info, DWORD command)
{
    SetLastError(ERROR_INVALID_LEVEL);
    return level != 9 && g_setPrinter(printer, level, info, command);
}
BOOL WINAPI GetRefusingLevel9(HANDLE printer, DWORD level, BYTE* info, DWORD size, DWORD* needed)
{
    SetLastError(ERROR_INVALID_LEVEL);
    return level != 9 && g_getPrinter(printer, level, info, size, needed);
}

class UserDefaultTest : public PrinterTest
{
  protected:
    // The record the main job opens the sheet with: the stored default.
    TARVIK_DEVMODE Stored(DWORD* level = nullptr)
    {
        const StoredDefault stored = LoadUserDefault(m_printer);
        TARVIK_DEVMODE record = DefaultRecord();
        EXPECT_EQ(sizeof(record), stored.record.size());
        if (stored.record.size() == sizeof(record))
            std::memcpy(&record, stored.record.data(), sizeof(record));
        if (level)
            *level = stored.level;
        return record;
    }

    // On the stored default: reads the author shown, types `author`, closes with `button`.
    SheetOutcome TypeAuthor(const std::wstring& author, int button, std::wstring* shown, TARVIK_DEVMODE* out)
    {
        const TARVIK_DEVMODE in = Stored();
        LONG answer = 0;
        *out = RunSheet(
            m_printer, in, IDS_TITLE_DOCINFO,
            [&](const Sheet& s) {
                *shown = Text(s.page, IDC_DOCINFO_AUTHOR);
                Type(s.page, IDC_DOCINFO_AUTHOR, author);
            },
            button, &answer);
        return JudgeSheet(answer, std::memcmp(&in, out, sizeof(in)) != 0);
    }
};

TEST_F(UserDefaultTest, ConfirmedChoiceOpensTheNextRunCancelledIsNotKeptResetDropsIt)
{
    std::wstring shown;
    TARVIK_DEVMODE out;
    ASSERT_EQ(SheetOutcome::Changed, TypeAuthor(L"Kept author", PSBTN_OK, &shown, &out));
    DWORD level = 0;
    ASSERT_EQ(0u, StoreUserDefault(m_printer, *reinterpret_cast<const DEVMODEW*>(&out), &level));
    EXPECT_EQ(9u, level); // Wine's spooler takes level 9

    // The next run installs the driver again, keeping the printer.
    std::wstring step;
    ASSERT_EQ(0u, InstallTarvikPrinter(&step, true)) << Utf8(step);
    // Wine answers 1 for Cancel as for OK: the unchanged record tells.
    const SheetOutcome cancelled = TypeAuthor(L"Dropped author", PSBTN_CANCEL, &shown, &out);
    EXPECT_TRUE(cancelled == SheetOutcome::Unchanged || cancelled == SheetOutcome::Cancelled);
    EXPECT_EQ(L"Kept author", shown);

    // A fresh install (--reset) brings back the driver's empty author.
    ClosePrinter(std::exchange(m_printer, nullptr));
    ASSERT_EQ(0u, InstallTarvikPrinter(&step)) << Utf8(step);
    m_printer = OpenTarvikPrinter();
    EXPECT_STREQ(L"", Stored().szAuthor);
}

template <typename Function>
Function Patch(const char* name, Function to)
{
    return reinterpret_cast<Function>(
        PatchImport(GetModuleHandleW(nullptr), "winspool.drv", name, reinterpret_cast<void*>(to)));
}

TEST_F(UserDefaultTest, WithoutLevel9ThePrintersDefaultTakesTheRecord)
{
    g_setPrinter = Patch("SetPrinterW", &SetRefusingLevel9);
    g_getPrinter = Patch("GetPrinterW", &GetRefusingLevel9);
    ASSERT_TRUE(g_setPrinter && g_getPrinter);
    TARVIK_DEVMODE record = DefaultRecord();
    lstrcpyW(record.szAuthor, L"Everyone's author");
    DWORD level = 0;
    const DWORD rc = StoreUserDefault(m_printer, *reinterpret_cast<const DEVMODEW*>(&record), &level);
    DWORD loaded = 0;
    const TARVIK_DEVMODE stored = Stored(&loaded);
    Patch("SetPrinterW", g_setPrinter), Patch("GetPrinterW", g_getPrinter);
    EXPECT_EQ((std::tuple{0u, 2u, 2u}), (std::tuple{rc, level, loaded})) << "stored, level stored, level loaded";
    EXPECT_STREQ(L"Everyone's author", stored.szAuthor);
}
} // namespace
