// The parser: a tokenizer and a recursive element-body parse that builds the
// tree as it reads.
//
// The rules are lenient on purpose (see XmlParser.h). The parse keeps its
// whole state in one XmlParser object, reads the input strictly up to its
// terminator, and stops at the first error it records: the tree built so far
// is then released by ParseXmlText, so a caller sees either a whole tree or
// none.
#include "XmlParser.h"
#include "XmlChars.h"
#include "XmlTree.h"

#include <climits>

using xmlchars::CopyChars;
using xmlchars::IsWhite;

namespace
{
enum TokenKind
{
    TOKEN_TEXT = 0,
    TOKEN_QUOTED = 1,
    TOKEN_OPEN = 2,        // "<"
    TOKEN_END_OPEN = 3,    // "</"
    TOKEN_CLOSE = 4,       // ">"
    TOKEN_EQUALS = 5,      // "="
    TOKEN_DECL_OPEN = 6,   // "<?"
    TOKEN_EMPTY_CLOSE = 7, // "/>"
    TOKEN_RAW_OPEN = 8,    // an opening marker of the raw-section table
    TOKEN_END = 9,         // end of input, or an error recorded by the tokenizer
};

struct Token
{
    TokenKind kind;
    size_t start; // index of the token's first character
    size_t size;  // characters that belong to the token
    const XmlRawMarkers* markers;
};

// A run of the input: a tag or end-tag name waiting to be dealt with by an
// enclosing element. An empty span means none.
struct Span
{
    size_t start;
    size_t length;
};

size_t TextLength(const wchar_t* text)
{
    size_t n = 0;
    while (text[n])
        ++n;
    return n;
}
} // namespace

class XmlParser
{
  public:
    explicit XmlParser(const wchar_t* text) : m_text(text), m_markers(g_xmlRawMarkers) {}

    // Parses the whole input into root. Returns the error code.
    int32_t Parse(XmlElem* root)
    {
        _ParseBody(root, 0);
        return m_error;
    }

    size_t Position() const { return m_pos; }

  private:
    // What a child's body parse means for the element that holds it.
    enum Outcome
    {
        OUTCOME_STOP,     // an error or the end of the input
        OUTCOME_RETURN,   // this element is closed as well
        OUTCOME_CONTINUE, // read on in this element's content
    };

    // Records the first error only: what the caller sees is where the parse
    // first went wrong, not a consequence of it.
    void _Fail(int32_t code)
    {
        if (m_error == XML_ERROR_NONE)
            m_error = code;
    }

    // Whether the tag name at span begins with elem's name. The tag must be at
    // least as long as the name; no character past the tag is read.
    bool _BeginsWithName(const Span& span, const XmlElem* elem) const
    {
        if (!elem->name)
            return false;
        const size_t length = TextLength(elem->name);
        return span.length >= length && xmlchars::SameNoCase(m_text + span.start, elem->name, length);
    }

    Token _NextToken();
    bool _ParseBody(XmlElem* elem, int32_t depth);
    Outcome _ParseChildren(XmlElem* elem, XmlElem* child, int32_t depth);
    XmlElem* _AddChild(XmlElem* elem, const Span& name, uint32_t isDeclaration, int32_t depth);
    bool _AddSpan(XmlElem* elem, size_t start, size_t end);
    bool _AddAttr(XmlElem* elem, const Span& name, const Span* value);
    bool _AddRawSection(XmlElem* elem, const XmlRawMarkers* markers);

    const wchar_t* m_text;
    size_t m_pos = 0;
    int32_t m_error = XML_ERROR_NONE;
    Span m_pendingEndTag = {0, 0};
    Span m_pendingName = {0, 0};
    bool m_firstCall = true;
    const XmlRawMarkers* m_markers;
};

Token XmlParser::_NextToken()
{
    while (IsWhite(m_text[m_pos]))
        ++m_pos;
    Token token = {TOKEN_END, m_pos, 0, nullptr};
    const wchar_t* at = m_text + m_pos;
    if (*at == L'\0')
        return token;

    for (const XmlRawMarkers* row = m_markers; row->opening; ++row)
    {
        if (xmlchars::BeginsWithNoCase(at, row->opening))
        {
            token.kind = TOKEN_RAW_OPEN;
            token.size = TextLength(row->opening);
            token.markers = row;
            m_pos += token.size;
            return token;
        }
    }

    switch (*at)
    {
    case L'"':
    case L'\'': {
        size_t end = m_pos + 1;
        while (m_text[end] && m_text[end] != *at)
            ++end;
        if (m_text[end] == L'\0')
        {
            m_pos = end;
            _Fail(XML_ERROR_UNMATCHED_QUOTE);
            token.start = end;
            return token;
        }
        token.kind = TOKEN_QUOTED;
        token.size = end + 1 - m_pos;
        m_pos = end + 1;
        return token;
    }
    case L'<':
        token.kind = TOKEN_OPEN;
        token.size = 1;
        if (at[1] == L'/')
            token.kind = TOKEN_END_OPEN;
        else if (at[1] == L'?')
            token.kind = TOKEN_DECL_OPEN;
        if (token.kind != TOKEN_OPEN)
            token.size = 2;
        m_pos += token.size;
        return token;
    case L'=':
    case L'>':
        token.kind = *at == L'=' ? TOKEN_EQUALS : TOKEN_CLOSE;
        token.size = 1;
        ++m_pos;
        return token;
    case L'/':
        if (at[1] == L'>')
        {
            token.kind = TOKEN_EMPTY_CLOSE;
            token.size = 2;
            m_pos += 2;
            return token;
        }
        break;
    default:
        break;
    }

    // Text: up to the end, a white space (taken but not counted), "<", "=",
    // ">" or "/>" (left for the next token).
    token.kind = TOKEN_TEXT;
    for (;;)
    {
        const wchar_t c = m_text[m_pos];
        if (c == L'\0' || c == L'<' || c == L'=' || c == L'>' || (c == L'/' && m_text[m_pos + 1] == L'>'))
            break;
        if (IsWhite(c))
        {
            token.size = m_pos - token.start;
            ++m_pos;
            return token;
        }
        ++m_pos;
    }
    token.size = m_pos - token.start;
    return token;
}

XmlElem* XmlParser::_AddChild(XmlElem* elem, const Span& name, uint32_t isDeclaration, int32_t depth)
{
    if (depth >= kXmlMaxDepth)
    {
        _Fail(XML_ERROR_TOO_DEEP);
        return nullptr;
    }
    wchar_t* copy = CopyChars(m_text + name.start, name.length);
    XmlElem* child = copy ? AddXmlElem(elem, copy, isDeclaration) : nullptr;
    if (!child)
        _Fail(XML_ERROR_NO_MEMORY);
    return child;
}

// Adds the input from start to end, less trailing white space, as a text.
bool XmlParser::_AddSpan(XmlElem* elem, size_t start, size_t end)
{
    while (end > start && IsWhite(m_text[end - 1]))
        --end;
    wchar_t* value = CopyChars(m_text + start, end - start);
    if (value && AddXmlTextNode(elem, value))
        return true;
    _Fail(XML_ERROR_NO_MEMORY);
    return false;
}

bool XmlParser::_AddAttr(XmlElem* elem, const Span& name, const Span* value)
{
    wchar_t* nameCopy = CopyChars(m_text + name.start, name.length);
    wchar_t* valueCopy = nullptr;
    if (nameCopy && value)
    {
        valueCopy = CopyChars(m_text + value->start, value->length);
        if (!valueCopy)
        {
            FreeXmlText(nameCopy);
            nameCopy = nullptr;
        }
    }
    if (nameCopy && AddXmlAttr(elem, nameCopy, valueCopy))
        return true;
    _Fail(XML_ERROR_NO_MEMORY);
    return false;
}

// The position is just past the opening marker; the content runs up to the
// first exact occurrence of the closing marker.
bool XmlParser::_AddRawSection(XmlElem* elem, const XmlRawMarkers* markers)
{
    const wchar_t* closing = markers->closing;
    const size_t closingLength = TextLength(closing);
    for (size_t at = m_pos; m_text[at]; ++at)
    {
        size_t n = 0;
        while (n < closingLength && m_text[at + n] == closing[n])
            ++n;
        if (n < closingLength)
            continue;
        wchar_t* content = CopyChars(m_text + m_pos, at - m_pos);
        if (!content || !AddXmlRawSection(elem, content, markers))
        {
            _Fail(XML_ERROR_NO_MEMORY);
            return false;
        }
        m_pos = at + closingLength;
        return true;
    }
    _Fail(XML_ERROR_UNMATCHED_END_TAG);
    return false;
}

// Parses child's body, then deals with what it left pending: an end tag that
// did not close it, or the name of a start tag that closed it and opens a
// sibling. Siblings opened that way are parsed here in a loop, not by
// recursion, so a long run of them costs no stack.
XmlParser::Outcome XmlParser::_ParseChildren(XmlElem* elem, XmlElem* child, int32_t depth)
{
    for (;;)
    {
        if (!_ParseBody(child, depth + 1))
            return OUTCOME_STOP;
        if (m_pendingEndTag.length)
        {
            if (depth == 0)
            {
                _Fail(XML_ERROR_UNMATCHED_END_TAG);
                return OUTCOME_STOP;
            }
            if (_BeginsWithName(m_pendingEndTag, elem))
                m_pendingEndTag = {0, 0};
            return OUTCOME_RETURN;
        }
        if (!m_pendingName.length)
            return OUTCOME_CONTINUE;
        if (_BeginsWithName(m_pendingName, elem))
            return OUTCOME_RETURN;
        child = _AddChild(elem, m_pendingName, 0, depth);
        m_pendingName = {0, 0};
        if (!child)
            return OUTCOME_STOP;
    }
}

// The body of one element. Returns true when the element is closed and the
// caller may go on, false when the parse must stop (an error was recorded or
// the input ended).
bool XmlParser::_ParseBody(XmlElem* elem, int32_t depth)
{
    // The root starts in its content; any other element right after its name,
    // where its attributes follow.
    bool content = m_firstCall;
    m_firstCall = false;

    enum AttrState
    {
        NAME_EXPECTED,
        AFTER_NAME,
        VALUE_EXPECTED,
    } attrState = NAME_EXPECTED;
    Span attrName = {0, 0};
    const bool declaration = elem->isDeclaration != 0;

    const size_t kNoText = SIZE_MAX;
    size_t pendingText = kNoText;

    for (;;)
    {
        const Token token = _NextToken();
        if (token.kind == TOKEN_END)
            return false;

        if (!content)
        {
            switch (attrState)
            {
            case NAME_EXPECTED:
                if (token.kind == TOKEN_TEXT)
                {
                    attrName = {token.start, token.size};
                    attrState = AFTER_NAME;
                }
                else if (token.kind == TOKEN_CLOSE)
                    content = true;
                else if (token.kind == TOKEN_EMPTY_CLOSE)
                    return true;
                else
                {
                    _Fail(XML_ERROR_UNEXPECTED_TOKEN);
                    return false;
                }
                break;
            case AFTER_NAME:
                if (token.kind == TOKEN_TEXT)
                {
                    if (!_AddAttr(elem, attrName, nullptr))
                        return false;
                    attrName = {token.start, token.size};
                }
                else if (token.kind == TOKEN_CLOSE || token.kind == TOKEN_EMPTY_CLOSE)
                {
                    // "<?xml version='1.0'?>" leaves a lone "?" as a name.
                    if (declaration && m_text[attrName.start + attrName.length - 1] == L'?')
                        --attrName.length;
                    if (attrName.length && !_AddAttr(elem, attrName, nullptr))
                        return false;
                    if (token.kind == TOKEN_EMPTY_CLOSE)
                        return true;
                    content = true;
                }
                else if (token.kind == TOKEN_EQUALS)
                    attrState = VALUE_EXPECTED;
                else
                {
                    _Fail(XML_ERROR_UNEXPECTED_TOKEN);
                    return false;
                }
                break;
            case VALUE_EXPECTED:
                if (token.kind == TOKEN_TEXT || token.kind == TOKEN_QUOTED)
                {
                    Span value = {token.start, token.size};
                    if (declaration && m_text[value.start + value.length - 1] == L'?')
                        --value.length;
                    if (token.kind == TOKEN_QUOTED)
                        value = {value.start + 1, value.length - 2};
                    if (!_AddAttr(elem, attrName, &value))
                        return false;
                    attrState = NAME_EXPECTED;
                }
                else
                {
                    _Fail(XML_ERROR_UNEXPECTED_TOKEN);
                    return false;
                }
                break;
            }
            continue;
        }

        if (token.kind == TOKEN_TEXT || token.kind == TOKEN_QUOTED || token.kind == TOKEN_EQUALS)
        {
            if (pendingText == kNoText)
                pendingText = token.start;
            continue;
        }
        if (token.kind == TOKEN_CLOSE || token.kind == TOKEN_EMPTY_CLOSE)
        {
            _Fail(XML_ERROR_UNEXPECTED_TOKEN);
            return false;
        }

        // Every other token ends a run of text.
        if (pendingText != kNoText)
        {
            if (!_AddSpan(elem, pendingText, token.start))
                return false;
            pendingText = kNoText;
        }

        if (token.kind == TOKEN_RAW_OPEN)
        {
            if (!_AddRawSection(elem, token.markers))
                return false;
            continue;
        }

        const Token name = _NextToken();
        if (token.kind == TOKEN_END_OPEN)
        {
            const Token close = name.kind == TOKEN_TEXT ? _NextToken() : name;
            if (name.kind != TOKEN_TEXT || close.kind != TOKEN_CLOSE)
            {
                _Fail(XML_ERROR_MISSING_END_NAME);
                return false;
            }
            if (depth == 0)
            {
                _Fail(XML_ERROR_UNMATCHED_END_TAG);
                return false;
            }
            const Span endTag = {name.start, name.size};
            if (!_BeginsWithName(endTag, elem))
                m_pendingEndTag = endTag;
            return true;
        }

        // "<" or "<?": a start tag.
        if (name.kind != TOKEN_TEXT)
        {
            _Fail(XML_ERROR_MISSING_START_NAME);
            return false;
        }
        const Span tagName = {name.start, name.size};
        if (_BeginsWithName(tagName, elem))
        {
            m_pendingName = tagName;
            return true;
        }
        XmlElem* child = _AddChild(elem, tagName, token.kind == TOKEN_DECL_OPEN ? 1 : 0, depth);
        if (!child)
            return false;
        const Outcome outcome = _ParseChildren(elem, child, depth);
        if (outcome == OUTCOME_STOP)
            return false;
        if (outcome == OUTCOME_RETURN)
            return true;
    }
}

XmlElem* ParseXmlText(const wchar_t* text, XmlParseStatus* status)
{
    int32_t code = XML_ERROR_NONE;
    size_t position = 0;
    XmlElem* root = nullptr;
    if (!text)
        code = XML_ERROR_NO_DATA;
    else if (!(root = AddXmlElem(nullptr, nullptr, 0)))
        code = XML_ERROR_NO_MEMORY;
    else
    {
        XmlParser parser(text);
        code = parser.Parse(root);
        position = parser.Position();
        if (code != XML_ERROR_NONE)
        {
            FreeXmlElem(root);
            root = nullptr;
        }
    }

    if (status)
    {
        status->code = code;
        if (code != XML_ERROR_NONE)
        {
            // Counted once, at the end, so that a successful parse pays
            // nothing for it. A carriage return counts as a column.
            int32_t line = 1;
            int32_t column = 1;
            for (size_t i = 0; i < position; ++i)
            {
                if (text[i] == L'\n')
                {
                    line += line < INT32_MAX;
                    column = 1;
                }
                else
                    column += column < INT32_MAX;
            }
            status->line = line;
            status->column = column;
        }
    }
    return root;
}
