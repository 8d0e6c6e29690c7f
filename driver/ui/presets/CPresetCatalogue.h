// The presets a person can choose: the four built-ins, then the user's own,
// which live in the current user's registry, one binary value per preset
// named after it.
#pragma once

#include "presets/BuiltinPresets.h"
#include "presets/PresetName.h"

#include <string>
#include <vector>

#define TARVIK_PRESETS_KEY L"SOFTWARE\\KASTREL\\Tarvik\\Presets"

// The stored value: a version and the value's own size first, so that a
// value of another layout is known before any field is read.
struct PRESET_VALUE
{
    DWORD dwVersion;
    DWORD cbSize;
    PRESET_FIELDS fields;
};
constexpr DWORD kPresetValueVersion = 1;
constexpr DWORD kPresetValueSize = sizeof(PRESET_VALUE);
static_assert(kPresetValueSize == 84, "a stored preset is 84 bytes");

class CPresetCatalogue
{
  public:
    // Names a user's preset may not take besides the rules of PresetName.h:
    // the built-ins' names as the list shows them. A stored value with one
    // of them is not loaded.
    void SetReservedNames(const wchar_t* const* names, size_t count);

    // Reads the user's presets, sorted by name. A value of another type,
    // size or version, or whose name breaks the rules, is skipped with a
    // debug line. Returns 0 or the registry's error.
    DWORD Load();

    // Built-ins first (indexes below kBuiltinPresetCount), then the user's.
    size_t Count() const { return kBuiltinPresetCount + m_own.size(); }
    bool IsBuiltin(size_t index) const { return index < kBuiltinPresetCount; }
    PRESET_FIELDS Fields(size_t index) const;
    // The name of the user's preset at `index` (not a built-in).
    const wchar_t* OwnName(size_t index) const;
    // The index of the user's preset named `name` (case ignored), or -1.
    int FindOwn(const wchar_t* name) const;
    // The first preset whose fields make the same file as `current`, or -1.
    int Match(const PRESET_FIELDS& current) const;

    PresetNameCheck CheckName(const wchar_t* name) const;

    // Stores `fields` under `name` (replacing a preset of that name), or
    // removes the preset; then loads the list again. Return 0 or an error.
    DWORD Save(const wchar_t* name, const PRESET_FIELDS& fields);
    DWORD Delete(const wchar_t* name);

    static PRESET_VALUE EncodeValue(const PRESET_FIELDS& fields);
    // The fields of a stored value of `type` and `size` bytes at `data`;
    // false (nothing read past `size`) when it is not one of this version.
    static bool DecodeValue(DWORD type, const BYTE* data, DWORD size, PRESET_FIELDS* fields);

  private:
    struct OwnPreset
    {
        std::wstring name;
        PRESET_FIELDS fields;
    };
    std::vector<OwnPreset> m_own;
    std::vector<std::wstring> m_reserved;
};
