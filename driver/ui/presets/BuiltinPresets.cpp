#include "presets/BuiltinPresets.h"

namespace
{
// Values of the record that the presets name.
constexpr DWORD kZip = 1;
constexpr DWORD kJpeg = 2;
constexpr DWORD kZipStrongest = 3;
constexpr DWORD kJpegMaximum = 5;
constexpr DWORD kJpegLow = 2;
constexpr DWORD kEmbedEveryFont = 1;
constexpr DWORD kOnlyCharactersUsed = 1;
constexpr DWORD kAlwaysWholeFont = 3;

// An image class kept at full resolution. Its downsampling resolution and
// method have no effect; they keep the built-in record's values.
PRESET_IMAGE_CLASS FullResolution(const PRESET_FIELDS& standard, int index, DWORD compression, DWORD quality)
{
    PRESET_IMAGE_CLASS image = standard.image[index];
    image.dwCompression = compression;
    image.dwQuality = quality;
    image.bDownsample = FALSE;
    return image;
}

// An image class brought down to `resolution` dots per inch with the
// record's own method: the pages name no other.
PRESET_IMAGE_CLASS Downsampled(const PRESET_FIELDS& standard, int index, DWORD compression, DWORD quality,
                               LONG resolution)
{
    PRESET_IMAGE_CLASS image = FullResolution(standard, index, compression, quality);
    image.bDownsample = TRUE;
    image.nResolution = resolution;
    return image;
}

PRESET_FIELDS StandardFields()
{
    TARVIK_DEVMODE record;
    SetDefaultRecord(TARVIK_PRODUCT_NAME, &record);
    return ReadPresetFields(record);
}
} // namespace

PRESET_FIELDS BuiltinPresetFields(size_t preset)
{
    const PRESET_FIELDS standard = StandardFields();
    PRESET_FIELDS fields = standard;
    switch (preset)
    {
    case kPresetHighQualityPrint:
        fields.dwResolution = 1200;
        fields.dwFontMode = kEmbedEveryFont;
        fields.dwFontOption = kAlwaysWholeFont;
        fields.image[0] = FullResolution(standard, 0, kJpeg, kJpegMaximum);
        fields.image[1] = FullResolution(standard, 1, kZip, kZipStrongest);
        fields.image[2] = FullResolution(standard, 2, kZip, kZipStrongest);
        break;
    case kPresetSmallestFile:
        fields.dwResolution = 300;
        fields.dwFontMode = kEmbedEveryFont;
        fields.dwFontOption = kOnlyCharactersUsed;
        fields.image[0] = Downsampled(standard, 0, kJpeg, kJpegLow, 150);
        fields.image[1] = Downsampled(standard, 1, kZip, kZipStrongest, 150);
        fields.image[2] = Downsampled(standard, 2, kZip, kZipStrongest, 300);
        break;
    case kPresetPdfAArchive:
        fields.dwPdfStandard = kPdfStandardPdfA1;
        fields.dwResolution = 600;
        fields.dwFontMode = kEmbedEveryFont;
        fields.dwFontOption = kAlwaysWholeFont;
        for (int i = 0; i < kImageClassCount; ++i)
            fields.image[i] = FullResolution(standard, i, kZip, kZipStrongest);
        break;
    default:
        break;
    }
    return fields;
}
