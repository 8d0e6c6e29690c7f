#include "presets/PresetFields.h"

namespace
{
struct ImageFields
{
    DWORD TARVIK_DEVMODE::*compression;
    DWORD TARVIK_DEVMODE::*quality;
    BOOL TARVIK_DEVMODE::*downsample;
    LONG TARVIK_DEVMODE::*resolution;
    DWORD TARVIK_DEVMODE::*method;
};

// The record's fields of each image class, class 1 first.
const ImageFields kImageFields[kImageClassCount] = {
    {&TARVIK_DEVMODE::dwCompression1, &TARVIK_DEVMODE::dwQuality1, &TARVIK_DEVMODE::bDownsample1,
     &TARVIK_DEVMODE::nResolution1, &TARVIK_DEVMODE::dwDownsampleMethod1},
    {&TARVIK_DEVMODE::dwCompression2, &TARVIK_DEVMODE::dwQuality2, &TARVIK_DEVMODE::bDownsample2,
     &TARVIK_DEVMODE::nResolution2, &TARVIK_DEVMODE::dwDownsampleMethod2},
    {&TARVIK_DEVMODE::dwCompression3, &TARVIK_DEVMODE::dwQuality3, &TARVIK_DEVMODE::bDownsample3,
     &TARVIK_DEVMODE::nResolution3, &TARVIK_DEVMODE::dwDownsampleMethod3},
};

bool SameImageClass(const PRESET_IMAGE_CLASS& a, const PRESET_IMAGE_CLASS& b)
{
    if (a.dwCompression != b.dwCompression || a.dwQuality != b.dwQuality || a.bDownsample != b.bDownsample)
        return false;
    return !a.bDownsample || (a.nResolution == b.nResolution && a.dwDownsampleMethod == b.dwDownsampleMethod);
}
} // namespace

PRESET_FIELDS ReadPresetFields(const TARVIK_DEVMODE& record)
{
    PRESET_FIELDS fields = {};
    fields.dwPdfStandard = record.dwPdfStandard;
    fields.dwResolution = record.dwResolution;
    fields.dwFontMode = record.dwFontMode;
    fields.dwFontOption = record.dwFontOption;
    for (int i = 0; i < kImageClassCount; ++i)
    {
        const ImageFields& from = kImageFields[i];
        fields.image[i] = {record.*from.compression, record.*from.quality, record.*from.downsample,
                           record.*from.resolution, record.*from.method};
    }
    return fields;
}

void WritePresetFields(const PRESET_FIELDS& fields, DWORD groups, TARVIK_DEVMODE* record)
{
    if (groups & kPresetGroupPaper)
    {
        record->dwPdfStandard = fields.dwPdfStandard;
        record->dwResolution = fields.dwResolution;
        record->dmPrintQuality = static_cast<short>(LOWORD(fields.dwResolution));
        record->dmYResolution = static_cast<short>(LOWORD(fields.dwResolution));
    }
    if (groups & kPresetGroupFonts)
    {
        record->dwFontMode = fields.dwFontMode;
        record->dwFontOption = fields.dwFontOption;
    }
    if (groups & kPresetGroupGraphics)
    {
        for (int i = 0; i < kImageClassCount; ++i)
        {
            const ImageFields& to = kImageFields[i];
            const PRESET_IMAGE_CLASS& image = fields.image[i];
            record->*to.compression = image.dwCompression;
            record->*to.quality = image.dwQuality;
            record->*to.downsample = image.bDownsample;
            record->*to.resolution = image.nResolution;
            record->*to.method = image.dwDownsampleMethod;
        }
    }
}

bool SamePresetFields(const PRESET_FIELDS& a, const PRESET_FIELDS& b)
{
    if (a.dwPdfStandard != b.dwPdfStandard || a.dwResolution != b.dwResolution || a.dwFontMode != b.dwFontMode ||
        a.dwFontOption != b.dwFontOption)
        return false;
    for (int i = 0; i < kImageClassCount; ++i)
    {
        if (!SameImageClass(a.image[i], b.image[i]))
            return false;
    }
    return true;
}
