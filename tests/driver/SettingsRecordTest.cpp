// The settings record: the built-in defaults byte by byte, and the printer's
// stored record read back through the real spooler and brought up to date.
#include "PrinterTest.h"
#include "RecordFields.h"

#include "SettingsRecord.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <cstring>
#include <vector>

namespace
{
using testhost::DefaultRecord;

// Every field of the built-in record, read at its offset as the renderer
// reads it (texts up to their NUL, so the signature's 38 characters are
// terminated); the fields not listed are zero or empty.
TEST(SetDefaultRecord, WritesTheBuiltInValuesAtTheirOffsets)
{
    const TARVIK_DEVMODE record = DefaultRecord();
    std::string listing;
    for (const testhost::RecordField& field : testhost::RecordFields())
    {
        const std::string value = testhost::FieldValue(field, reinterpret_cast<const unsigned char*>(&record));
        if (value != "0" && value != "0x0000" && value != "0x00000000" && value != "\"\"")
            listing += std::string(field.name) + "=" + value + " ";
    }
    EXPECT_EQ("dmDeviceName=\"Tarvik\" dmSpecVersion=0x0401 dmDriverVersion=0x0700 dmSize=220 dmDriverExtra=6092 "
              "dmFields=0x0001BF1F dmOrientation=1 dmPaperSize=9 dmPaperLength=2970 dmPaperWidth=2100 dmScale=100 "
              "dmCopies=1 dmPrintQuality=300 dmColor=2 dmDuplex=1 dmYResolution=300 dmFormName=\"A4\" "
              "szSignature=\"{9B63F701-A616-4994-A99A-EB38719733A1}\" bAutoSaveOption=1 dwFontMode=1 dwFontOption=2 "
              "dwResolution=300 dwEncrypt=1 dwPermissions=0xFFFFF0C0 dwCompression1=2 dwQuality1=4 dwCompression2=1 "
              "dwQuality2=3 dwCompression3=1 dwQuality3=3 nResolution1=72 dwDownsampleMethod1=3 nResolution2=72 "
              "dwDownsampleMethod2=3 nResolution3=72 dwDownsampleMethod3=3 dwOptionFlags=0x77C00000 ",
              listing);
}

// Two defaults are byte for byte alike whatever the buffers held; the
// printer's name goes into the device name, cut to its 31 characters.
TEST(SetDefaultRecord, ByteIdenticalWithThePrintersNameCut)
{
    EXPECT_STREQ(L"A printer name that is longer t",
                 DefaultRecord(L"A printer name that is longer than the device name field").dmDeviceName);
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
class StoredRecord : public testhost::PrinterTest
{
  protected:
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
};

TEST_F(StoredRecord, AddPrinterStoresTheBuiltInRecord)
{
    // AddPrinterW asked the driver for its default record; it comes back whole.
    const std::vector<BYTE> loaded = Load();
    const TARVIK_DEVMODE expected = DefaultRecord();
    EXPECT_EQ("", testhost::RecordDifferences(&expected, loaded.data()));
}

// A record stored without paper size or form name is brought up to date:
// a missing form name brings A4 and its size, a missing paper size A4's
// number; everything else stays as stored.
TEST_F(StoredRecord, OlderRecordsAreBroughtUpToDate)
{
    for (DWORD missing : {DWORD(DM_PAPERSIZE | DM_FORMNAME), DWORD(DM_PAPERSIZE)})
    {
        SCOPED_TRACE(missing);
        TARVIK_DEVMODE stored = DefaultRecord();
        stored.dmFields &= ~missing;
        stored.dmPaperSize = DMPAPER_LETTER;
        lstrcpyW(stored.dmFormName, L"Letter");
        stored.dmPaperWidth = 2159;
        stored.dmPaperLength = 2794;
        lstrcpyW(stored.szTitle, L"Kept as stored");
        Store(std::vector<BYTE>(reinterpret_cast<BYTE*>(&stored), reinterpret_cast<BYTE*>(&stored) + kRecordSize));

        TARVIK_DEVMODE expected = stored;
        expected.dmFields |= missing;
        expected.dmPaperSize = DMPAPER_A4;
        if (missing & DM_FORMNAME)
        {
            lstrcpyW(expected.dmFormName, L"A4"); // the rest of "Letter" stays behind the NUL
            expected.dmPaperLength = 2970;
            expected.dmPaperWidth = 2100;
        }
        EXPECT_EQ("", testhost::RecordDifferences(&expected, Load().data()));
    }
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
