// Text conversions between the encodings the module meets: UTF-8 (web
// content), the system's ANSI code page (8-bit texts) and UTF-16 (everything
// shown or stored), and the pointer guards the library applies to its
// arguments.
//
// A converted text is a new NUL-terminated array that belongs to the caller,
// who releases it with delete[].
#pragma once

#include <windows.h>

// Converts a NUL-terminated text in the ANSI code page to a new UTF-16 text.
// Returns 0 and sets *ppszText, or a Win32 error code (8 when the heap is
// exhausted, otherwise the platform's) and leaves *ppszText untouched.
DWORD MultiByteToTChar(const char* pszText, wchar_t** ppszText);

// Converts exactly cbUtf8 bytes of UTF-8 (no terminator needed) to a new
// NUL-terminated text in the ANSI code page; characters the code page lacks
// become its default character. The input must lie in readable and writable
// memory (the guard of IsValidBuffer). Returns 0 and sets *ppszText, or 87
// for a rejected argument, 8 when the heap is exhausted, otherwise the
// platform's code; on failure *ppszText is left untouched.
DWORD UTF8toMultiByte(const char* pUtf8, DWORD cbUtf8, char** ppszText);

// 1 when `p` is not null and all `cb` bytes from it are readable and
// writable, else 0.
BOOL IsValidBuffer(const void* p, UINT_PTR cb);

// 1 when `psz` is not null and readable up to and including its NUL, else 0.
BOOL IsValidStringPtr(const wchar_t* psz);
