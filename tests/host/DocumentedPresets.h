// The built-in presets as docs/presets.md gives them, column by column:
// standard, resolution, font mode and option, then per image class
// compression, quality, downsample, resolution, method.
#pragma once

#include "presets/BuiltinPresets.h"

inline const PRESET_FIELDS kDocumentedPresets[kBuiltinPresetCount] = {
    {0, 300, 1, 2, {{2, 4, 0, 72, 3}, {1, 3, 0, 72, 3}, {1, 3, 0, 72, 3}}},
    {0, 1200, 1, 3, {{2, 5, 0, 72, 3}, {1, 3, 0, 72, 3}, {1, 3, 0, 72, 3}}},
    {0, 300, 1, 1, {{2, 2, 1, 150, 3}, {1, 3, 1, 150, 3}, {1, 3, 1, 300, 3}}},
    {1, 600, 1, 3, {{1, 3, 0, 72, 3}, {1, 3, 0, 72, 3}, {1, 3, 0, 72, 3}}},
};
