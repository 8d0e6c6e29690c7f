// The list of excluded fonts as the settings record and the registry keep
// it: ";" followed by each face name and a ";" (";Arial;Tahoma;"), and a
// lone ";" for an empty list. A face name therefore never holds ";".
#pragma once

#include <cstddef>

// Finds the next face name of `text`, starting at `*pos`: the text is read
// up to its NUL but never past `capacity` code units, so a text that fills
// its field without a terminator ends at the field's end. Empty pieces
// (";;") are skipped. On success the name is text[*start, *start + *length)
// and *pos is past it; false when no name is left.
bool NextExcludedFont(const wchar_t* text, size_t capacity, size_t* pos, size_t* start, size_t* length);

// Writes the text of an empty list (";" and its NUL) into `buffer`, which
// holds at least two code units; returns the number of units used (1).
size_t BeginExcludedFonts(wchar_t* buffer);

// Appends `length` units of `name` and a ";" to the text of `used` units in
// `buffer`, keeping it terminated. When the result and its NUL would not
// fit `capacity` code units, nothing is written and the result is false.
bool AppendExcludedFont(wchar_t* buffer, size_t capacity, size_t* used, const wchar_t* name, size_t length);
