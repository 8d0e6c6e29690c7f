// The element tree: builders, release and lookup by path.
//
// Every node and text is allocated with the non-throwing operator new, so a
// short heap shows up as a null result that the caller can act on. A builder
// either links its new node completely or leaves the tree as it was.
#include "XmlParser.h"
#include "XmlChars.h"
#include "XmlTree.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <new>

using xmlchars::CopyChars;
using xmlchars::SameNoCase;

wchar_t* xmlchars::CopyChars(const wchar_t* text, size_t length)
{
    if (length >= SIZE_MAX / sizeof(wchar_t))
        return nullptr;
    wchar_t* copy = new (std::nothrow) wchar_t[length + 1];
    if (!copy)
        return nullptr;
    if (length)
        std::memcpy(copy, text, length * sizeof(wchar_t));
    copy[length] = L'\0';
    return copy;
}

namespace
{
// Releases the node of a non-element entry and everything it owns, and
// marks the slot empty.
void ReleaseLeaf(XmlEntry& entry)
{
    switch (entry.kind)
    {
    case XML_ENTRY_ATTR:
        delete[] entry.attr->name;
        delete[] entry.attr->value;
        delete entry.attr;
        break;
    case XML_ENTRY_TEXT:
        delete[] entry.text->value;
        delete entry.text;
        break;
    case XML_ENTRY_RAW:
        delete[] entry.raw->content;
        delete entry.raw;
        break;
    default:
        break;
    }
    entry.kind = XML_ENTRY_EMPTY;
    entry.node = nullptr;
}

// Releases an element whose entries are already gone.
void ReleaseShell(XmlElem* elem)
{
    delete[] elem->entries;
    delete[] elem->name;
    delete elem;
}

// The next free slot of elem, growing the entry array when it is full. The
// slot is not counted until the caller has put a node into it, so a failure
// after this call leaves the element as it was.
XmlEntry* ReserveEntry(XmlElem* elem)
{
    if (elem->entryCount == elem->entryCapacity)
    {
        // The first array has kXmlFirstCapacity slots; after that the
        // capacity doubles. Growing by a fixed step would copy the whole
        // array every few entries, which makes a long list of siblings
        // quadratic.
        int32_t step = kXmlFirstCapacity;
        if (step < elem->entryCapacity)
            step = elem->entryCapacity;
        if (elem->entryCapacity > INT32_MAX - step)
            return nullptr;
        const int32_t capacity = elem->entryCapacity + step;
        XmlEntry* grown = new (std::nothrow) XmlEntry[capacity];
        if (!grown)
            return nullptr;
        for (int32_t i = 0; i < elem->entryCount; ++i)
            grown[i] = elem->entries[i];
        delete[] elem->entries;
        elem->entries = grown;
        elem->entryCapacity = capacity;
    }
    XmlEntry* slot = &elem->entries[elem->entryCount];
    slot->kind = XML_ENTRY_EMPTY;
    slot->node = nullptr;
    return slot;
}

// The first child element of elem whose name begins with the `length`
// characters at segment.
XmlElem* FindChild(XmlElem* elem, const wchar_t* segment, size_t length)
{
    for (int32_t i = 0; i < elem->entryCount; ++i)
    {
        const XmlEntry& entry = elem->entries[i];
        if (entry.kind == XML_ENTRY_ELEM && entry.elem->name && SameNoCase(entry.elem->name, segment, length))
            return entry.elem;
    }
    return nullptr;
}

// Walks a path one segment at a time; a segment without a match ends it.
XmlElem* WalkPath(XmlElem* elem, const wchar_t* path)
{
    if (!elem || !path)
        return nullptr;
    const wchar_t* segment = path;
    for (;;)
    {
        size_t length = 0;
        while (segment[length] && segment[length] != L'/')
            ++length;
        if (length == 0)
            return nullptr;
        XmlElem* match = FindChild(elem, segment, length);
        if (!match)
            return nullptr;
        segment += length;
        if (*segment == L'/')
            ++segment;
        if (*segment == L'\0')
            return match;
        elem = match;
    }
}
} // namespace

void FreeXmlText(wchar_t* text)
{
    delete[] text;
}

void FreeXmlElem(XmlElem* elem)
{
    if (!elem)
        return;
    // Released from the last entry backwards without recursion, so that a
    // deep tree made by the builders cannot exhaust the stack: an element
    // entry is unlinked and descended into, and its shell released once it
    // is empty.
    XmlElem* current = elem;
    for (;;)
    {
        if (current->entryCount > 0)
        {
            XmlEntry& last = current->entries[--current->entryCount];
            if (last.kind == XML_ENTRY_ELEM)
            {
                XmlElem* child = last.elem;
                last.kind = XML_ENTRY_EMPTY;
                last.node = nullptr;
                child->parent = current;
                current = child;
            }
            else
            {
                ReleaseLeaf(last);
            }
            continue;
        }
        XmlElem* up = current == elem ? nullptr : current->parent;
        ReleaseShell(current);
        if (!up)
            return;
        current = up;
    }
}

XmlElem* AddXmlElem(XmlElem* parent, wchar_t* name, uint32_t isDeclaration)
{
    // Only a root goes without a name; a missing one here is a failed copy.
    XmlEntry* slot = (parent && name) ? ReserveEntry(parent) : nullptr;
    XmlElem* elem = (slot || !parent) ? new (std::nothrow) XmlElem() : nullptr;
    if (!elem)
    {
        delete[] name;
        return nullptr;
    }
    elem->name = name;
    elem->isDeclaration = isDeclaration;
    elem->parent = parent;
    if (slot)
    {
        slot->kind = XML_ENTRY_ELEM;
        slot->elem = elem;
        ++parent->entryCount;
    }
    return elem;
}

XmlAttr* AddXmlAttr(XmlElem* elem, wchar_t* name, wchar_t* value)
{
    XmlEntry* slot = (elem && name) ? ReserveEntry(elem) : nullptr;
    XmlAttr* attr = slot ? new (std::nothrow) XmlAttr() : nullptr;
    if (!attr)
    {
        delete[] name;
        delete[] value;
        return nullptr;
    }
    attr->name = name;
    attr->value = value;
    slot->kind = XML_ENTRY_ATTR;
    slot->attr = attr;
    ++elem->entryCount;
    return attr;
}

XmlTextNode* AddXmlTextNode(XmlElem* elem, wchar_t* value)
{
    XmlEntry* slot = (elem && value) ? ReserveEntry(elem) : nullptr;
    XmlTextNode* text = slot ? new (std::nothrow) XmlTextNode() : nullptr;
    if (!text)
    {
        delete[] value;
        return nullptr;
    }
    text->value = value;
    slot->kind = XML_ENTRY_TEXT;
    slot->text = text;
    ++elem->entryCount;
    return text;
}

XmlRawSection* AddXmlRawSection(XmlElem* elem, wchar_t* content, const XmlRawMarkers* markers)
{
    XmlEntry* slot = (elem && content && markers) ? ReserveEntry(elem) : nullptr;
    XmlRawSection* raw = slot ? new (std::nothrow) XmlRawSection() : nullptr;
    if (!raw)
    {
        delete[] content;
        return nullptr;
    }
    raw->opening = markers->opening;
    raw->closing = markers->closing;
    raw->content = content;
    slot->kind = XML_ENTRY_RAW;
    slot->raw = raw;
    ++elem->entryCount;
    return raw;
}

XmlElem* FindXmlElem(XmlElem* elem, const wchar_t* path)
{
    return WalkPath(elem, path);
}

const wchar_t* XmlEntryText(const XmlEntry* entry)
{
    if (!entry)
        return nullptr;
    switch (entry->kind)
    {
    case XML_ENTRY_ATTR:
        return entry->attr->name;
    case XML_ENTRY_ELEM:
        return entry->elem->name;
    case XML_ENTRY_TEXT:
        return entry->text->value;
    case XML_ENTRY_RAW:
        return entry->raw->opening;
    default:
        return nullptr;
    }
}
