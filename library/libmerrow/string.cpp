#include "libmerrow/string.h"

#include "libmerrow/error.h"

#include <new>

BOOL IsValidBuffer(const void* p, UINT_PTR cb)
{
    if (!p)
        return FALSE;
    return !IsBadReadPtr(p, cb) && !IsBadWritePtr(const_cast<void*>(p), cb);
}

BOOL IsValidStringPtr(const wchar_t* psz)
{
    if (!psz)
        return FALSE;
    return !IsBadStringPtrW(psz, ~static_cast<UINT_PTR>(0));
}

DWORD MultiByteToTChar(const char* pszText, wchar_t** ppszText)
{
    // A null text is left to the platform, which rejects it below; a null
    // out-argument would only be found by writing through it.
    if (!ppszText)
        return PASS_ON(ReportErrorW(ERROR_INVALID_PARAMETER, nullptr), L"MultiByteToTChar()");

    const int n = MultiByteToWideChar(CP_ACP, 0, pszText, -1, nullptr, 0);
    if (n < 1)
        return FAIL_AT(ReportErrorW(LastErrorCode(), nullptr), L"MultiByteToTChar()");

    wchar_t* text = new (std::nothrow) wchar_t[static_cast<size_t>(n) + 1];
    if (!text)
        return FAIL_AT(ReportErrorW(ERROR_NOT_ENOUGH_MEMORY, nullptr), L"MultiByteToTChar()");

    const int written = MultiByteToWideChar(CP_ACP, 0, pszText, -1, text, n);
    text[written > 0 ? written : 0] = L'\0';
    *ppszText = text;
    return 0;
}

DWORD UTF8toMultiByte(const char* pUtf8, DWORD cbUtf8, char** ppszText)
{
    if (!IsValidBuffer(pUtf8, cbUtf8) || !IsValidBuffer(ppszText, sizeof(char*)))
        return PASS_ON(ReportErrorW(ERROR_INVALID_PARAMETER, nullptr), L"UTF8toMultiByte()");

    // The byte count is passed on as the platform's int; a larger count
    // cannot be converted in one call.
    if (cbUtf8 > static_cast<DWORD>(INT_MAX))
        return FAIL_AT(ReportErrorW(ERROR_INVALID_PARAMETER, nullptr), L"UTF8toMultiByte()");
    const int cb = static_cast<int>(cbUtf8);

    const int w = MultiByteToWideChar(CP_UTF8, 0, pUtf8, cb, nullptr, 0);
    if (w == 0)
        return FAIL_AT(ReportErrorW(LastErrorCode(), nullptr), L"UTF8toMultiByte()");

    // The UTF-16 intermediate is released on every path below.
    wchar_t* wide = new (std::nothrow) wchar_t[static_cast<size_t>(w) + 1];
    if (!wide)
        return FAIL_AT(ReportErrorW(ERROR_NOT_ENOUGH_MEMORY, nullptr), L"UTF8toMultiByte()");
    const int converted = MultiByteToWideChar(CP_UTF8, 0, pUtf8, cb, wide, w);
    wide[converted > 0 ? converted : 0] = L'\0';

    DWORD code = 0;
    const int m = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (m == 0)
    {
        code = FAIL_AT(ReportErrorW(LastErrorCode(), nullptr), L"UTF8toMultiByte()");
    }
    else
    {
        char* text = new (std::nothrow) char[static_cast<size_t>(m)];
        if (!text)
        {
            code = FAIL_AT(ReportErrorW(ERROR_NOT_ENOUGH_MEMORY, nullptr), L"UTF8toMultiByte()");
        }
        else
        {
            const int written = WideCharToMultiByte(CP_ACP, 0, wide, -1, text, m, nullptr, nullptr);
            // The terminator is part of the converted length; keep one even
            // if the conversion stopped short.
            text[written > 0 ? written - 1 : 0] = '\0';
            *ppszText = text;
        }
    }
    delete[] wide;
    return code;
}
