#include "libmerrow/file.h"

#include "libmerrow/error.h"

#include <new>

namespace
{
// The pointer line shows the low 32 bits of each argument, enough to tell
// which one was null.
unsigned Low32(const void* p)
{
    return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(p));
}
} // namespace

DWORD GetFileVersion(const wchar_t* pszFulPath, WORD* pwMajor1, WORD* pwMajor2, WORD* pwMinor1, WORD* pwMinor2)
{
    if (!pszFulPath || !pwMajor1 || !pwMajor2 || !pwMinor1 || !pwMinor2)
    {
        const DWORD code = ReportErrorW(ERROR_INVALID_PARAMETER, nullptr);
        DebugPrintW(L"pszFulPath = %x, pwMajor1 = %x, pwMajor2 = %x, pwMinor1 = %x, pwMinor2 = %x", Low32(pszFulPath),
                    Low32(pwMajor1), Low32(pwMajor2), Low32(pwMinor1), Low32(pwMinor2));
        return PASS_ON(code, L"GetFileVersion()");
    }

    // No version information (or no readable file) is not a failure: the
    // caller's numbers stay as they were.
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(pszFulPath, &handle);
    if (size == 0)
        return 0;

    BYTE* info = new (std::nothrow) BYTE[size]();
    if (!info)
        return FAIL_AT(ReportErrorW(ERROR_NOT_ENOUGH_MEMORY, nullptr), L"GetFileVersion()");

    if (!GetFileVersionInfoW(pszFulPath, 0, size, info))
    {
        const DWORD code =
            FAIL_FROM(L"GetFileVersionInfo()", ReportErrorW(GetLastError(), L"Can not get %s file version", pszFulPath),
                      L"GetFileVersion()");
        delete[] info;
        return code;
    }

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(info, L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed &&
        length >= sizeof(VS_FIXEDFILEINFO))
    {
        *pwMajor1 = HIWORD(fixed->dwFileVersionMS);
        *pwMajor2 = LOWORD(fixed->dwFileVersionMS);
        *pwMinor1 = HIWORD(fixed->dwFileVersionLS);
        *pwMinor2 = LOWORD(fixed->dwFileVersionLS);
    }
    else
    {
        *pwMajor1 = 0;
        *pwMajor2 = 0;
        *pwMinor1 = 0;
        *pwMinor2 = 0;
    }
    delete[] info;
    return 0;
}
