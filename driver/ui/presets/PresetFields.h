// The settings that decide what kind of PDF file a job makes, taken together
// so that one choice (a preset) can set them: the PDF standard and the
// resolution of the paper page, the font embedding of the font page and the
// three image classes of the graphics page. Nothing else of the record is a
// preset's business: paper, orientation, fixed size, automatic saving,
// document information, passwords and permissions stay as the user set them.
#pragma once

#include "record/SettingsRecord.h"

constexpr int kImageClassCount = 3;

// One image class of the graphics page (1 colour and grey, 2 indexed colour,
// 3 black and white).
struct PRESET_IMAGE_CLASS
{
    DWORD dwCompression;
    DWORD dwQuality;
    BOOL bDownsample;
    LONG nResolution;
    DWORD dwDownsampleMethod;
};

struct PRESET_FIELDS
{
    DWORD dwPdfStandard;
    DWORD dwResolution;
    DWORD dwFontMode;
    DWORD dwFontOption;
    PRESET_IMAGE_CLASS image[kImageClassCount];
};
// The stored value carries these bytes as they are: the size is part of the format.
static_assert(sizeof(PRESET_FIELDS) == 76, "the preset fields are 76 bytes");

// The groups of preset fields, each edited by one page.
enum PresetGroup : DWORD
{
    kPresetGroupPaper = 0x1,    // PDF standard and resolution
    kPresetGroupFonts = 0x2,    // font mode and option
    kPresetGroupGraphics = 0x4, // the three image classes
    kPresetGroupAll = 0x7,
};

// The PDF standard values of the record.
constexpr DWORD kPdfStandardPlain = 0;
constexpr DWORD kPdfStandardPdfA1 = 1;

PRESET_FIELDS ReadPresetFields(const TARVIK_DEVMODE& record);
// Writes the fields of the groups in `groups` into `record`. The resolution
// goes into dmPrintQuality and dmYResolution too, as the paper page keeps them.
void WritePresetFields(const PRESET_FIELDS& fields, DWORD groups, TARVIK_DEVMODE* record);

// Whether two field sets make the same PDF file: every field is compared,
// except that the resolution and method of an image class that is not
// downsampled have no effect and are not.
bool SamePresetFields(const PRESET_FIELDS& a, const PRESET_FIELDS& b);

// PDF/A forbids encryption: a preset with that standard turns it off.
inline bool NeedsEncryptionOff(const PRESET_FIELDS& fields)
{
    return fields.dwPdfStandard == kPdfStandardPdfA1;
}

// Whether a record encrypts its document: the security page takes the key
// lengths 40 and 128 for its two levels and anything else for none.
inline bool IsEncryptedRecord(const TARVIK_DEVMODE& record)
{
    return record.dwKeyLength == 40 || record.dwKeyLength == 128;
}
