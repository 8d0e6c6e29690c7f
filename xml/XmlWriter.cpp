// Writing a tree back as text.
//
// The walk keeps its own stack instead of recursing, so a deep tree made by
// the builders cannot exhaust the thread's stack; the output grows
// geometrically, so writing stays linear in the size of the tree.
#include "XmlParser.h"

#include "XmlChars.h"

#include <cstring>
#include <cwchar>
#include <new>

namespace
{
// A growable output text. After the first failed allocation every append is
// ignored and Take() gives null.
class XmlWriter
{
  public:
    ~XmlWriter() { delete[] m_text; }

    void Append(const wchar_t* text, size_t length)
    {
        if (m_failed || !_Reserve(length))
            return;
        if (length)
            std::memcpy(m_text + m_length, text, length * sizeof(wchar_t));
        m_length += length;
        m_text[m_length] = L'\0';
    }

    void Append(const wchar_t* text)
    {
        if (text)
            Append(text, std::wcslen(text));
    }

    wchar_t* Take()
    {
        if (m_failed || !_Reserve(0))
            return nullptr;
        wchar_t* text = m_text;
        m_text = nullptr;
        return text;
    }

  private:
    bool _Reserve(size_t more)
    {
        if (m_text && m_capacity - m_length > more)
            return true;
        size_t capacity = m_capacity ? m_capacity : 256;
        while (capacity - m_length <= more)
        {
            if (capacity > SIZE_MAX / (2 * sizeof(wchar_t)))
            {
                m_failed = true;
                return false;
            }
            capacity *= 2;
        }
        wchar_t* grown = new (std::nothrow) wchar_t[capacity];
        if (!grown)
        {
            m_failed = true;
            return false;
        }
        if (m_text)
            std::memcpy(grown, m_text, (m_length + 1) * sizeof(wchar_t));
        else
            grown[0] = L'\0';
        delete[] m_text;
        m_text = grown;
        m_capacity = capacity;
        return true;
    }

    wchar_t* m_text = nullptr;
    size_t m_length = 0;
    size_t m_capacity = 0;
    bool m_failed = false;
};

bool HasContent(const XmlElem* elem)
{
    for (int32_t i = 0; i < elem->entryCount; ++i)
    {
        if (elem->entries[i].kind != XML_ENTRY_ATTR && elem->entries[i].kind != XML_ENTRY_EMPTY)
            return true;
    }
    return false;
}

// Whether anything but attributes follows entry `index` of elem.
bool HasContentAfter(const XmlElem* elem, int32_t index)
{
    for (int32_t i = index + 1; i < elem->entryCount; ++i)
    {
        if (elem->entries[i].kind != XML_ENTRY_ATTR && elem->entries[i].kind != XML_ENTRY_EMPTY)
            return true;
    }
    return false;
}

// Whether "<name>" would read back as the opening marker of a raw section
// ("<PRE>", "<Script>") instead of a start tag.
bool LooksLikeRawMarker(const wchar_t* name)
{
    const size_t length = std::wcslen(name);
    for (const XmlRawMarkers* row = g_xmlRawMarkers; row->opening; ++row)
    {
        const size_t markerLength = std::wcslen(row->opening);
        if (markerLength == length + 2 && row->opening[markerLength - 1] == L'>' &&
            xmlchars::SameNoCase(row->opening + 1, name, length))
            return true;
    }
    return false;
}

// Whether a value can be written without quotes: values are kept as written,
// so one that holds both quote characters can only have come from an
// unquoted run, and goes back the same way.
bool NeedsNoQuotes(const wchar_t* value)
{
    return std::wcschr(value, L'"') && std::wcschr(value, L'\'');
}

// Whether "<" directly before name would be read as something else: "</",
// "<?" or the opening marker of a raw section ("< !--x>" is an element).
bool StartNeedsSpace(const wchar_t* name)
{
    if (*name == L'/' || *name == L'?')
        return true;
    for (const XmlRawMarkers* row = g_xmlRawMarkers; row->opening; ++row)
    {
        if (xmlchars::BeginsWithNoCase(name, row->opening + 1))
            return true;
    }
    return false;
}

bool EndsWithSlash(const wchar_t* text)
{
    return text && *text && text[std::wcslen(text) - 1] == L'/';
}

void WriteStartTag(XmlWriter& out, const XmlElem* elem)
{
    out.Append(elem->isDeclaration ? L"<?" : L"<");
    if (!elem->isDeclaration && elem->name && StartNeedsSpace(elem->name))
        out.Append(L" ");
    out.Append(elem->name);
    // The last character written before the tag's end: a "/" there would
    // join the end into "/>" and end the tag early.
    wchar_t last = 0;
    if (elem->name && *elem->name)
        last = elem->name[std::wcslen(elem->name) - 1];
    bool anyAttr = false;
    for (int32_t i = 0; i < elem->entryCount; ++i)
    {
        if (elem->entries[i].kind != XML_ENTRY_ATTR)
            continue;
        const XmlAttr* attr = elem->entries[i].attr;
        anyAttr = true;
        out.Append(L" ");
        out.Append(attr->name);
        last = (attr->name && *attr->name) ? attr->name[std::wcslen(attr->name) - 1] : 0;
        if (!attr->value)
            continue;
        out.Append(L"=");
        if (*attr->value && NeedsNoQuotes(attr->value))
        {
            out.Append(attr->value);
            last = attr->value[std::wcslen(attr->value) - 1];
            // A declaration drops one final "?" from an unquoted value.
            if (elem->isDeclaration && last == L'?')
                out.Append(L"?");
            continue;
        }
        const wchar_t* quote = std::wcschr(attr->value, L'"') ? L"'" : L"\"";
        out.Append(quote);
        out.Append(attr->value);
        out.Append(quote);
        last = *quote;
    }
    if (elem->isDeclaration)
    {
        out.Append(L" ?>");
        return;
    }
    const bool content = HasContent(elem);
    if (last == L'/' || (content && !anyAttr && elem->name && LooksLikeRawMarker(elem->name)))
        out.Append(L" ");
    out.Append(content ? L">" : L"/>");
}

void WriteEndTag(XmlWriter& out, const XmlElem* elem)
{
    out.Append(L"</");
    out.Append(elem->name);
    out.Append(EndsWithSlash(elem->name) ? L" >" : L">");
}

// One open element of the walk and the index of its next entry.
struct Frame
{
    const XmlElem* elem;
    int32_t next;
};
// Whether anything will be written after the element just closed, whose
// enclosing elements are stack[0..depth): content of an enclosing element, or
// an end tag. A declaration closes only by an end tag; without one, whatever
// follows it would be read back inside it, and an end tag of an enclosing
// element that begins with its name would close it in that element's stead.
// The last declaration of a document needs none.
bool IsFollowed(const Frame* stack, size_t depth)
{
    while (depth > 0)
    {
        const Frame& frame = stack[--depth];
        if (HasContentAfter(frame.elem, frame.next - 1))
            return true;
        if (frame.elem->name && !frame.elem->isDeclaration)
            return true;
    }
    return false;
}
} // namespace

wchar_t* XmlElemToText(const XmlElem* elem)
{
    if (!elem)
        return nullptr;
    XmlWriter out;
    out.Append(L"", 0);

    Frame* stack = nullptr;
    size_t depth = 0;
    size_t capacity = 0;
    bool failed = false;

    // The first frame is elem itself; every other frame is an element entry
    // whose start tag has been written.
    auto push = [&](const XmlElem* e) {
        if (depth == capacity)
        {
            const size_t grown = capacity ? capacity * 2 : 16;
            Frame* frames = new (std::nothrow) Frame[grown];
            if (!frames)
                return false;
            for (size_t i = 0; i < depth; ++i)
                frames[i] = stack[i];
            delete[] stack;
            stack = frames;
            capacity = grown;
        }
        stack[depth++] = {e, 0};
        return true;
    };

    if (elem->name)
        WriteStartTag(out, elem);
    failed = !push(elem);
    while (!failed && depth > 0)
    {
        Frame& top = stack[depth - 1];
        if (top.next >= top.elem->entryCount)
        {
            const XmlElem* done = top.elem;
            --depth;
            if (done->name && (done->isDeclaration ? IsFollowed(stack, depth) : HasContent(done)))
                WriteEndTag(out, done);
            continue;
        }
        const XmlEntry& entry = top.elem->entries[top.next++];
        switch (entry.kind)
        {
        case XML_ENTRY_ELEM:
            WriteStartTag(out, entry.elem);
            failed = !push(entry.elem);
            break;
        case XML_ENTRY_TEXT:
            out.Append(entry.text->value);
            break;
        case XML_ENTRY_RAW:
            out.Append(entry.raw->opening);
            out.Append(entry.raw->content);
            out.Append(entry.raw->closing);
            break;
        default:
            break;
        }
    }
    delete[] stack;
    return failed ? nullptr : out.Take();
}
