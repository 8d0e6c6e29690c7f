// The record requests without a user interface, made the way applications
// make them: DocumentPropertiesW through Wine's spooler, which loads the
// installed driver and calls DrvDocumentPropertySheets. Also the same entry
// point called directly, for what the spooler does not pass back (cbOut).
#include "PrinterTest.h"
#include "RecordFields.h"

#include "DriverInterface.h"
#include "SettingsRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
using testhost::DefaultRecord;
class SpoolerRecordRequest : public testhost::PrinterTest
{
  protected:
    LONG Call(DEVMODEW* out, DEVMODEW* in, DWORD mode)
    {
        wchar_t name[] = L"Tarvik";
        return DocumentPropertiesW(nullptr, m_printer, name, out, in, mode);
    }
};

TEST_F(SpoolerRecordRequest, OutputOnlyGivesThePrintersDefaultRecord)
{
    std::vector<BYTE> out(kRecordSize, 0xCC);
    EXPECT_EQ(IDOK, Call(reinterpret_cast<DEVMODEW*>(out.data()), nullptr, DM_OUT_BUFFER));
    const TARVIK_DEVMODE expected = DefaultRecord();
    EXPECT_EQ("", testhost::RecordDifferences(&expected, out.data()));
}

// The merge of an application's record: print quality into the private
// resolution, a scale of 0 made 100, a fixed paper size over the public one.
TEST_F(SpoolerRecordRequest, MergeRules)
{
    struct Row
    {
        const char* what;
        short printQuality;
        short scale;
        BOOL fixed;
        LONG fixedWidth, fixedLength;
        // expected
        DWORD resolution;
        short outScale;
        short width, length;
    };
    const Row rows[] = {
        {"quality 600", 600, 100, 0, 0, 0, 600, 100, 1000, 1500},
        {"quality 0 keeps the resolution", 0, 100, 0, 0, 0, 150, 100, 1000, 1500},
        {"negative quality keeps the resolution", DMRES_HIGH, 100, 0, 0, 0, 150, 100, 1000, 1500},
        {"scale 0 becomes 100", 300, 0, 0, 0, 0, 300, 100, 1000, 1500},
        {"scale 50 stays", 300, 50, 0, 0, 0, 300, 50, 1000, 1500},
        {"fixed size wins", 300, 100, 1, 2100, 2970, 300, 100, 2100, 2970},
        {"fixed size low 16 bits", 300, 100, 1, 0x12345, 0x10000 + 2970, 300, 100, 0x2345, 2970},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        TARVIK_DEVMODE in = DefaultRecord();
        in.dmPrintQuality = row.printQuality;
        in.dwResolution = 150;
        in.dmScale = row.scale;
        in.dmPaperWidth = 1000;
        in.dmPaperLength = 1500;
        in.bFixedPaperSize = row.fixed;
        in.dwFixedPaperWidth = row.fixedWidth;
        in.dwFixedPaperLength = row.fixedLength;
        lstrcpyW(in.szAuthor, L"Merged author");
        std::vector<BYTE> out(kRecordSize, 0xCC);
        EXPECT_EQ(IDOK, Call(reinterpret_cast<DEVMODEW*>(out.data()), reinterpret_cast<DEVMODEW*>(&in),
                             DM_IN_BUFFER | DM_OUT_BUFFER));
        const auto* merged = reinterpret_cast<const TARVIK_DEVMODE*>(out.data());
        EXPECT_EQ(row.resolution, merged->dwResolution);
        EXPECT_EQ(row.outScale, merged->dmScale);
        EXPECT_EQ(row.width, merged->dmPaperWidth);
        EXPECT_EQ(row.length, merged->dmPaperLength);
        EXPECT_STREQ(L"Merged author", merged->szAuthor);
        EXPECT_EQ(kPublicSize, merged->dmSize);
        EXPECT_EQ(kPrivateSize, merged->dmDriverExtra);
    }
}

// A record that is not a whole record of this driver is not read: the
// printer's default record comes out instead.
TEST_F(SpoolerRecordRequest, ShortOrForeignInputGivesThePrintersDefault)
{
    const TARVIK_DEVMODE expected = DefaultRecord();
    for (WORD extra : {WORD(0), WORD(100), WORD(6091), WORD(7000)})
    {
        SCOPED_TRACE(extra);
        TARVIK_DEVMODE in = DefaultRecord();
        in.dmDriverExtra = extra;
        in.dmPrintQuality = 600;
        in.dmPaperWidth = 1234;
        std::vector<BYTE> out(kRecordSize, 0xCC);
        EXPECT_EQ(IDOK, Call(reinterpret_cast<DEVMODEW*>(out.data()), reinterpret_cast<DEVMODEW*>(&in),
                             DM_IN_BUFFER | DM_OUT_BUFFER));
        EXPECT_EQ("", testhost::RecordDifferences(&expected, out.data()));
        EXPECT_EQ(300u, in.dwResolution); // the caller's record is not written either
    }
}

// Called directly, as the spooler does: the header's cbOut and the in-place
// update of the caller's record.
// The size query, through the spooler and directly (the header's cbOut,
// which the spooler does not pass back).
TEST_F(SpoolerRecordRequest, SizeQueryGivesTheWholeRecordSize)
{
    SetLastError(0xdeadbeef);
    EXPECT_EQ(LONG(kRecordSize), Call(nullptr, nullptr, 0));
    DOCUMENTPROPERTYHEADER header = {};
    header.cbSize = sizeof(header);
    header.cbOut = 7;
    EXPECT_EQ(LONG(kRecordSize), DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(kRecordSize, header.cbOut);
}

TEST(DocumentPropertySheetsWithoutSheet, InputOnlyUpdatesTheCallersResolution)
{
    TARVIK_DEVMODE in = DefaultRecord();
    in.dmPrintQuality = 1200;
    DOCUMENTPROPERTYHEADER header = {};
    header.cbSize = sizeof(header);
    header.pdmIn = reinterpret_cast<DEVMODEW*>(&in);
    header.fMode = DM_IN_BUFFER;
    EXPECT_EQ(1, DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(1200u, in.dwResolution);
}

} // namespace
