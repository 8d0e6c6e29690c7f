// HTTP and HTTPS download through WinINet.
#pragma once

#include <windows.h>

// The largest body DownloadContentToBuffer takes, announced or not: ample
// for the documents the module fetches, and a bound on what a server can
// make the application allocate.
constexpr DWORD kDownloadLimit = 4 * 1024 * 1024;

// Body encodings of DownloadContentToBuffer.
constexpr DWORD kContentEncodingNone = 0;
constexpr DWORD kContentEncodingUrlForm = 1; // application/x-www-form-urlencoded

// Sends one request and returns the whole response body in a new buffer.
//
// pszMethod      "GET" or "POST" (any letter case), sent as given.
// pszUrl         absolute URL: scheme, host, optional port, path, optional query.
// pszParameters  name=value pairs joined by "&", already encoded; may be empty.
//                GET appends them to the object name, POST sends them (after
//                the URL's query) as the body in the ANSI code page.
// dwEncoding     kContentEncodingNone or kContentEncodingUrlForm; POST needs
//                an encoding, and kContentEncodingUrlForm adds its
//                Content-Type header.
// llRangeStart, llRangeEnd
//                byte range to ask for; 0 or less leaves a bound out, both
//                left out send no Range header.
// ppBuffer       receives the body (released by the caller with delete[]),
//                or null for an empty body of unannounced length. A body
//                declared as "charset=utf-8" arrives converted to the ANSI
//                code page and NUL-terminated.
// pdwSize        receives the body's size in bytes (without that NUL).
//
// Statuses 200, 206 and 304 succeed; 404 gives 1168 and any other 12154. A
// body longer than kDownloadLimit gives ERROR_FILE_TOO_LARGE before anything
// of its size is allocated.
// Returns 0, or a Win32 error code after reporting the failure to the debug
// stream; *ppBuffer is then left untouched.
DWORD DownloadContentToBuffer(const wchar_t* pszMethod, const wchar_t* pszUrl, const wchar_t* pszParameters,
                              DWORD dwEncoding, LONGLONG llRangeStart, LONGLONG llRangeEnd, char** ppBuffer,
                              DWORD* pdwSize);
