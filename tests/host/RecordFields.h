// The settings record field by field, as the renderer reads it: name,
// offset, width and kind. Used to print a record and to compare two.
#pragma once

#include "record/SettingsRecord.h"

#include <string>
#include <vector>

namespace testhost
{
enum class FieldKind
{
    U16,
    Hex16,
    S16,
    U32,
    S32,
    Hex32,
    Text16, // UTF-16, `size` bytes
    Text8   // 8-bit, `size` bytes
};

struct RecordField
{
    const char* name;
    unsigned offset;
    unsigned size;
    FieldKind kind;
};

const std::vector<RecordField>& RecordFields();

// The field's value as text ("300", "0x0001BF1F", "\"A4\"").
std::string FieldValue(const RecordField& field, const unsigned char* record);

// "" when the two records hold the same values, else the differing fields
// ("dmFields: 0x0001BF1F != 0x0001BF1D; ...") and differing padding bytes.
// Texts are compared up to their terminating NUL.
std::string RecordDifferences(const void* expected, const void* actual);

// A record as SetDefaultRecord fills it for the printer `name` (the caller
// links the module's library).
inline TARVIK_DEVMODE DefaultRecord(const wchar_t* name = TARVIK_PRODUCT_NAME)
{
    TARVIK_DEVMODE record;
    SetDefaultRecord(name, &record);
    return record;
}

// A UTF-16 text in the ANSI code page or in UTF-8, for messages and printing.
std::string Ansi(const std::wstring& text);
std::string Utf8(const std::wstring& text);
} // namespace testhost
