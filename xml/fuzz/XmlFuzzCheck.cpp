// Properties that hold for every input, whatever the fuzzer makes of it.
#include "XmlFuzzCheck.h"

#include "XmlParser.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>

namespace
{
[[noreturn]] void Violation(const char* what)
{
    std::fprintf(stderr, "xml check failed: %s\n", what);
    std::abort();
}

void Require(bool condition, const char* what)
{
    if (!condition)
        Violation(what);
}

bool IsWhite(wchar_t c)
{
    return c == L'\t' || c == L'\n' || c == L'\r' || c == L' ';
}

wchar_t Fold(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
}

// Whether text begins with prefix, ASCII case ignored.
bool BeginsWith(const wchar_t* text, const wchar_t* prefix)
{
    for (; *prefix; ++text, ++prefix)
    {
        if (Fold(*text) != Fold(*prefix))
            return false;
    }
    return true;
}

bool IsTableMarkers(const wchar_t* opening, const wchar_t* closing)
{
    for (const XmlRawMarkers* row = g_xmlRawMarkers; row->opening; ++row)
    {
        if (row->opening == opening && row->closing == closing)
            return true;
    }
    return false;
}

// The shape every parsed element has: counted entries within capacity, no
// array when empty, children linked back, names as the tokenizer cuts them,
// texts trimmed, a child never named like the start of its parent (such a tag
// opens a sibling), and no deeper than the cap.
void CheckElem(XmlElem* elem, int depth)
{
    Require(depth <= kXmlMaxDepth, "nesting deeper than the cap");
    Require(elem->entryCount >= 0 && elem->entryCount <= elem->entryCapacity, "entry count outside capacity");
    Require((elem->entryCapacity == 0) == (elem->entries == nullptr), "entry array without capacity");
    for (int32_t i = 0; i < elem->entryCount; ++i)
    {
        const XmlEntry& entry = elem->entries[i];
        Require(entry.node != nullptr, "entry without node");
        switch (entry.kind)
        {
        case XML_ENTRY_ATTR:
            Require(depth > 0, "attribute on the root");
            Require(entry.attr->name && *entry.attr->name, "attribute without name");
            break;
        case XML_ENTRY_ELEM: {
            XmlElem* child = entry.elem;
            Require(child->parent == elem, "child not linked to its parent");
            Require(child->name && *child->name, "element without name");
            for (const wchar_t* c = child->name; *c; ++c)
                Require(!IsWhite(*c) && *c != L'<' && *c != L'>' && *c != L'=', "name holds a delimiter");
            Require(!elem->name || !BeginsWith(child->name, elem->name), "child named like its parent");
            CheckElem(child, depth + 1);
            break;
        }
        case XML_ENTRY_TEXT: {
            const wchar_t* value = entry.text->value;
            Require(value && *value, "empty text");
            Require(!IsWhite(value[0]) && !IsWhite(value[std::wcslen(value) - 1]), "text not trimmed");
            break;
        }
        case XML_ENTRY_RAW:
            Require(entry.raw->content != nullptr, "raw section without content");
            Require(IsTableMarkers(entry.raw->opening, entry.raw->closing), "raw markers outside the table");
            Require(std::wcsstr(entry.raw->content, entry.raw->closing) == nullptr, "raw content holds its closing");
            break;
        default:
            Violation("entry of unknown kind");
        }
    }

    // The first child is found by its own name (a name holding "/" is a path).
    for (int32_t i = 0; i < elem->entryCount; ++i)
    {
        if (elem->entries[i].kind != XML_ENTRY_ELEM)
            continue;
        XmlElem* first = elem->entries[i].elem;
        if (!std::wcschr(first->name, L'/'))
            Require(FindXmlElem(elem, first->name) == first, "FindXmlElem misses the first child");
        break;
    }
}

struct TreeDeleter
{
    void operator()(XmlElem* elem) const { FreeXmlElem(elem); }
};
using Tree = std::unique_ptr<XmlElem, TreeDeleter>;
} // namespace

void CheckXmlInput(const uint8_t* data, size_t size)
{
    // Exactly as long as the text and its terminator, so that a read past
    // the terminator is an out-of-bounds read for the address sanitizer.
    std::unique_ptr<wchar_t[]> text(new wchar_t[size + 1]);
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<wchar_t>(data[i]);
    text[size] = L'\0';
    const size_t length = std::wcslen(text.get());

    XmlParseStatus status = {-1, -1, -1};
    Tree root(ParseXmlText(text.get(), &status));
    if (!root)
    {
        Require((status.code >= XML_ERROR_MISSING_START_NAME && status.code <= XML_ERROR_UNEXPECTED_TOKEN) ||
                    status.code == XML_ERROR_TOO_DEEP,
                "failure with a code the parse never gives");
        Require(std::wcscmp(GetXmlErrorText(status.code), L"Unknown") != 0, "error code without text");
        size_t lines = 1;
        for (size_t i = 0; i < length; ++i)
            lines += text[i] == L'\n';
        Require(status.line >= 1 && static_cast<size_t>(status.line) <= lines, "error line outside the text");
        Require(status.column >= 1 && static_cast<size_t>(status.column) <= length + 1, "error column outside");
        return;
    }
    Require(status.code == XML_ERROR_NONE, "tree with an error code");
    Require(!root->name && !root->parent && !root->isDeclaration, "root with a name, parent or flag");
    CheckElem(root.get(), 0);
    FindXmlElem(root.get(), L"kastrel/product/tarvik7/workflow/version");
}
