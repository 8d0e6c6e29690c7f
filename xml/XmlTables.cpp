// The parser's two constant tables: the raw-section markers and the error
// texts. They are the only process-wide data of the parser.
#include "XmlParser.h"

const XmlRawMarkers g_xmlRawMarkers[] = {
    {L"<![CDATA[", L"]]>"}, {L"<PRE>", L"</PRE>"}, {L"<Script>", L"</Script>"},
    {L"<!--", L"-->"},      {L"<!DOCTYPE", L">"},  {nullptr, nullptr},
};

namespace
{
struct XmlErrorRow
{
    int32_t code;
    const wchar_t* text;
};

const XmlErrorRow g_xmlErrors[] = {
    {XML_ERROR_NONE, L"No error"},
    {XML_ERROR_NO_DATA, L"No XML data"},
    {XML_ERROR_FIRST_NOT_START_TAG, L"First token not start tag"},
    {XML_ERROR_MISSING_START_NAME, L"Missing start tag name"},
    {XML_ERROR_MISSING_END_NAME, L"Missing end tag name"},
    {XML_ERROR_UNMATCHED_QUOTE, L"Unmatched quote"},
    {XML_ERROR_UNMATCHED_END_TAG, L"Unmatched end tag"},
    {XML_ERROR_UNEXPECTED_TOKEN, L"Unexpected token found"},
    {XML_ERROR_INVALID_TAG, L"Invalid tag found"},
    {XML_ERROR_NO_ELEMENTS, L"No elements found"},
    {XML_ERROR_TOO_DEEP, L"Elements nested too deeply"},
    {XML_ERROR_NO_MEMORY, L"Not enough memory"},
    {0, nullptr},
};
} // namespace

const wchar_t* GetXmlErrorText(int32_t code)
{
    for (const XmlErrorRow* row = g_xmlErrors; row->text; ++row)
    {
        if (row->code == code)
            return row->text;
    }
    return L"Unknown";
}
