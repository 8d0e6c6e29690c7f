// 8-bit texts of the settings record (the two passwords) in edit controls.
// The record keeps them in the system's ANSI code page in fields of a fixed
// size, so an edit that holds one is bounded in bytes of that code page, not
// in characters: a double-byte character either fits whole or is refused.
#pragma once

#include <windows.h>

#include <cstddef>

// The number of UTF-16 units at the start of `text` (`length` units) that
// make the longest run of whole characters whose text in `codePage` takes at
// most `maxBytes` bytes.
int AnsiFitLength(const wchar_t* text, int length, int maxBytes, UINT codePage = CP_ACP);

// Shows the 8-bit text of `field` (`fieldSize` bytes; read no further, even
// when no NUL ends it) in `edit`, cut to whole characters within `maxBytes`.
void SetAnsiText(HWND edit, const char* field, size_t fieldSize, int maxBytes);

// Reads the text of `edit` into `field` in the ANSI code page: whole
// characters within `fieldSize` - 1 bytes, then a NUL.
void GetAnsiText(HWND edit, char* field, size_t fieldSize);

// Keeps the text of `edit` within `maxBytes` ANSI bytes after a change: the
// characters just before the caret (what was typed or pasted last) go first,
// then, for a text set as a whole (caret at the start), those at its end.
void LimitAnsiBytes(HWND edit, int maxBytes);
