// The record field table (tools/record) under the test host's names, and what
// only the tests need of it: comparing two records and the built-in record.
#pragma once

#include "RecordFieldTable.h"

#include <string>

namespace testhost
{
using recordfields::FieldKind;
using recordfields::FieldValue;
using recordfields::RecordField;
using recordfields::RecordFields;
using recordfields::Utf8;

// "" when the two records hold the same values, else the differing fields
// ("dmFields: 0x0001BF1F != 0x0001BF1D; ..."), padding and reserved bytes
// included. Texts are compared up to their terminating NUL.
std::string RecordDifferences(const void* expected, const void* actual);

// A record as SetDefaultRecord fills it for the printer `name` (the caller
// links the module's library).
inline TARVIK_DEVMODE DefaultRecord(const wchar_t* name = TARVIK_PRODUCT_NAME)
{
    TARVIK_DEVMODE record;
    SetDefaultRecord(name, &record);
    return record;
}

// A UTF-16 text in the ANSI code page, for messages and printing.
std::string Ansi(const std::wstring& text);
} // namespace testhost
