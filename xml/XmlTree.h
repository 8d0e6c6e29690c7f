// How the parser builds the element tree (inside the parser only).
#pragma once

#include "XmlParser.h"

// Slots of an element's first entry array; later arrays double.
constexpr int32_t kXmlFirstCapacity = 5;

// Builders. Each appends one entry to elem and returns the new node. The
// texts passed in become the tree's, and on failure (null elem, no memory)
// they are released, so the caller never has to. A null name, text value or
// content is a failure too, so the result of a failed copy can be passed
// straight in; only an attribute's value may be null. AddXmlElem with a null
// parent makes a new root, which may have no name.
XmlElem* AddXmlElem(XmlElem* parent, wchar_t* name, uint32_t isDeclaration);
XmlAttr* AddXmlAttr(XmlElem* elem, wchar_t* name, wchar_t* value);
XmlTextNode* AddXmlTextNode(XmlElem* elem, wchar_t* value);
XmlRawSection* AddXmlRawSection(XmlElem* elem, wchar_t* content, const XmlRawMarkers* markers);

// Releases a text copied for the tree.
void FreeXmlText(wchar_t* text);
