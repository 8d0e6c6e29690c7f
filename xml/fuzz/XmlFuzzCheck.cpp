// libFuzzer entry (it also replays the corpus): properties that hold for every
// input. Aborts with a message on the first violation.
#include "XmlParser.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>

namespace
{
void Require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "xml check failed: %s\n", what);
    std::abort();
}

bool IsWhite(wchar_t c)
{
    return c && std::wcschr(L"\t\n\r ", c);
}

// Whether text begins with prefix, ASCII case ignored.
bool BeginsWith(const wchar_t* text, const wchar_t* prefix)
{
    const auto fold = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c + 32 : c; };
    for (; *prefix; ++text, ++prefix)
        if (fold(*text) != fold(*prefix))
            return false;
    return true;
}

// Entries counted within capacity, children linked back, names as the
// tokenizer cuts them, texts trimmed, a child never named like the start of
// its parent (such a tag opens a sibling), the first child found by its own
// name, and no deeper than the cap.
void CheckElem(XmlElem* elem, int depth)
{
    Require(depth <= kXmlMaxDepth, "nesting deeper than the cap");
    Require(elem->entryCount >= 0 && elem->entryCount <= elem->entryCapacity, "entry count outside capacity");
    Require((elem->entryCapacity == 0) == (elem->entries == nullptr), "entry array without capacity");
    bool firstChild = true;
    for (int32_t i = 0; i < elem->entryCount; ++i)
    {
        const XmlEntry& entry = elem->entries[i];
        Require(entry.node != nullptr, "entry without node");
        if (entry.kind == XML_ENTRY_ATTR)
        {
            Require(depth > 0, "attribute on the root");
            Require(entry.attr->name && *entry.attr->name, "attribute without name");
        }
        else if (entry.kind == XML_ENTRY_ELEM)
        {
            XmlElem* child = entry.elem;
            Require(child->parent == elem, "child not linked to its parent");
            Require(child->name && *child->name, "element without name");
            for (const wchar_t* c = child->name; *c; ++c)
                Require(!IsWhite(*c) && *c != L'<' && *c != L'>' && *c != L'=', "name holds a delimiter");
            Require(!elem->name || !BeginsWith(child->name, elem->name), "child named like its parent");
            // A name holding "/" is a path.
            if (firstChild && !std::wcschr(child->name, L'/'))
                Require(FindXmlElem(elem, child->name) == child, "FindXmlElem misses the first child");
            firstChild = false;
            CheckElem(child, depth + 1);
        }
        else if (entry.kind == XML_ENTRY_TEXT)
        {
            const wchar_t* value = entry.text->value;
            Require(value && *value, "empty text");
            Require(!IsWhite(value[0]) && !IsWhite(value[std::wcslen(value) - 1]), "text not trimmed");
        }
        else
        {
            Require(entry.kind == XML_ENTRY_RAW, "entry of unknown kind");
            Require(entry.raw->content != nullptr, "raw section without content");
            const XmlRawMarkers* row = g_xmlRawMarkers;
            while (row->opening && (row->opening != entry.raw->opening || row->closing != entry.raw->closing))
                ++row;
            Require(row->opening != nullptr, "raw markers outside the table");
            Require(std::wcsstr(entry.raw->content, entry.raw->closing) == nullptr, "raw content holds its closing");
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Exactly as long as the text and its terminator, so that a read past
    // the terminator is an out-of-bounds read for the address sanitizer.
    std::unique_ptr<wchar_t[]> text(new wchar_t[size + 1]);
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<wchar_t>(data[i]);
    text[size] = L'\0';
    const size_t length = std::wcslen(text.get());

    XmlParseStatus status = {-1, -1, -1};
    const std::unique_ptr<XmlElem, decltype(&FreeXmlElem)> root(ParseXmlText(text.get(), &status), FreeXmlElem);
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
        return 0;
    }
    Require(status.code == XML_ERROR_NONE, "tree with an error code");
    Require(!root->name && !root->parent && !root->isDeclaration, "root with a name, parent or flag");
    CheckElem(root.get(), 0);
    FindXmlElem(root.get(), L"kastrel/product/tarvik7/workflow/version");
    return 0;
}
