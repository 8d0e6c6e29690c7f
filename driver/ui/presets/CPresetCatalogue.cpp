#include "presets/CPresetCatalogue.h"

#include <libmerrow/error.h>
#include <libmerrow/scoped.h>

#include <algorithm>
#include <cstring>
#include <iterator>

void CPresetCatalogue::SetReservedNames(const wchar_t* const* names, size_t count)
{
    m_reserved.assign(names, names + count);
}

PresetNameCheck CPresetCatalogue::CheckName(const wchar_t* name) const
{
    std::vector<const wchar_t*> reserved;
    for (const std::wstring& text : m_reserved)
        reserved.push_back(text.c_str());
    return CheckPresetName(name, reserved.data(), reserved.size());
}

PRESET_VALUE CPresetCatalogue::EncodeValue(const PRESET_FIELDS& fields)
{
    return PRESET_VALUE{kPresetValueVersion, kPresetValueSize, fields};
}

bool CPresetCatalogue::DecodeValue(DWORD type, const BYTE* data, DWORD size, PRESET_FIELDS* fields)
{
    if (type != REG_BINARY || size != kPresetValueSize)
        return false;
    PRESET_VALUE value;
    std::memcpy(&value, data, kPresetValueSize);
    if (value.dwVersion != kPresetValueVersion || value.cbSize != kPresetValueSize)
        return false;
    *fields = value.fields;
    return true;
}

DWORD CPresetCatalogue::Load()
{
    m_own.clear();
    ScopedRegKey key;
    LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, TARVIK_PRESETS_KEY, 0, KEY_READ, key.Out());
    if (rc == ERROR_FILE_NOT_FOUND)
        return 0; // nobody has saved a preset yet
    if (rc != ERROR_SUCCESS)
        return FAIL_FROM(L"RegOpenKeyExW()", ReportErrorW(static_cast<DWORD>(rc), nullptr),
                         L"CPresetCatalogue::Load()");

    for (DWORD index = 0;; ++index)
    {
        // A longer name or more data than a preset has ends in ERROR_MORE_DATA.
        wchar_t name[kPresetNameLength + 1] = {};
        DWORD nameLength = static_cast<DWORD>(std::size(name));
        BYTE data[kPresetValueSize];
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(std::size(data));
        rc = RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type, data, &size);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        if (rc == ERROR_MORE_DATA)
        {
            DebugPrintW(L"Skipped preset %u: its name or data is too long", index);
            continue;
        }
        if (rc != ERROR_SUCCESS)
            return FAIL_FROM(L"RegEnumValueW()", ReportErrorW(static_cast<DWORD>(rc), nullptr),
                             L"CPresetCatalogue::Load()");
        OwnPreset preset{name, {}};
        if (!DecodeValue(type, data, size, &preset.fields))
        {
            DebugPrintW(L"Skipped preset \"%s\": type %u, %u bytes, not a preset of version %u", name, type, size,
                        kPresetValueVersion);
            continue;
        }
        if (CheckName(name) != kPresetNameOk)
        {
            DebugPrintW(L"Skipped preset \"%s\": not a name a preset may have", name);
            continue;
        }
        m_own.push_back(preset);
    }
    // The registry of Windows lists values in the order they were made,
    // Wine's by name: sorting makes the list the same on both.
    std::sort(m_own.begin(), m_own.end(),
              [](const OwnPreset& a, const OwnPreset& b) { return lstrcmpiW(a.name.c_str(), b.name.c_str()) < 0; });
    return 0;
}

PRESET_FIELDS CPresetCatalogue::Fields(size_t index) const
{
    return IsBuiltin(index) ? BuiltinPresetFields(index) : m_own[index - kBuiltinPresetCount].fields;
}

const wchar_t* CPresetCatalogue::OwnName(size_t index) const
{
    return m_own[index - kBuiltinPresetCount].name.c_str();
}

int CPresetCatalogue::FindOwn(const wchar_t* name) const
{
    for (size_t i = 0; i < m_own.size(); ++i)
    {
        if (SamePresetName(m_own[i].name.c_str(), name))
            return static_cast<int>(kBuiltinPresetCount + i);
    }
    return -1;
}

int CPresetCatalogue::Match(const PRESET_FIELDS& current) const
{
    for (size_t i = 0; i < Count(); ++i)
    {
        if (SamePresetFields(Fields(i), current))
            return static_cast<int>(i);
    }
    return -1;
}

DWORD CPresetCatalogue::Save(const wchar_t* name, const PRESET_FIELDS& fields)
{
    if (CheckName(name) != kPresetNameOk)
        return FAIL_AT(ReportErrorW(ERROR_INVALID_PARAMETER, nullptr), L"CPresetCatalogue::Save()");
    ScopedRegKey key;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, TARVIK_PRESETS_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                              nullptr, key.Out(), nullptr);
    if (rc != ERROR_SUCCESS)
        return FAIL_FROM(L"RegCreateKeyExW()", ReportErrorW(static_cast<DWORD>(rc), nullptr),
                         L"CPresetCatalogue::Save()");
    // A replaced preset takes the case of the name typed now.
    const int existing = FindOwn(name);
    if (existing >= 0)
        RegDeleteValueW(key.Get(), OwnName(static_cast<size_t>(existing)));
    const PRESET_VALUE value = EncodeValue(fields);
    rc = RegSetValueExW(key.Get(), name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&value), kPresetValueSize);
    if (rc != ERROR_SUCCESS)
        return FAIL_FROM(L"RegSetValueExW()", ReportErrorW(static_cast<DWORD>(rc), nullptr),
                         L"CPresetCatalogue::Save()");
    return PASS_ON(Load(), L"CPresetCatalogue::Save()");
}

DWORD CPresetCatalogue::Delete(const wchar_t* name)
{
    ScopedRegKey key;
    LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, TARVIK_PRESETS_KEY, 0, KEY_SET_VALUE, key.Out());
    if (rc == ERROR_SUCCESS)
        rc = RegDeleteValueW(key.Get(), name);
    if (rc != ERROR_SUCCESS)
        return FAIL_FROM(L"RegDeleteValueW()", ReportErrorW(static_cast<DWORD>(rc), nullptr),
                         L"CPresetCatalogue::Delete()");
    return PASS_ON(Load(), L"CPresetCatalogue::Delete()");
}
