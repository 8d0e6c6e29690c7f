// The settings record: the built-in defaults byte by byte, and the printer's
// stored record read back through the real spooler and brought up to date.
#include "PrinterInstaller.h"
#include "RecordFields.h"

#include "SettingsRecord.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <cstring>
#include <vector>

namespace
{
using testhost::DefaultRecord;
template <typename T>
T At(const TARVIK_DEVMODE& record, unsigned offset)
{
    T value;
    std::memcpy(&value, reinterpret_cast<const BYTE*>(&record) + offset, sizeof(T));
    return value;
}

TEST(SetDefaultRecord, WritesTheBuiltInValuesAtTheirOffsets)
{
    const TARVIK_DEVMODE record = DefaultRecord();
    struct Row
    {
        unsigned offset;
        unsigned size;
        DWORD value;
    };
    // Offset, width and value, read from the raw bytes as the renderer does.
    const Row rows[] = {
        {64, 2, 0x0401},
        {66, 2, 0x0700},
        {68, 2, 220},
        {70, 2, 6092},
        {72, 4, 0x0001BF1F},
        {76, 2, 1},
        {78, 2, 9},
        {80, 2, 2970},
        {82, 2, 2100},
        {84, 2, 100},
        {86, 2, 1},
        {88, 2, 0},
        {90, 2, 300},
        {92, 2, 2},
        {94, 2, 1},
        {96, 2, 300},
        {98, 2, 0},
        {100, 2, 0},
        {300, 4, 0},
        {304, 4, 0},
        {308, 4, 0},
        {312, 4, 0},
        {316, 4, 0},
        {1380, 4, 1},
        {1384, 4, 1},
        {1388, 4, 2},
        {5488, 4, 300},
        {5492, 4, 0},
        {6136, 4, 1},
        {6140, 4, 0},
        {6144, 4, 0xFFFFF0C0},
        {6148, 4, 0},
        {6152, 4, 0},
        {6224, 4, 2},
        {6228, 4, 4},
        {6232, 4, 1},
        {6236, 4, 3},
        {6240, 4, 1},
        {6244, 4, 3},
        {6248, 4, 0},
        {6252, 4, 0},
        {6256, 4, 0},
        {6260, 4, 72},
        {6264, 4, 3},
        {6268, 4, 72},
        {6272, 4, 3},
        {6276, 4, 72},
        {6280, 4, 3},
        {6300, 4, 0x77C00000},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "offset " << row.offset);
        const DWORD value = row.size == 2 ? At<WORD>(record, row.offset) : At<DWORD>(record, row.offset);
        EXPECT_EQ(row.value, value);
    }
    EXPECT_STREQ(L"Tarvik", record.dmDeviceName);
    EXPECT_STREQ(L"A4", record.dmFormName);
    for (unsigned offset = 166; offset < 220; ++offset)
        EXPECT_EQ(0, reinterpret_cast<const BYTE*>(&record)[offset]) << "offset " << offset;
}

TEST(SetDefaultRecord, SignatureIsThe38CharacterText)
{
    const TARVIK_DEVMODE record = DefaultRecord();
    EXPECT_EQ(std::wstring(L"{9B63F701-A616-4994-A99A-EB38719733A1}"), std::wstring(record.szSignature, 38));
    EXPECT_EQ(L'\0', record.szSignature[38]);
    EXPECT_EQ(L'\0', At<wchar_t>(record, 220 + 38 * 2));
}

TEST(SetDefaultRecord, TwoDefaultsAreByteIdenticalWhateverTheBufferHeld)
{
    std::vector<BYTE> a(kRecordSize, 0xAA), b(kRecordSize, 0x55);
    EXPECT_EQ(0u, SetDefaultRecord(L"Tarvik", reinterpret_cast<TARVIK_DEVMODE*>(a.data())));
    EXPECT_EQ(0u, SetDefaultRecord(L"Tarvik", reinterpret_cast<TARVIK_DEVMODE*>(b.data())));
    EXPECT_EQ(a, b);
}

TEST(LoadPrinterDefaultRecord, InvalidHandleGivesTheBuiltInRecord)
{
    std::vector<BYTE> record(kRecordSize, 0xCC);
    EXPECT_EQ(0u, LoadPrinterDefaultRecord(reinterpret_cast<HANDLE>(0xDEAD),
                                           reinterpret_cast<TARVIK_DEVMODE*>(record.data())));
    const TARVIK_DEVMODE expected = DefaultRecord();
    EXPECT_EQ(0, std::memcmp(&expected, record.data(), kRecordSize));
    EXPECT_EQ(0u, LoadPrinterDefaultRecord(nullptr, reinterpret_cast<TARVIK_DEVMODE*>(record.data())));
    EXPECT_EQ(0, std::memcmp(&expected, record.data(), kRecordSize));
}

// Through the spooler: a record stored in the printer with SetPrinterW comes
// back through LoadPrinterDefaultRecord.
class StoredRecord : public testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        std::wstring step;
        const DWORD rc = testhost::InstallTarvikPrinter(&step);
        ASSERT_EQ(0u, rc) << "installing the printer failed at " << std::string(step.begin(), step.end());
    }

    void SetUp() override
    {
        m_printer = testhost::OpenTarvikPrinter();
        ASSERT_NE(nullptr, m_printer) << GetLastError();
    }

    void TearDown() override
    {
        if (m_printer)
            ClosePrinter(m_printer);
    }

    // Stores `bytes` as the printer's default record (level 2, pDevMode).
    void Store(std::vector<BYTE> bytes)
    {
        DWORD needed = 0;
        GetPrinterW(m_printer, 2, nullptr, 0, &needed);
        ASSERT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
        std::vector<BYTE> info(needed);
        ASSERT_TRUE(GetPrinterW(m_printer, 2, info.data(), needed, &needed));
        auto* printer = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
        printer->pDevMode = reinterpret_cast<DEVMODEW*>(bytes.data());
        printer->pSecurityDescriptor = nullptr;
        SetLastError(0xdeadbeef);
        ASSERT_TRUE(SetPrinterW(m_printer, 2, info.data(), 0)) << GetLastError();
    }

    std::vector<BYTE> Load()
    {
        std::vector<BYTE> record(kRecordSize, 0xCC);
        EXPECT_EQ(0u, LoadPrinterDefaultRecord(m_printer, reinterpret_cast<TARVIK_DEVMODE*>(record.data())));
        return record;
    }

    HANDLE m_printer = nullptr;
};

TEST_F(StoredRecord, AddPrinterStoresTheBuiltInRecord)
{
    // AddPrinterW asked the driver for its default record; it comes back whole.
    const std::vector<BYTE> loaded = Load();
    const TARVIK_DEVMODE expected = DefaultRecord();
    EXPECT_EQ("", testhost::RecordDifferences(&expected, loaded.data()));
}

TEST_F(StoredRecord, RecordWithoutPaperSizeAndFormNameIsBroughtUpToDate)
{
    TARVIK_DEVMODE stored = DefaultRecord();
    stored.dmFields &= ~(DM_PAPERSIZE | DM_FORMNAME);
    stored.dmPaperSize = DMPAPER_LETTER;
    lstrcpyW(stored.dmFormName, L"Letter");
    stored.dmPaperWidth = 2159;
    stored.dmPaperLength = 2794;
    stored.dwResolution = 600;
    lstrcpyW(stored.szTitle, L"Kept as stored");
    Store(std::vector<BYTE>(reinterpret_cast<BYTE*>(&stored), reinterpret_cast<BYTE*>(&stored) + kRecordSize));

    const std::vector<BYTE> loaded = Load();
    TARVIK_DEVMODE expected = stored;
    expected.dmFields |= DM_PAPERSIZE | DM_FORMNAME;
    expected.dmPaperSize = DMPAPER_A4;
    expected.dmFormName[0] = L'A';
    expected.dmFormName[1] = L'4';
    expected.dmFormName[2] = L'\0'; // the rest of "Letter" stays behind the NUL
    expected.dmPaperLength = 2970;
    expected.dmPaperWidth = 2100;
    EXPECT_EQ("", testhost::RecordDifferences(&expected, loaded.data()));
}

TEST_F(StoredRecord, RecordWithFormNameOnlyGetsOnlyThePaperSize)
{
    TARVIK_DEVMODE stored = DefaultRecord();
    stored.dmFields &= ~DM_PAPERSIZE;
    stored.dmPaperSize = 0;
    lstrcpyW(stored.dmFormName, L"Letter");
    stored.dmPaperWidth = 2159;
    stored.dmPaperLength = 2794;
    Store(std::vector<BYTE>(reinterpret_cast<BYTE*>(&stored), reinterpret_cast<BYTE*>(&stored) + kRecordSize));

    const std::vector<BYTE> loaded = Load();
    TARVIK_DEVMODE expected = stored;
    expected.dmFields |= DM_PAPERSIZE;
    expected.dmPaperSize = DMPAPER_A4;
    EXPECT_EQ("", testhost::RecordDifferences(&expected, loaded.data()));
}

TEST_F(StoredRecord, ShortOrForeignRecordGivesTheBuiltInRecord)
{
    // A record of another driver: the public part and a 100-byte private block.
    TARVIK_DEVMODE full = DefaultRecord();
    full.dmDriverExtra = 100;
    full.dmPaperSize = DMPAPER_LETTER;
    Store(std::vector<BYTE>(reinterpret_cast<BYTE*>(&full), reinterpret_cast<BYTE*>(&full) + 320));
    const TARVIK_DEVMODE expected = DefaultRecord();
    EXPECT_EQ("", testhost::RecordDifferences(&expected, Load().data()));

    // A bare public part.
    full.dmDriverExtra = 0;
    Store(std::vector<BYTE>(reinterpret_cast<BYTE*>(&full), reinterpret_cast<BYTE*>(&full) + 220));
    EXPECT_EQ("", testhost::RecordDifferences(&expected, Load().data()));
}
} // namespace
