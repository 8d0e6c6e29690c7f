// The settings record: the printer DEVMODEW of this driver, a 220-byte public
// part followed by a 6092-byte private block. The spooler stores it and the
// renderer reads it byte by byte, so the layout below is a fixed format:
// every offset is checked at compile time, and a record is always moved
// whole (kRecordSize bytes).
#pragma once

#include <windows.h>

#include <cstddef>

constexpr WORD kPublicSize = 220;
constexpr WORD kPrivateSize = 6092;
constexpr DWORD kRecordSize = kPublicSize + kPrivateSize; // 6312

constexpr WORD kSpecVersion = 0x0401;
constexpr WORD kDriverVersion = 0x0700;
constexpr DWORD kDefaultFields = 0x0001BF1F;
constexpr DWORD kDefaultPermissions = 0xFFFFF0C0;
constexpr DWORD kDefaultOptionFlags = 0x77C00000;
// The output resolutions in dots per inch, in the order the paper page and
// the capability answer list them.
constexpr LONG kResolutions[] = {300, 600, 1200, 2400, 3000};

#define TARVIK_PRODUCT_NAME L"Tarvik"
#define TARVIK_SIGNATURE L"{9B63F701-A616-4994-A99A-EB38719733A1}"

#pragma pack(push, 1)
struct TARVIK_DEVMODE
{
    // Public part: the platform's DEVMODEW, unions flattened to the members
    // a printer uses.
    WCHAR dmDeviceName[CCHDEVICENAME];
    WORD dmSpecVersion;
    WORD dmDriverVersion;
    WORD dmSize;
    WORD dmDriverExtra;
    DWORD dmFields;
    short dmOrientation;
    short dmPaperSize;
    short dmPaperLength;
    short dmPaperWidth;
    short dmScale;
    short dmCopies;
    short dmDefaultSource;
    short dmPrintQuality;
    short dmColor;
    short dmDuplex;
    short dmYResolution;
    short dmTTOption;
    short dmCollate;
    WCHAR dmFormName[CCHFORMNAME];
    WORD dmLogPixels;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmNup;
    DWORD dmDisplayFrequency;
    DWORD dmICMMethod;
    DWORD dmICMIntent;
    DWORD dmMediaType;
    DWORD dmDitherType;
    DWORD dmReserved1;
    DWORD dmReserved2;
    DWORD dmPanningWidth;
    DWORD dmPanningHeight;

    // Private block.
    WCHAR szSignature[39];
    BYTE padding298[2];
    DWORD dwPaperUnit; // 0 millimetres, 1 inches, 2 points
    BOOL bFixedPaperSize;
    LONG dwFixedPaperWidth;
    LONG dwFixedPaperLength;
    BOOL bAutoSave;
    WCHAR szOutputFolder[512];
    WCHAR szFileNamePrefix[17];
    BYTE padding1378[2];
    BOOL bAutoSaveOption;
    DWORD dwFontMode;
    DWORD dwFontOption;
    WCHAR szExcludeFonts[2048];
    DWORD dwResolution;
    DWORD dwPdfStandard;
    WCHAR szTitle[64];
    WCHAR szAuthor[64];
    WCHAR szKeywords[64];
    WCHAR szSubject[64];
    WCHAR szDocInfoExtra[64];
    DWORD dwEncrypt;
    DWORD dwKeyLength;
    DWORD dwPermissions;
    BOOL bPermissionsPassword;
    BOOL bOpenPassword;
    char szPermissionsPassword[33];
    char szOpenPassword[33];
    BYTE padding6222[2];
    DWORD dwCompression1;
    DWORD dwQuality1;
    DWORD dwCompression2;
    DWORD dwQuality2;
    DWORD dwCompression3;
    DWORD dwQuality3;
    BOOL bDownsample1;
    BOOL bDownsample2;
    BOOL bDownsample3;
    LONG nResolution1;
    DWORD dwDownsampleMethod1;
    LONG nResolution2;
    DWORD dwDownsampleMethod2;
    LONG nResolution3;
    DWORD dwDownsampleMethod3;
    DWORD dwReserved6284;
    BYTE reserved6288[12];
    DWORD dwOptionFlags;
    BYTE reserved6304[8];
};
#pragma pack(pop)

static_assert(sizeof(TARVIK_DEVMODE) == kRecordSize, "the record is 6312 bytes");
static_assert(sizeof(DEVMODEW) == kPublicSize, "the public part is the platform's DEVMODEW");

// The public part must line up with the platform's DEVMODEW member by member.
#define TARVIK_CHECK_PUBLIC(field, offset)                                                                             \
    static_assert(offsetof(TARVIK_DEVMODE, field) == (offset), #field);                                                \
    static_assert(offsetof(DEVMODEW, field) == (offset), "DEVMODEW " #field)
TARVIK_CHECK_PUBLIC(dmDeviceName, 0);
TARVIK_CHECK_PUBLIC(dmSpecVersion, 64);
TARVIK_CHECK_PUBLIC(dmDriverVersion, 66);
TARVIK_CHECK_PUBLIC(dmSize, 68);
TARVIK_CHECK_PUBLIC(dmDriverExtra, 70);
TARVIK_CHECK_PUBLIC(dmFields, 72);
TARVIK_CHECK_PUBLIC(dmOrientation, 76);
TARVIK_CHECK_PUBLIC(dmPaperSize, 78);
TARVIK_CHECK_PUBLIC(dmPaperLength, 80);
TARVIK_CHECK_PUBLIC(dmPaperWidth, 82);
TARVIK_CHECK_PUBLIC(dmScale, 84);
TARVIK_CHECK_PUBLIC(dmCopies, 86);
TARVIK_CHECK_PUBLIC(dmDefaultSource, 88);
TARVIK_CHECK_PUBLIC(dmPrintQuality, 90);
TARVIK_CHECK_PUBLIC(dmColor, 92);
TARVIK_CHECK_PUBLIC(dmDuplex, 94);
TARVIK_CHECK_PUBLIC(dmYResolution, 96);
TARVIK_CHECK_PUBLIC(dmTTOption, 98);
TARVIK_CHECK_PUBLIC(dmCollate, 100);
TARVIK_CHECK_PUBLIC(dmFormName, 102);
TARVIK_CHECK_PUBLIC(dmLogPixels, 166);
TARVIK_CHECK_PUBLIC(dmBitsPerPel, 168);
TARVIK_CHECK_PUBLIC(dmPelsWidth, 172);
TARVIK_CHECK_PUBLIC(dmPelsHeight, 176);
TARVIK_CHECK_PUBLIC(dmNup, 180);
TARVIK_CHECK_PUBLIC(dmDisplayFrequency, 184);
TARVIK_CHECK_PUBLIC(dmICMMethod, 188);
TARVIK_CHECK_PUBLIC(dmICMIntent, 192);
TARVIK_CHECK_PUBLIC(dmMediaType, 196);
TARVIK_CHECK_PUBLIC(dmDitherType, 200);
TARVIK_CHECK_PUBLIC(dmReserved1, 204);
TARVIK_CHECK_PUBLIC(dmReserved2, 208);
TARVIK_CHECK_PUBLIC(dmPanningWidth, 212);
TARVIK_CHECK_PUBLIC(dmPanningHeight, 216);
#undef TARVIK_CHECK_PUBLIC

#define TARVIK_CHECK_PRIVATE(field, offset) static_assert(offsetof(TARVIK_DEVMODE, field) == (offset), #field)
TARVIK_CHECK_PRIVATE(szSignature, 220);
TARVIK_CHECK_PRIVATE(dwPaperUnit, 300);
TARVIK_CHECK_PRIVATE(bFixedPaperSize, 304);
TARVIK_CHECK_PRIVATE(dwFixedPaperWidth, 308);
TARVIK_CHECK_PRIVATE(dwFixedPaperLength, 312);
TARVIK_CHECK_PRIVATE(bAutoSave, 316);
TARVIK_CHECK_PRIVATE(szOutputFolder, 320);
TARVIK_CHECK_PRIVATE(szFileNamePrefix, 1344);
TARVIK_CHECK_PRIVATE(bAutoSaveOption, 1380);
TARVIK_CHECK_PRIVATE(dwFontMode, 1384);
TARVIK_CHECK_PRIVATE(dwFontOption, 1388);
TARVIK_CHECK_PRIVATE(szExcludeFonts, 1392);
TARVIK_CHECK_PRIVATE(dwResolution, 5488);
TARVIK_CHECK_PRIVATE(dwPdfStandard, 5492);
TARVIK_CHECK_PRIVATE(szTitle, 5496);
TARVIK_CHECK_PRIVATE(szAuthor, 5624);
TARVIK_CHECK_PRIVATE(szKeywords, 5752);
TARVIK_CHECK_PRIVATE(szSubject, 5880);
TARVIK_CHECK_PRIVATE(szDocInfoExtra, 6008);
TARVIK_CHECK_PRIVATE(dwEncrypt, 6136);
TARVIK_CHECK_PRIVATE(dwKeyLength, 6140);
TARVIK_CHECK_PRIVATE(dwPermissions, 6144);
TARVIK_CHECK_PRIVATE(bPermissionsPassword, 6148);
TARVIK_CHECK_PRIVATE(bOpenPassword, 6152);
TARVIK_CHECK_PRIVATE(szPermissionsPassword, 6156);
TARVIK_CHECK_PRIVATE(szOpenPassword, 6189);
TARVIK_CHECK_PRIVATE(dwCompression1, 6224);
TARVIK_CHECK_PRIVATE(dwQuality1, 6228);
TARVIK_CHECK_PRIVATE(dwCompression2, 6232);
TARVIK_CHECK_PRIVATE(dwQuality2, 6236);
TARVIK_CHECK_PRIVATE(dwCompression3, 6240);
TARVIK_CHECK_PRIVATE(dwQuality3, 6244);
TARVIK_CHECK_PRIVATE(bDownsample1, 6248);
TARVIK_CHECK_PRIVATE(bDownsample2, 6252);
TARVIK_CHECK_PRIVATE(bDownsample3, 6256);
TARVIK_CHECK_PRIVATE(nResolution1, 6260);
TARVIK_CHECK_PRIVATE(dwDownsampleMethod1, 6264);
TARVIK_CHECK_PRIVATE(nResolution2, 6268);
TARVIK_CHECK_PRIVATE(dwDownsampleMethod2, 6272);
TARVIK_CHECK_PRIVATE(nResolution3, 6276);
TARVIK_CHECK_PRIVATE(dwDownsampleMethod3, 6280);
TARVIK_CHECK_PRIVATE(dwReserved6284, 6284);
TARVIK_CHECK_PRIVATE(reserved6288, 6288);
TARVIK_CHECK_PRIVATE(dwOptionFlags, 6300);
TARVIK_CHECK_PRIVATE(reserved6304, 6304);
#undef TARVIK_CHECK_PRIVATE

// Writes the built-in default record into `record` (kRecordSize bytes), with
// `name` (at most 31 characters) as the device name. Returns 0.
DWORD SetDefaultRecord(const wchar_t* name, TARVIK_DEVMODE* record);

// Fills `record` from the printer's stored default record, brought up to
// date, or with the built-in defaults when the printer has no whole record of
// this driver. Returns 0.
DWORD LoadPrinterDefaultRecord(HANDLE hPrinter, TARVIK_DEVMODE* record);

// True when `dm` is a whole record of this driver (public part of 220 bytes
// followed by a private block of 6092), so that kRecordSize bytes may be read.
bool IsWholeRecord(const DEVMODEW* dm);

// A caller's record as this driver's record, or null when it is not a whole
// one: anything else counts as absent, so nothing is read past what was given.
inline TARVIK_DEVMODE* CallerRecord(DEVMODEW* dm)
{
    return IsWholeRecord(dm) ? reinterpret_cast<TARVIK_DEVMODE*>(dm) : nullptr;
}
