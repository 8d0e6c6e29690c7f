// The four presets that come with the driver, listed first in this order and
// never deleted or overwritten. docs/presets.md gives each one field by
// field, with the reason for every value.
#pragma once

#include "presets/PresetFields.h"

#include <cstddef>

enum BuiltinPreset : size_t
{
    kPresetStandard,
    kPresetHighQualityPrint,
    kPresetSmallestFile,
    kPresetPdfAArchive,
    kBuiltinPresetCount,
};

// The fields of built-in preset `preset`; "Standard" is the built-in record's.
PRESET_FIELDS BuiltinPresetFields(size_t preset);
