// Character rules shared by the parser and the tree operations.
#pragma once

#include <cstddef>

namespace xmlchars
{
// Tab, line feed, carriage return and space; nothing else counts as white.
inline bool IsWhite(wchar_t c)
{
    return c == L'\t' || c == L'\n' || c == L'\r' || c == L' ';
}

// Folds ASCII capitals only: names are compared the same way whatever the
// user's locale, and no other letters are touched.
inline wchar_t FoldAscii(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Whether the n characters at a and b are equal without regard to ASCII case.
// Stops at the first difference, so a NUL in either text ends the comparison
// before anything past it is read.
inline bool SameNoCase(const wchar_t* a, const wchar_t* b, size_t n)
{
    for (size_t i = 0; i < n; ++i)
    {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

// Whether the NUL-terminated text begins with the NUL-terminated prefix
// (ASCII case ignored). Never reads past the end of either.
inline bool BeginsWithNoCase(const wchar_t* text, const wchar_t* prefix)
{
    for (; *prefix; ++text, ++prefix)
    {
        if (FoldAscii(*text) != FoldAscii(*prefix))
            return false;
    }
    return true;
}

// A new NUL-terminated copy of exactly `length` characters (0 gives an empty
// text), or null when memory is short.
wchar_t* CopyChars(const wchar_t* text, size_t length);
} // namespace xmlchars
