// The update check of the information page: fetch the maker's small XML
// answer, compare the version it announces with this module's own, and offer
// the download when it is newer. Exactly one message box per run.
#include "CDlgInfoSetting.h"

#include "resource.h"

#include <XmlParser.h>
#include <libmerrow/error.h>
#include <libmerrow/string.h>
#include <libmerrow/web.h>

#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <initializer_list>

namespace
{
// Only this much of the answer is looked at.
constexpr DWORD kAnswerLimit = 1023;

// The answer's version text read into its four parts: each part the way
// wcstol reads a number at the start of what remains (0 without digits), cut
// to its low 16 bits; the next part begins after the next ".".
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

// Newer when, at the first part that differs, the answer's part is greater.
bool IsNewer(const WORD answer[4], const WORD installed[4])
{
    for (int i = 0; i < 4; ++i)
    {
        if (answer[i] != installed[i])
            return answer[i] > installed[i];
    }
    return false;
}

// The download address comes from the network, and ShellExecuteW would run
// whatever it names: only a web address is ever opened.
bool IsWebAddress(const wchar_t* address)
{
    return address && (_wcsnicmp(address, L"http://", 7) == 0 || _wcsnicmp(address, L"https://", 8) == 0);
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
} // namespace

void CDlgInfoSetting::CheckForUpdate()
{
    CheckForUpdateAt(TARVIK_UPDATE_URL);
}

void CDlgInfoSetting::CheckForUpdateAt(const wchar_t* updateUrl)
{
    char* body = nullptr;
    DWORD size = 0;
    wchar_t* text = nullptr;
    XmlElem* root = nullptr;
    bool offered = false;

    if (DownloadContentToBuffer(L"GET", updateUrl, L"", kContentEncodingNone, -1, -1, &body, &size) != 0)
    {
        DebugPrintW(L"Can not request %s url", updateUrl);
    }
    else
    {
        char answer[kAnswerLimit + 1];
        const DWORD used = size > kAnswerLimit ? kAnswerLimit : size;
        if (body && used)
            std::memcpy(answer, body, used);
        answer[used] = '\0';
        if (MultiByteToTChar(answer, &text) == 0)
            root = ParseXmlText(text, nullptr);
        const wchar_t* version = nullptr;
        const wchar_t* address = nullptr;
        if (!root)
        {
            DebugPrintW(L"Can not parse xml from %s", updateUrl);
        }
        else if (FindAnswer(root, &version, &address))
        {
            const WORD installed[4] = {m_wMajor1, m_wMajor2, m_wMinor1, m_wMinor2};
            WORD announced[4];
            ReadVersion(version, announced);
            if (!IsNewer(announced, installed))
            {
                // Nothing newer: the closing message says so.
            }
            else if (!IsWebAddress(address))
            {
                DebugPrintW(L"The download address is not a web address: %s", address);
            }
            else
            {
                offered = true;
                if (ShowMessage(m_hWnd, IDS_NEWER_VERSION, IDS_CAPTION_INFORMATION, MB_OKCANCEL) == IDOK)
                    ShellExecuteW(m_hWnd, L"open", address, nullptr, nullptr, SW_SHOW);
            }
        }
    }
    if (!offered)
        ShowMessage(m_hWnd, IDS_NO_NEWER_VERSION, IDS_CAPTION_INFORMATION, MB_OK);

    delete[] body;
    FreeXmlElem(root);
    delete[] text;
}
