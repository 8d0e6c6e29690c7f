// The settings record: the built-in defaults byte by byte, and the printer's
// stored record read back through the real spooler and brought up to date.
#include "PrinterTest.h"
#include "RecordFields.h"

#include "record/SettingsRecord.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace
{
using testhost::DefaultRecord;

// Every field not zero or empty, read at its offset as the renderer reads it
// (texts up to their NUL, so the signature's 38 characters are terminated).
TEST(SetDefaultRecord, WritesTheBuiltInValuesAtTheirOffsets)
{
    const TARVIK_DEVMODE record = DefaultRecord();
    std::string listing;
    for (const testhost::RecordField& field : testhost::RecordFields())
    {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&record) + field.offset;
        if (std::any_of(bytes, bytes + field.size, [](unsigned char b) { return b != 0; }))
            listing += std::string(field.name) + "=" + testhost::FieldValue(field, bytes - field.offset) + " ";
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

// Defaults are byte for byte alike whatever the buffers held, and so is what
// a printer handle that is invalid or null gives; the printer's name goes into
// the device name, cut to its 31 characters.
TEST(SetDefaultRecord, ByteIdenticalWithThePrintersNameCut)
{
    EXPECT_STREQ(L"A printer name that is longer t",
                 DefaultRecord(L"A printer name that is longer than the device name field").dmDeviceName);
    std::vector<BYTE> a(kRecordSize, 0xAA), b(kRecordSize, 0x55), c(kRecordSize, 0xCC), d(kRecordSize, 0x33);
    EXPECT_EQ(0u, SetDefaultRecord(L"Tarvik", reinterpret_cast<TARVIK_DEVMODE*>(a.data())));
    EXPECT_EQ(0u, SetDefaultRecord(L"Tarvik", reinterpret_cast<TARVIK_DEVMODE*>(b.data())));
    EXPECT_EQ(0u,
              LoadPrinterDefaultRecord(reinterpret_cast<HANDLE>(0xDEAD), reinterpret_cast<TARVIK_DEVMODE*>(c.data())));
    EXPECT_EQ(0u, LoadPrinterDefaultRecord(nullptr, reinterpret_cast<TARVIK_DEVMODE*>(d.data())));
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, c);
    EXPECT_EQ(a, d);
}

using StoredRecord = testhost::PrinterTest;

// Through the spooler: AddPrinterW stored the built-in record, and what is
// stored with SetPrinterW comes back through LoadPrinterDefaultRecord. An
// older record without paper size or form name is brought up to date (a
// missing form name brings A4 and its size, a missing paper size A4's number;
// all else stays); another driver's record, or a bare public part, gives the
// built-in record.
TEST_F(StoredRecord, ComesBackUpToDate)
{
    TARVIK_DEVMODE older = DefaultRecord();
    older.dmPaperSize = DMPAPER_LETTER;
    lstrcpyW(older.dmFormName, L"Letter");
    older.dmPaperWidth = 2159;
    older.dmPaperLength = 2794;
    lstrcpyW(older.szTitle, L"Kept as stored");
    TARVIK_DEVMODE noForm = older, noSize = older, foreign = DefaultRecord(), bare = DefaultRecord();
    noForm.dmFields &= ~(DM_PAPERSIZE | DM_FORMNAME);
    noSize.dmFields &= ~DM_PAPERSIZE;
    foreign.dmDriverExtra = 100; // the public part and a private block of 100 bytes
    foreign.dmPaperSize = bare.dmPaperSize = DMPAPER_LETTER;
    bare.dmDriverExtra = 0;
    TARVIK_DEVMODE noFormUpdated = older, noSizeUpdated = older;
    noSizeUpdated.dmPaperSize = noFormUpdated.dmPaperSize = DMPAPER_A4;
    lstrcpyW(noFormUpdated.dmFormName, L"A4"); // the rest of "Letter" stays behind the NUL
    noFormUpdated.dmPaperLength = 2970;
    noFormUpdated.dmPaperWidth = 2100;
    // What is stored (null: nothing, the record AddPrinterW stored), its size and what comes back.
    const std::tuple<const char*, const TARVIK_DEVMODE*, size_t, TARVIK_DEVMODE> rows[] = {
        {"as added", nullptr, 0, DefaultRecord()},
        {"without paper size and form name", &noForm, kRecordSize, noFormUpdated},
        {"without paper size", &noSize, kRecordSize, noSizeUpdated},
        {"another driver's", &foreign, 320, DefaultRecord()},
        {"a bare public part", &bare, 220, DefaultRecord()},
    };
    for (const auto& [what, stored, size, expected] : rows)
    {
        SCOPED_TRACE(what);
        if (stored)
        {
            DWORD needed = 0;
            GetPrinterW(m_printer, 2, nullptr, 0, &needed);
            std::vector<BYTE> info(needed),
                bytes(reinterpret_cast<const BYTE*>(stored), reinterpret_cast<const BYTE*>(stored) + size);
            ASSERT_TRUE(GetPrinterW(m_printer, 2, info.data(), needed, &needed)) << GetLastError();
            auto* printer = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
            printer->pDevMode = reinterpret_cast<DEVMODEW*>(bytes.data());
            printer->pSecurityDescriptor = nullptr;
            ASSERT_TRUE(SetPrinterW(m_printer, 2, info.data(), 0)) << GetLastError();
        }
        std::vector<BYTE> loaded(kRecordSize, 0xCC);
        EXPECT_EQ(0u, LoadPrinterDefaultRecord(m_printer, reinterpret_cast<TARVIK_DEVMODE*>(loaded.data())));
        EXPECT_EQ("", testhost::RecordDifferences(&expected, loaded.data()));
    }
}
} // namespace
