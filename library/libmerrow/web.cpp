#include "libmerrow/web.h"

#include "libmerrow/error.h"
#include "libmerrow/scoped.h"
#include "libmerrow/string.h"

#include <wininet.h>

#include <memory>
#include <new>
#include <string.h>
#include <wchar.h>

namespace
{
const wchar_t kFunction[] = L"DownloadContentToBuffer()";

// Working storage of one call; the sizes are the limits of the operation
// (characters, terminator included).
constexpr DWORD kSchemeCapacity = 32;
constexpr DWORD kHostCapacity = 256;
constexpr DWORD kUserCapacity = 128;
constexpr DWORD kPasswordCapacity = 128;
constexpr DWORD kUrlPathCapacity = 2084;
constexpr size_t kObjectNameCapacity = 4096;
constexpr size_t kHeaderCapacity = 1024;
// Status code, content type and content length are read into one buffer of
// this many bytes, one after the other.
constexpr DWORD kHeaderQueryBytes = 128;
constexpr size_t kCharsetCapacity = kHeaderQueryBytes / sizeof(wchar_t);

// Nothing of an update check may come from or go into the cache.
constexpr DWORD kRequestFlags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
// The maker's server may sit behind any certificate; the content is checked
// by its reader, not by the channel.
constexpr DWORD kSecurityFlags = SECURITY_FLAG_IGNORE_REVOCATION | SECURITY_FLAG_IGNORE_UNKNOWN_CA |
                                 SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID |
                                 SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTPS | SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTP;
// A body of unannounced length is gathered in a buffer that starts this
// large and doubles, so copying stays proportional to the body's size.
constexpr size_t kFirstBodyCapacity = 0x80000;

// Everything one call opens or allocates, released on every path when it
// goes out of scope: the request first, the session last (members are
// destroyed in reverse order).
struct Exchange
{
    ScopedInternet hSession;
    ScopedInternet hConnect;
    ScopedInternet hRequest;
    std::unique_ptr<wchar_t[]> pszPostText; // the POST body as UTF-16
    std::unique_ptr<char[]> pszPostBody;    // the same in the ANSI code page
    std::unique_ptr<char[]> pBody;          // the response body
    DWORD cbBody = 0;
};

// The refusal of a body larger than the download limit, before anything of
// that size is allocated.
DWORD TooLarge()
{
    return PASS_ON(ReportErrorW(ERROR_FILE_TOO_LARGE, L"The answer is larger than %u bytes",
                                static_cast<unsigned>(kDownloadLimit)),
                   kFunction);
}

// The cracked URL, in the fixed buffers of the operation.
struct CrackedUrl
{
    wchar_t szScheme[kSchemeCapacity];
    wchar_t szHost[kHostCapacity];
    wchar_t szUser[kUserCapacity];
    wchar_t szPassword[kPasswordCapacity];
    wchar_t szPath[kUrlPathCapacity]; // with the query: no extra-info buffer is given
    URL_COMPONENTSW parts;
};

BOOL CrackUrl(const wchar_t* pszUrl, CrackedUrl& url)
{
    ZeroMemory(&url, sizeof(url));
    url.parts.dwStructSize = sizeof(url.parts);
    url.parts.lpszScheme = url.szScheme;
    url.parts.dwSchemeLength = kSchemeCapacity;
    url.parts.lpszHostName = url.szHost;
    url.parts.dwHostNameLength = kHostCapacity;
    url.parts.lpszUserName = url.szUser;
    url.parts.dwUserNameLength = kUserCapacity;
    url.parts.lpszPassword = url.szPassword;
    url.parts.dwPasswordLength = kPasswordCapacity;
    url.parts.lpszUrlPath = url.szPath;
    url.parts.dwUrlPathLength = kUrlPathCapacity;
    return InternetCrackUrlW(pszUrl, static_cast<DWORD>(wcslen(pszUrl)), 0, &url.parts);
}

DWORD ServiceOf(INTERNET_SCHEME scheme)
{
    if (scheme == INTERNET_SCHEME_FTP)
        return INTERNET_SERVICE_FTP;
    if (scheme == INTERNET_SCHEME_GOPHER)
        return INTERNET_SERVICE_GOPHER;
    return INTERNET_SERVICE_HTTP;
}

// Appends `count` characters of `text` at `*length`; false when the result
// with its terminator would not fit.
bool Append(wchar_t* buffer, size_t capacity, size_t* length, const wchar_t* text, size_t count)
{
    if (count >= capacity - *length)
        return false;
    wmemcpy(buffer + *length, text, count);
    *length += count;
    buffer[*length] = L'\0';
    return true;
}

// GET: the URL path with its query, then "?" or "&" as needed, then the
// parameters, so a GET without parameters still ends in the separator.
DWORD BuildGetObjectName(const wchar_t* pszPath, const wchar_t* pszParameters, wchar_t* pszObject)
{
    size_t length = 0;
    pszObject[0] = L'\0';
    const size_t pathLength = wcslen(pszPath);
    bool fits = Append(pszObject, kObjectNameCapacity, &length, pszPath, pathLength);
    if (fits && !wcschr(pszPath, L'?'))
        fits = Append(pszObject, kObjectNameCapacity, &length, L"?", 1);
    else if (fits && (pathLength == 0 || pszPath[pathLength - 1] != L'&'))
        fits = Append(pszObject, kObjectNameCapacity, &length, L"&", 1);
    if (fits)
        fits = Append(pszObject, kObjectNameCapacity, &length, pszParameters, wcslen(pszParameters));
    if (!fits)
        return FAIL_AT(ReportErrorW(ERROR_INSUFFICIENT_BUFFER, L"Can not request %s URL", pszPath), kFunction);
    return 0;
}

// POST: the path up to its first "?" is the object name; the query after it
// leads the body, joined to the parameters by "&".
DWORD BuildPostRequest(const wchar_t* pszPath, const wchar_t* pszParameters, wchar_t* pszObject,
                       std::unique_ptr<wchar_t[]>* ppszPostText)
{
    const wchar_t* question = wcschr(pszPath, L'?');
    const size_t pathLength = question ? static_cast<size_t>(question - pszPath) : wcslen(pszPath);
    const wchar_t* query = question ? question + 1 : L"";
    const size_t queryLength = wcslen(query);
    const size_t parametersLength = wcslen(pszParameters);

    size_t length = 0;
    pszObject[0] = L'\0';
    if (!Append(pszObject, kObjectNameCapacity, &length, pszPath, pathLength))
        return FAIL_AT(ReportErrorW(ERROR_INSUFFICIENT_BUFFER, L"Can not request %s URL", pszPath), kFunction);

    const size_t capacity = queryLength + parametersLength + 5;
    std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[capacity]);
    if (!text)
        return FAIL_AT(ReportErrorW(ERROR_NOT_ENOUGH_MEMORY, nullptr), kFunction);
    size_t textLength = 0;
    text[0] = L'\0';
    Append(text.get(), capacity, &textLength, query, queryLength);
    if (queryLength > 0 && query[queryLength - 1] != L'&')
        Append(text.get(), capacity, &textLength, L"&", 1);
    Append(text.get(), capacity, &textLength, pszParameters, parametersLength);
    *ppszPostText = std::move(text);
    return 0;
}

// The POST body goes out in the ANSI code page, without its terminator.
DWORD ConvertPostBody(const wchar_t* pszText, std::unique_ptr<char[]>* ppszBody, DWORD* pcbBody)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, pszText, -1, nullptr, 0, nullptr, nullptr);
    if (size == 0)
        return FAIL_AT(ReportErrorW(LastErrorCode(), nullptr), kFunction);
    std::unique_ptr<char[]> body(new (std::nothrow) char[static_cast<size_t>(size)]);
    if (!body)
        return FAIL_AT(ReportErrorW(ERROR_NOT_ENOUGH_MEMORY, nullptr), kFunction);
    const int written = WideCharToMultiByte(CP_ACP, 0, pszText, -1, body.get(), size, nullptr, nullptr);
    if (written == 0)
        return FAIL_AT(ReportErrorW(LastErrorCode(), nullptr), kFunction);
    *ppszBody = std::move(body);
    *pcbBody = static_cast<DWORD>(written - 1);
    return 0;
}

// "Range: bytes=start-" or "Range: bytes=start-end", then the form type;
// header lines end in a line feed only.
void BuildHeaders(DWORD dwEncoding, LONGLONG llRangeStart, LONGLONG llRangeEnd, wchar_t* pszHeaders)
{
    size_t length = 0;
    pszHeaders[0] = L'\0';
    if (llRangeStart > 0 || llRangeEnd > 0)
    {
        // A bound of 0 or less is one the caller did not give: an open end
        // asks for the rest of the content, a missing start for its first byte.
        const int n = llRangeEnd > 0
                          ? FormatTextW(pszHeaders, kHeaderCapacity, _TRUNCATE, L"Range: bytes=%I64d-%I64d\n",
                                        llRangeStart > 0 ? llRangeStart : 0, llRangeEnd)
                          : FormatTextW(pszHeaders, kHeaderCapacity, _TRUNCATE, L"Range: bytes=%I64d-\n", llRangeStart);
        length = n > 0 ? static_cast<size_t>(n) : 0;
    }
    if (dwEncoding == kContentEncodingUrlForm)
    {
        const wchar_t formType[] = L"Content-Type: application/x-www-form-urlencoded\n";
        Append(pszHeaders, kHeaderCapacity, &length, formType, wcslen(formType));
    }
}

// Reads a body whose length the response announced: never more than that,
// and the size reported is the announced one even if the body falls short.
DWORD ReadAnnouncedBody(HINTERNET hRequest, ULONGLONG announced, std::unique_ptr<char[]>* ppBody, DWORD* pcbBody)
{
    // The server decides the announced length: it must not decide how much
    // memory the application takes.
    if (announced > kDownloadLimit)
        return TooLarge();
    const DWORD size = static_cast<DWORD>(announced);
    std::unique_ptr<char[]> body(new (std::nothrow) char[size == 0 ? 1 : size]);
    if (!body)
        return PASS_ON(ReportErrorW(ERROR_NOT_ENOUGH_MEMORY, nullptr), kFunction);

    DWORD offset = 0;
    while (offset < size)
    {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(hRequest, &available, 0, 0))
            return FAIL_AT(ReportErrorW(LastErrorCode(), nullptr), kFunction);
        const DWORD room = size - offset;
        DWORD read = 0;
        if (!InternetReadFile(hRequest, body.get() + offset, available < room ? available : room, &read))
            return FAIL_AT(ReportErrorW(LastErrorCode(), nullptr), kFunction);
        if (read == 0)
            break;
        offset += read;
    }
    // A body shorter than announced: the missing end reads as zeros.
    memset(body.get() + offset, 0, size - offset);
    *ppBody = std::move(body);
    *pcbBody = size;
    return 0;
}

// Reads a body of unannounced length until the server has no more, the
// buffer doubling as it fills. An empty body leaves no buffer at all.
DWORD ReadUnannouncedBody(HINTERNET hRequest, std::unique_ptr<char[]>* ppBody, DWORD* pcbBody)
{
    std::unique_ptr<char[]> body;
    size_t size = 0;
    size_t capacity = 0;
    for (;;)
    {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(hRequest, &available, 0, 0))
            return FAIL_AT(ReportErrorW(LastErrorCode(), nullptr), kFunction);
        if (size + available > kDownloadLimit)
            return TooLarge();
        if (size + available > capacity)
        {
            size_t grown = capacity ? capacity : kFirstBodyCapacity;
            while (size + available > grown)
                grown *= 2;
            if (grown > kDownloadLimit)
                grown = kDownloadLimit;
            std::unique_ptr<char[]> larger(new (std::nothrow) char[grown]);
            if (!larger)
                return FAIL_AT(ReportErrorW(ERROR_NOT_ENOUGH_MEMORY, nullptr), kFunction);
            if (size > 0)
                memcpy(larger.get(), body.get(), size);
            body = std::move(larger);
            capacity = grown;
        }
        // With nothing announced as ready the read below only confirms the end.
        char none = 0;
        DWORD read = 0;
        if (!InternetReadFile(hRequest, body ? body.get() + size : &none, available, &read))
            return FAIL_AT(ReportErrorW(LastErrorCode(), nullptr), kFunction);
        if (read == 0)
            break;
        size += read;
    }
    *ppBody = std::move(body);
    *pcbBody = static_cast<DWORD>(size);
    return 0;
}

// Upper-cases the ASCII letters of a header value in place.
void UpperAscii(wchar_t* psz)
{
    for (; *psz; ++psz)
    {
        if (*psz >= L'a' && *psz <= L'z')
            *psz = static_cast<wchar_t>(*psz - L'a' + L'A');
    }
}

// One exchange from the cracked URL to the received body; what `ex` holds is
// released with it.
DWORD Download(const wchar_t* pszMethod, const wchar_t* pszUrl, const wchar_t* pszParameters, DWORD dwEncoding,
               LONGLONG llRangeStart, LONGLONG llRangeEnd, Exchange& ex)
{
    CrackedUrl url;
    if (!CrackUrl(pszUrl, url))
        return FAIL_FROM(L"InternetCrackUrl()", ReportErrorW(LastErrorCode(), L"Can not parse URL"), kFunction);

    ex.hSession.Reset(InternetOpenW(L"libAPI", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!ex.hSession)
        return FAIL_FROM(L"InternetOpen()", ReportErrorW(LastErrorCode(), L"Can not open internet session"), kFunction);

    // The URL's user name and password are not passed on.
    ex.hConnect.Reset(InternetConnectW(ex.hSession.Get(), url.szHost, url.parts.nPort, nullptr, nullptr,
                                       ServiceOf(url.parts.nScheme), 0, 0));
    if (!ex.hConnect)
        return FAIL_FROM(L"InternetOpenUrl()", ReportErrorW(LastErrorCode(), L"Can not connect host"), kFunction);

    wchar_t szObject[kObjectNameCapacity];
    const bool post = _wcsicmp(pszMethod, L"POST") == 0;
    DWORD code = 0;
    if (_wcsicmp(pszMethod, L"GET") == 0)
        code = BuildGetObjectName(url.szPath, pszParameters, szObject);
    else if (post)
        code = BuildPostRequest(url.szPath, pszParameters, szObject, &ex.pszPostText);
    else
        code = PASS_ON(ReportErrorW(ERROR_NOT_SUPPORTED, L"%s method is not supported", pszMethod), kFunction);
    if (code != 0)
        return code;

    const bool secure = url.parts.nScheme == INTERNET_SCHEME_HTTPS;
    ex.hRequest.Reset(HttpOpenRequestW(ex.hConnect.Get(), pszMethod, szObject, L"HTTP/1.0", nullptr, nullptr,
                                       kRequestFlags | (secure ? INTERNET_FLAG_SECURE : 0), 0));
    if (!ex.hRequest)
        return PASS_ON(ReportErrorW(LastErrorCode(), L"Can not request %s URL", szObject), kFunction);
    if (secure)
    {
        DWORD flags = kSecurityFlags;
        InternetSetOptionW(ex.hRequest.Get(), INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof(flags));
    }

    wchar_t szHeaders[kHeaderCapacity];
    BuildHeaders(dwEncoding, llRangeStart, llRangeEnd, szHeaders);
    const DWORD headersLength = static_cast<DWORD>(wcslen(szHeaders));

    DWORD cbPostBody = 0;
    if (post)
    {
        code = ConvertPostBody(ex.pszPostText.get(), &ex.pszPostBody, &cbPostBody);
        if (code != 0)
            return code;
    }

    if (!HttpSendRequestW(ex.hRequest.Get(), headersLength ? szHeaders : nullptr, headersLength, ex.pszPostBody.get(),
                          cbPostBody))
        return FAIL_FROM(L"HttpSendRequest()", ReportErrorW(LastErrorCode(), L"Can not request URL"), kFunction);

    wchar_t szQuery[kHeaderQueryBytes / sizeof(wchar_t)] = {};
    DWORD cbQuery = kHeaderQueryBytes;
    if (!HttpQueryInfoW(ex.hRequest.Get(), HTTP_QUERY_STATUS_CODE, szQuery, &cbQuery, nullptr))
        return FAIL_FROM(L"HttpQueryInfo()",
                         ReportErrorW(LastErrorCode(), L"Can not get status code from HTTP response header"),
                         kFunction);
    const DWORD status = wcstoul(szQuery, nullptr, 10);
    if (status == HTTP_STATUS_NOT_FOUND)
        return PASS_ON(ReportErrorW(ERROR_NOT_FOUND, L"There is no %s file", pszUrl), kFunction);
    if (status != HTTP_STATUS_OK && status != HTTP_STATUS_PARTIAL_CONTENT && status != HTTP_STATUS_NOT_MODIFIED)
        return PASS_ON(ReportErrorW(ERROR_HTTP_INVALID_QUERY_REQUEST, L"%d is invalid response from web server",
                                    static_cast<int>(status)),
                       kFunction);

    // A response without a content type (or with one too long for the query
    // buffer) is taken as it comes.
    wchar_t szCharset[kCharsetCapacity] = {};
    cbQuery = kHeaderQueryBytes;
    HttpQueryInfoW(ex.hRequest.Get(), HTTP_QUERY_CONTENT_TYPE, szQuery, &cbQuery, nullptr);
    szQuery[kCharsetCapacity - 1] = L'\0';
    UpperAscii(szQuery);
    if (const wchar_t* charset = wcsstr(szQuery, L"CHARSET="))
        wcsncpy(szCharset, charset + 8, kCharsetCapacity - 1);

    cbQuery = kHeaderQueryBytes;
    if (HttpQueryInfoW(ex.hRequest.Get(), HTTP_QUERY_CONTENT_LENGTH, szQuery, &cbQuery, nullptr))
        code = ReadAnnouncedBody(ex.hRequest.Get(), _wcstoui64(szQuery, nullptr, 10), &ex.pBody, &ex.cbBody);
    else
        code = ReadUnannouncedBody(ex.hRequest.Get(), &ex.pBody, &ex.cbBody);
    if (code != 0)
        return code;

    // A body declared as UTF-8 is handed over in the ANSI code page, the
    // encoding the module's readers expect. An empty body has nothing to
    // convert.
    if (wcsncmp(szCharset, L"UTF-8", 5) == 0 && ex.cbBody > 0)
    {
        char* text = nullptr;
        code = UTF8toMultiByte(ex.pBody.get(), ex.cbBody, &text);
        if (code != 0)
            return PASS_ON(code, kFunction);
        ex.pBody.reset(text);
        ex.cbBody = static_cast<DWORD>(strlen(text));
    }
    return 0;
}
} // namespace

DWORD DownloadContentToBuffer(const wchar_t* pszMethod, const wchar_t* pszUrl, const wchar_t* pszParameters,
                              DWORD dwEncoding, LONGLONG llRangeStart, LONGLONG llRangeEnd, char** ppBuffer,
                              DWORD* pdwSize)
{
    if (!IsValidStringPtr(pszMethod) || !IsValidStringPtr(pszUrl) || !IsValidStringPtr(pszParameters) ||
        !IsValidBuffer(ppBuffer, sizeof(char*)) || !IsValidBuffer(pdwSize, sizeof(DWORD)))
        return PASS_ON(ReportErrorW(ERROR_INVALID_PARAMETER, nullptr), kFunction);

    if (_wcsicmp(pszMethod, L"POST") == 0 && dwEncoding == kContentEncodingNone)
        return PASS_ON(ReportErrorW(ERROR_INVALID_PARAMETER, L"POST method must use url encoding"), kFunction);

    Exchange ex;
    const DWORD code = Download(pszMethod, pszUrl, pszParameters, dwEncoding, llRangeStart, llRangeEnd, ex);
    if (code != 0)
        return code;
    *ppBuffer = ex.pBody.release();
    *pdwSize = ex.cbBody;
    return 0;
}
