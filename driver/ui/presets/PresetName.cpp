#include "presets/PresetName.h"

#include <windows.h>

#include <cwchar>

bool SamePresetName(const wchar_t* a, const wchar_t* b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

PresetNameCheck CheckPresetName(const wchar_t* name, const wchar_t* const* reserved, size_t reservedCount)
{
    const size_t length = wcsnlen(name, kPresetNameLength + 1);
    if (length == 0)
        return kPresetNameEmpty;
    if (length > kPresetNameLength)
        return kPresetNameTooLong;
    if (std::wcschr(name, L';'))
        return kPresetNameSeparator;
    for (size_t i = 0; i < reservedCount; ++i)
    {
        if (SamePresetName(name, reserved[i]))
            return kPresetNameReserved;
    }
    return kPresetNameOk;
}
