// File helpers of the utility library.
#pragma once

#include <windows.h>

// Reads the file version of the file at pszFulPath from its fixed version
// information: major 1 and major 2 are the high and low halves of
// dwFileVersionMS, minor 1 and minor 2 those of dwFileVersionLS.
//
// Returns 0 on success. A file without version information is not an error:
// the call returns 0 and leaves the four numbers as they were, so a caller
// sets them beforehand. Returns 87 when a pointer is null, 8 when the heap is
// exhausted, and the platform's code when the version block exists but cannot
// be read.
DWORD GetFileVersion(const wchar_t* pszFulPath, WORD* pwMajor1, WORD* pwMajor2, WORD* pwMinor1, WORD* pwMinor2);
