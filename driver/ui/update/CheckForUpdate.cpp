#include "update/CheckForUpdate.h"

#include <XmlParser.h>
#include <libmerrow/error.h>
#include <libmerrow/string.h>
#include <libmerrow/web.h>

#include <wininet.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <initializer_list>
#include <iterator>
#include <memory>

namespace
{
// Only this much of the answer is looked at.
constexpr DWORD kAnswerLimit = 1023;

// The answer's version text read into its four parts.
void ReadVersion(const wchar_t* text, WORD parts[4])
{
    parts[0] = parts[1] = parts[2] = parts[3] = 0;
    for (int i = 0; i < 4 && text; ++i)
    {
        parts[i] = static_cast<WORD>(std::wcstol(text, nullptr, 10) & 0xFFFF);
        text = std::wcschr(text, L'.');
        if (text)
            ++text;
    }
}

// The text of an element's first entry, or null when it has none.
const wchar_t* FirstEntryText(XmlElem* elem)
{
    return elem && elem->entryCount > 0 ? XmlEntryText(&elem->entries[0]) : nullptr;
}

// The version and download address of a parsed answer; false (after its
// debug line) when the answer does not hold them.
bool FindAnswer(XmlElem* root, const wchar_t** version, const wchar_t** address)
{
    XmlElem* current = nullptr;
    if (root && root->entryCount > 0 && root->entries[0].kind == XML_ENTRY_ELEM)
        current = root->entries[0].elem;
    for (const wchar_t* name : {L"kastrel", L"product", L"tarvik7", L"workflow"})
    {
        current = current ? FindXmlElem(current, name) : nullptr;
        if (!current)
        {
            DebugPrintW(L"Can not find %s node", name);
            return false;
        }
    }
    XmlElem* versionElem = FindXmlElem(current, L"version");
    XmlElem* addressElem = FindXmlElem(current, L"downloadurl");
    *version = FirstEntryText(versionElem);
    *address = FirstEntryText(addressElem);
    if (!*version || !*address)
    {
        DebugPrintW(L"Can not find version node or downloadurl");
        return false;
    }
    return true;
}
struct TreeDeleter
{
    void operator()(XmlElem* root) const { FreeXmlElem(root); }
};
} // namespace

bool IsNewerVersion(const wchar_t* announced, const WORD installed[4])
{
    WORD parts[4];
    ReadVersion(announced, parts);
    for (int i = 0; i < 4; ++i)
    {
        if (parts[i] != installed[i])
            return parts[i] > installed[i];
    }
    return false;
}

bool IsWebAddress(const wchar_t* address)
{
    if (!address)
        return false;
    const size_t length = std::wcslen(address);
    if (length == 0 || length > INTERNET_MAX_URL_LENGTH)
        return false;
    // Spaces and control characters as the platform classes them, beyond
    // ASCII too (C1 controls, no-break and ideographic spaces, line
    // separators).
    WORD types[INTERNET_MAX_URL_LENGTH];
    if (!GetStringTypeW(CT_CTYPE1, address, static_cast<int>(length), types))
        return false;
    for (size_t i = 0; i < length; ++i)
    {
        if ((types[i] & (C1_CNTRL | C1_SPACE | C1_BLANK)) || address[i] == L'"' || address[i] == L'\'')
            return false;
    }
    // Cracked by the platform, as the browser will read it.
    wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = L"";
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
    if (!InternetCrackUrlW(address, static_cast<DWORD>(length), 0, &parts))
        return false;
    return (parts.nScheme == INTERNET_SCHEME_HTTP || parts.nScheme == INTERNET_SCHEME_HTTPS) && host[0] != L'\0';
}

UpdateCheckResult CheckForUpdate(const wchar_t* updateUrl, const WORD installed[4])
{
    UpdateCheckResult result;
    char* received = nullptr;
    DWORD size = 0;
    if (const DWORD rc =
            DownloadContentToBuffer(L"GET", updateUrl, L"", kContentEncodingNone, -1, -1, &received, &size))
    {
        DebugPrintW(L"Can not request %s url", updateUrl);
        result.error = rc;
        return result;
    }
    const std::unique_ptr<char[]> body(received);
    char answer[kAnswerLimit + 1];
    const DWORD used = size > kAnswerLimit ? kAnswerLimit : size;
    if (body && used)
        std::memcpy(answer, body.get(), used);
    answer[used] = '\0';
    wchar_t* converted = nullptr;
    const bool readable = MultiByteToTChar(answer, &converted) == 0;
    const std::unique_ptr<wchar_t[]> text(converted);
    const std::unique_ptr<XmlElem, TreeDeleter> root(readable ? ParseXmlText(text.get(), nullptr) : nullptr);
    const wchar_t* version = nullptr;
    const wchar_t* address = nullptr;
    if (!root)
    {
        DebugPrintW(L"Can not parse xml from %s", updateUrl);
        result.error = ERROR_INVALID_DATA;
    }
    else if (!FindAnswer(root.get(), &version, &address))
    {
        result.error = ERROR_NOT_FOUND;
    }
    else if (!IsNewerVersion(version, installed))
    {
        result.outcome = UpdateOutcome::kNotNewer;
    }
    else if (!IsWebAddress(address))
    {
        DebugPrintW(L"The download address is not a web address: %s", address);
        result.error = ERROR_INVALID_DATA;
    }
    else
    {
        result.outcome = UpdateOutcome::kNewer;
        result.address = address;
    }
    return result;
}
