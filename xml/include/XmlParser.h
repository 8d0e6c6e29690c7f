// A small, lenient, non-validating XML parser and the element tree it builds.
//
// The parser reads a NUL-terminated UTF-16 text (wchar_t on Windows; the same
// code compiles natively for fuzzing, where wchar_t is wider) into a tree of
// elements, attributes, texts and raw sections. It is deliberately forgiving,
// because the documents it reads come from web servers that do not always
// write well-formed XML:
//
// - Names are compared without regard to the case of ASCII letters, and by
//   their beginning: a tag matches an element when the tag's name begins with
//   the element's name.
// - Entity and character references are kept as written.
// - Elements still open at the end of the input are accepted.
// - A start tag whose name begins with the name of the open element closes it
//   and opens a sibling.
// - Comments, CDATA, <PRE>, <Script> and <!DOCTYPE sections are copied
//   verbatim up to their closing marker.
// - An XML declaration becomes an element that stays open, so the rest of the
//   document nests inside it.
//
// Every text in the tree is owned by the tree; FreeXmlElem on the root
// releases everything. Nothing here throws: allocation failures are reported
// through the return values and the parse status.
#pragma once

#include <cstddef>
#include <cstdint>

// Deepest nesting of elements the parser accepts below the root. The parse
// recurses once per open element, so hostile input must not choose the depth.
constexpr int32_t kXmlMaxDepth = 256;

enum XmlEntryKind : int32_t
{
    XML_ENTRY_EMPTY = 0, // a slot whose node was moved out or released
    XML_ENTRY_ATTR = 1,
    XML_ENTRY_ELEM = 2,
    XML_ENTRY_TEXT = 3,
    XML_ENTRY_RAW = 4,
};

enum XmlErrorCode : int32_t
{
    XML_ERROR_NONE = 0,
    XML_ERROR_NO_DATA = 1,
    XML_ERROR_FIRST_NOT_START_TAG = 2,
    XML_ERROR_MISSING_START_NAME = 3,
    XML_ERROR_MISSING_END_NAME = 4,
    XML_ERROR_UNMATCHED_QUOTE = 5,
    XML_ERROR_UNMATCHED_END_TAG = 6,
    XML_ERROR_UNEXPECTED_TOKEN = 7,
    XML_ERROR_INVALID_TAG = 8,
    XML_ERROR_NO_ELEMENTS = 9,
    XML_ERROR_TOO_DEEP = 10,
    XML_ERROR_NO_MEMORY = 11,
};

// One row of the raw-section table: the opening marker (matched without
// regard to ASCII case) and the closing marker (matched exactly).
struct XmlRawMarkers
{
    const wchar_t* opening;
    const wchar_t* closing;
};

// The raw-section rows in the order the tokenizer tries them, ended by a row
// without markers: CDATA, PRE, Script, comment, DOCTYPE.
extern const XmlRawMarkers g_xmlRawMarkers[];
constexpr int kXmlRawCData = 0;
constexpr int kXmlRawPre = 1;
constexpr int kXmlRawScript = 2;
constexpr int kXmlRawComment = 3;
constexpr int kXmlRawDoctype = 4;

struct XmlElem;

struct XmlAttr
{
    wchar_t* name;
    wchar_t* value; // null for an attribute written without "="
};

struct XmlTextNode
{
    wchar_t* value;
};

struct XmlRawSection
{
    const wchar_t* opening; // both markers point into g_xmlRawMarkers
    const wchar_t* closing;
    wchar_t* content; // everything between the markers, verbatim
};

// Each node type begins with a text pointer, so XmlEntryText can name any
// entry by its first text.
struct XmlEntry
{
    XmlEntryKind kind;
    union {
        void* node;
        XmlAttr* attr;
        XmlElem* elem;
        XmlTextNode* text;
        XmlRawSection* raw;
    };
};

struct XmlElem
{
    wchar_t* name;          // as written, case kept; null for the document root
    int32_t entryCount;     // entries in use
    int32_t entryCapacity;  // entries allocated
    uint32_t isDeclaration; // 1 for an element opened by "<?"
    XmlEntry* entries;      // attributes, children, texts, raw sections in document order
    XmlElem* parent;        // not owned; null for a root
};

// What a caller may ask back from a parse. line and column are 1-based and
// are written only when code is not 0.
struct XmlParseStatus
{
    int32_t code;
    int32_t line;
    int32_t column;
};

// Parses the whole text. Returns the root (no name, no parent), owned by the
// caller, or null on failure; status (optional) receives the code, and on
// failure the line and column where the parse stopped.
XmlElem* ParseXmlText(const wchar_t* text, XmlParseStatus* status);

// Releases the element, everything below it and the element itself. Meant for
// a root: a child released this way stays listed in its parent. Null is
// accepted.
void FreeXmlElem(XmlElem* elem);

// The element reached from elem by a path of names separated by "/": each
// segment matches the first child whose name begins with it (ASCII case
// ignored), with no backtracking. A final "/" is ignored; an empty segment,
// like "a//b" or "/a", finds nothing.
XmlElem* FindXmlElem(XmlElem* elem, const wchar_t* path);

// The text of an error code, "Unknown" for a code not in the table.
const wchar_t* GetXmlErrorText(int32_t code);

// The first text of an entry's node: an attribute's or element's name, a
// text's value, a raw section's opening marker. Null for an empty entry.
const wchar_t* XmlEntryText(const XmlEntry* entry);
