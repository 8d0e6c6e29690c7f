// What a person confirms in Printing Preferences is stored as the main job
// stores it and opens the next sheet, also after the main job's next
// install; what they cancel is not taken for confirmed.
#include "PrinterTest.h"
#include "SheetSession.h"
#include "UserDefault.h"

#include "resource.h"

#include <cstring>

using namespace testhost;

namespace
{
class UserDefaultTest : public PrinterTest
{
  protected:
    // The record the main job opens the sheet with: the stored default.
    TARVIK_DEVMODE Stored()
    {
        const StoredDefault stored = LoadUserDefault(m_printer);
        TARVIK_DEVMODE record = DefaultRecord();
        EXPECT_EQ(sizeof(record), stored.record.size());
        if (stored.record.size() == sizeof(record))
            std::memcpy(&record, stored.record.data(), sizeof(record));
        return record;
    }

    // Opens the document tab on the stored default, reads the author shown,
    // types `author` and closes the sheet with `button`.
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

TEST(SheetOutcome, OnlyTheAnswerNamesCancel)
{
    EXPECT_EQ(SheetOutcome::Cancelled, JudgeSheet(IDCANCEL, true)); // Windows: Apply, then Cancel
    EXPECT_EQ(SheetOutcome::Changed, JudgeSheet(IDOK, true));
    EXPECT_EQ(SheetOutcome::Unchanged, JudgeSheet(IDOK, false));
    EXPECT_EQ(SheetOutcome::Failed, JudgeSheet(-1, true));
}

TEST_F(UserDefaultTest, ConfirmedChoiceOpensTheNextRunCancelledIsNotKeptResetDropsIt)
{
    std::wstring shown;
    TARVIK_DEVMODE out;
    ASSERT_EQ(SheetOutcome::Changed, TypeAuthor(L"Kept author", PSBTN_OK, &shown, &out));
    EXPECT_STREQ(L"Kept author", out.szAuthor);
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
    ClosePrinter(m_printer);
    m_printer = nullptr;
    ASSERT_EQ(0u, InstallTarvikPrinter(&step)) << Utf8(step);
    m_printer = OpenTarvikPrinter();
    ASSERT_NE(nullptr, m_printer);
    EXPECT_STREQ(L"", Stored().szAuthor);
}
} // namespace
