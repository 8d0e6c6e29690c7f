// The parser's dialect and the tree operations the update check relies on.
#include "HeapWatch.h"
#include "XmlParser.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

namespace
{
using Tree = std::unique_ptr<XmlElem, decltype(&FreeXmlElem)>;

// One line per tree: name{entries}, "?" before a declaration, @attr=value,
// 'text', and raw sections with their markers.
std::wstring Dump(const XmlElem* elem)
{
    std::wstring out;
    for (int32_t i = 0; i < elem->entryCount; ++i)
    {
        const XmlEntry& entry = elem->entries[i];
        out += i ? L"," : L"";
        if (entry.kind == XML_ENTRY_ATTR)
            out += L"@" + std::wstring(entry.attr->name) + (entry.attr->value ? L"=" : L"") +
                   (entry.attr->value ? entry.attr->value : L"");
        else if (entry.kind == XML_ENTRY_ELEM)
            out += Dump(entry.elem);
        else if (entry.kind == XML_ENTRY_TEXT)
            out += L"'" + std::wstring(entry.text->value) + L"'";
        else
            out += std::wstring(entry.raw->opening) + entry.raw->content + entry.raw->closing;
    }
    if (!elem->name)
        return out;
    return (elem->isDeclaration ? L"?" : L"") + std::wstring(elem->name) + (out.empty() ? L"" : L"{" + out + L"}");
}

// Parses a text that must be valid; line and column stay as they were.
Tree Parse(const wchar_t* text)
{
    XmlParseStatus status = {-1, -7, -7};
    Tree root(ParseXmlText(text, &status), FreeXmlElem);
    EXPECT_TRUE(root && status.code == 0 && status.line == -7 && status.column == -7)
        << status.code << " at " << status.line << ":" << status.column;
    return root;
}

// Each row: the input and its tree.
TEST(ParseXmlText, BuildsTheTreeOfTheDialect)
{
    const wchar_t* rows[][2] = {
        {L"<?xml version='1.0'?><a><b>1</b><c x/></a>", L"?xml{@version=1.0,a{b{'1'},c{@x}}}"},
        {L"<?xml?>", L"?xml?"},
        {L"<a b c=d e='f' g = 'h i' x='' y=\"'\">", L"a{@b,@c=d,@e=f,@g=h i,@x=,@y='}"},
        {L"<a>x<a>y</a>", L"a{'x'},a{'y'}"}, // a tag that begins with the open name opens a sibling
        {L"<A><b>x</B></a>tail<c/>", L"A{b{'x'}},'tail',c"},
        {L"<a><b><c></a><d/>", L"a{b{c}},d"},
        {L"<a>\r\n x &amp; y\t\r\n</a>", L"a{'x &amp; y'}"},
        {L"<a>x<b/>y</a><c><d>text", L"a{'x',b,'y'},c{d}"},
        {L"<!DOCTYPE html><a><![CDATA[<b>]]></a><!---->", L"<!DOCTYPE html>,a{<![CDATA[<b>]]>},<!---->"},
        {L"<SCRIPT>if (a<b) f();</Script>", L"<Script>if (a<b) f();</Script>"},
        {L" \t\r\n ", L""},
        {L"<a><?pi?></a>", L"a{?pi?}"},
        {L"< pre>x</pre>< /p>y</ /p>", L"pre{'x'},/p{'y'}"},
        {L"<a/ b>'q<' &amp;</a/ >", L"a/{@b,''q<' &amp;'}"},
        {L"<pre>x</PRE><![CDATA[]]>", L"<PRE>x</PRE>,<![CDATA[]]>"},
    };
    for (const auto& row : rows)
    {
        const Tree root = Parse(row[0]);
        ASSERT_NE(nullptr, root) << row[0];
        EXPECT_TRUE(root->name == nullptr && root->parent == nullptr);
        EXPECT_EQ(std::wstring(row[1]), Dump(root.get())) << row[0];
    }
}

TEST(ParseXmlText, ReportsTheErrorAndWhereItWasFound)
{
    // The text; the error, and the line and column where it was found.
    const std::tuple<const wchar_t*, int32_t, int32_t, int32_t> rows[] = {
        {nullptr, XML_ERROR_NO_DATA, 1, 1},
        {L"<a><ab>z</ab></a>", XML_ERROR_UNMATCHED_END_TAG, 1, 18},
        {L"<pre>x</pre>", XML_ERROR_UNMATCHED_END_TAG, 1, 6},
        {L"<a>\n<!-- open", XML_ERROR_UNMATCHED_END_TAG, 2, 5},
        {L"<a>1 > 2</a>", XML_ERROR_UNEXPECTED_TOKEN, 1, 7},
        {L"<a b='1' 'c'>", XML_ERROR_UNEXPECTED_TOKEN, 1, 13},
        {L"<a x='1>", XML_ERROR_UNMATCHED_QUOTE, 1, 9},
        {L"<a>\r\n'it", XML_ERROR_UNMATCHED_QUOTE, 2, 4},
        {L"<\n>", XML_ERROR_MISSING_START_NAME, 2, 2},
        {L"<?", XML_ERROR_MISSING_START_NAME, 1, 3},
        {L"<a></a", XML_ERROR_MISSING_END_NAME, 1, 7},
        {L"<a>\r\n  </ b c>", XML_ERROR_MISSING_END_NAME, 2, 9},
    };
    for (const auto& [text, code, line, column] : rows)
    {
        XmlParseStatus status = {-1, -1, -1};
        EXPECT_EQ(nullptr, ParseXmlText(text, &status));
        EXPECT_EQ(nullptr, ParseXmlText(text, nullptr));
        EXPECT_TRUE(code == status.code && line == status.line && column == status.column)
            << (text ? testing::PrintToString(std::wstring(text)) : "null") << ": " << status.code << " at "
            << status.line << ":" << status.column;
    }
    EXPECT_STREQ(L"Elements nested too deeply", GetXmlErrorText(XML_ERROR_TOO_DEEP));
    EXPECT_STREQ(L"Not enough memory", GetXmlErrorText(XML_ERROR_NO_MEMORY));
    EXPECT_STREQ(L"Unknown", GetXmlErrorText(-1));
}

TEST(ParseXmlText, NestingIsCappedBelowTheStackLimit)
{
    // Alternating names nest ("<a1>" does not begin with "a0").
    auto nested = [](int levels) {
        std::wstring text;
        for (int i = 0; i < levels; ++i)
            text += i % 2 ? L"<a1>" : L"<a0>";
        return text;
    };
    const Tree deepest = Parse(nested(kXmlMaxDepth).c_str());
    ASSERT_NE(nullptr, deepest);
    int depth = 0;
    for (const XmlElem* e = deepest.get(); e->entryCount; e = e->entries[0].elem)
        ++depth;
    EXPECT_EQ(kXmlMaxDepth, depth);
    for (int levels : {kXmlMaxDepth + 1, 100000})
    {
        XmlParseStatus status = {-1, -1, -1};
        EXPECT_EQ(nullptr, ParseXmlText(nested(levels).c_str(), &status));
        EXPECT_EQ(XML_ERROR_TOO_DEEP, status.code);
        EXPECT_EQ(kXmlMaxDepth * 4 + 4, status.column) << levels;
    }
    // Siblings cost no depth.
    std::wstring siblings;
    for (int i = 0; i < 100000; ++i)
        siblings += L"<a>x";
    EXPECT_EQ(100000, Parse(siblings.c_str())->entryCount);
}

TEST(ParseXmlText, AllocationFailureReleasesEverything)
{
    const wchar_t* text = L"<?xml version='1.0'?><kastrel><product a b=c><!--x-->"
                          L"<version>7.0.1.5</version><v>2</v><v>3</v><v>4</v><v>5</v><v>6</v></product>";
    const long runs = testhost::FailEachAllocation([&](const testhost::HeapWatch& watch) {
        XmlParseStatus status = {-1, -1, -1};
        XmlElem* root = ParseXmlText(text, &status);
        EXPECT_EQ(watch.Failed(), root == nullptr);
        EXPECT_EQ(watch.Failed() ? XML_ERROR_NO_MEMORY : 0, status.code);
        FreeXmlElem(root);
        EXPECT_EQ(0, watch.Alive());
    });
    EXPECT_GT(runs, 41); // names, values, texts, nodes and entry arrays growing past 5
}

TEST(FindXmlElem, MatchesSegmentsByTheirBeginningWithoutBacktracking)
{
    const Tree root = Parse(L"<r><versionInfo>1</versionInfo><version>2</version><A><x/></A><a><b/></a><c/d/></r>");
    ASSERT_NE(nullptr, root);
    const wchar_t* rows[][2] = {{L"R/VERSIONINFO", L"versionInfo{'1'}"},
                                {L"r/version", L"versionInfo{'1'}"},
                                {L"r/a/x", L"x"},
                                {L"r/a/", L"A{x}"}};
    for (const auto& row : rows)
    {
        const XmlElem* found = FindXmlElem(root.get(), row[0]);
        EXPECT_EQ(std::wstring(row[1]), found ? Dump(found) : L"") << row[0];
    }
    // Only the first "a" is tried, and a "/" in a name still splits the path.
    for (const wchar_t* path : {L"r/a/b", L"r/abc", L"r//a", L"/r", L"", L"r/c/d"})
        EXPECT_EQ(nullptr, FindXmlElem(root.get(), path)) << path;
    EXPECT_EQ(root->entries[0].elem, FindXmlElem(root.get(), L"r"));
    EXPECT_EQ(nullptr, FindXmlElem(root.get(), nullptr));
    EXPECT_EQ(nullptr, FindXmlElem(nullptr, L"r"));
}

} // namespace
