// The settings record field by field, as the renderer reads it: name,
// offset, width and kind of every byte range of the 6312 bytes, the padding
// and reserved ranges included, in the order of their offsets. The main job
// prints records with it, tarvik-record prints and edits them, the tests
// compare them.
#pragma once

#include "record/SettingsRecord.h"

#include <string>
#include <vector>

namespace recordfields
{
enum class FieldKind
{
    Unsigned, // little-endian integer of the field's width
    Signed,
    Hex,    // an unsigned integer shown in hexadecimal (bit sets, versions)
    Text16, // UTF-16, `size` bytes
    Text8,  // 8-bit ANSI, `size` bytes
    Bytes   // padding and reserved bytes, shown as hexadecimal digits
};

struct RecordField
{
    const char* name;
    unsigned offset;
    unsigned size; // in bytes
    FieldKind kind;
};

// Every field in offset order; together they cover the record exactly.
const std::vector<RecordField>& RecordFields();

// The field called `name` (case-sensitive), or null.
const RecordField* FindField(const std::string& name);

inline bool IsText(const RecordField& field)
{
    return field.kind == FieldKind::Text16 || field.kind == FieldKind::Text8;
}

// The field's value as UTF-8 text: "300", "-5", "0x0001BF1F", "00000000",
// "\"A4\"". A text is quoted and shown up to its last non-zero unit, so a
// tail left behind its NUL shows too ("\"A4\\0ter\""); '"' and '\' are
// escaped with '\', a NUL is \0, a control or surrogate unit \uXXXX and an
// 8-bit byte above 0x7E \xXX. SetFieldValue reads every such text back.
std::string FieldValue(const RecordField& field, const unsigned char* record);

// Writes `text` into the field of `record`. Numbers: decimal or 0x
// hexadecimal, a minus sign for signed and hexadecimal fields, within the
// field's width. Texts: quoted as FieldValue prints them, or bare and taken
// literally (a folder path needs no escapes); the units after the text are
// cleared, and a text may fill its field without a NUL. Bytes: exactly two
// hexadecimal digits per byte. Returns "" or why the value does not fit,
// leaving the record unchanged.
std::string SetFieldValue(const RecordField& field, const std::wstring& text, unsigned char* record);

std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
} // namespace recordfields
