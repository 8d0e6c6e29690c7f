// The rules for the name of a user's preset. The name is the registry
// value's name and the text of its list entry.
#pragma once

#include <cstddef>

constexpr size_t kPresetNameLength = 31;

enum PresetNameCheck
{
    kPresetNameOk,
    kPresetNameEmpty,
    kPresetNameTooLong,   // more than kPresetNameLength characters
    kPresetNameSeparator, // holds ";", which lists of names use as their separator
    kPresetNameReserved,  // one of `reserved` (the built-ins' names), ignoring case
};

PresetNameCheck CheckPresetName(const wchar_t* name, const wchar_t* const* reserved, size_t reservedCount);

// Whether two preset names are the same name: case is ignored, as the
// registry ignores it in value names.
bool SamePresetName(const wchar_t* a, const wchar_t* b);
