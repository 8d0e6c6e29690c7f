// A one-line picture of a tree for the parser's tests, and owners that release
// trees and texts whatever a test's outcome.
#pragma once

#include "XmlParser.h"

#include <memory>
#include <string>

namespace xmltest
{
// One line per tree, so a whole expected tree fits in a table row:
//   element      name{entries} or name when it has none; "?" before the name
//                of a declaration
//   attribute    @name or @name=value
//   text         'value'
//   raw section  the opening marker, the content and the closing marker
inline std::wstring Dump(const XmlElem* elem);

inline std::wstring DumpEntries(const XmlElem* elem)
{
    std::wstring out;
    for (int32_t i = 0; i < elem->entryCount; ++i)
    {
        const XmlEntry& entry = elem->entries[i];
        if (i)
            out += L",";
        switch (entry.kind)
        {
        case XML_ENTRY_ATTR:
            out += L"@" + std::wstring(entry.attr->name);
            if (entry.attr->value)
                out += L"=" + std::wstring(entry.attr->value);
            break;
        case XML_ENTRY_ELEM:
            out += Dump(entry.elem);
            break;
        case XML_ENTRY_TEXT:
            out += L"'" + std::wstring(entry.text->value) + L"'";
            break;
        case XML_ENTRY_RAW:
            out += std::wstring(entry.raw->opening) + entry.raw->content + entry.raw->closing;
            break;
        default:
            out += L"<empty>";
            break;
        }
    }
    return out;
}

inline std::wstring Dump(const XmlElem* elem)
{
    if (!elem->name)
        return DumpEntries(elem);
    std::wstring out = (elem->isDeclaration ? L"?" : L"") + std::wstring(elem->name);
    if (elem->entryCount)
        out += L"{" + DumpEntries(elem) + L"}";
    return out;
}

// A table row of the tests: an input and what is expected of it.
struct TextRow
{
    const wchar_t* input;
    const wchar_t* expected;
};

struct TreeDeleter
{
    void operator()(XmlElem* elem) const { FreeXmlElem(elem); }
};
using Tree = std::unique_ptr<XmlElem, TreeDeleter>;

struct TextDeleter
{
    void operator()(wchar_t* text) const { FreeXmlText(text); }
};
using Text = std::unique_ptr<wchar_t[], TextDeleter>;
} // namespace xmltest
