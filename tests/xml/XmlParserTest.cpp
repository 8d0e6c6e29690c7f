// The parser's dialect: the trees it builds, the errors it reports with their
// line and column, and its depth cap.
#include "HeapWatch.h"
#include "XmlTestTree.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using xmltest::Dump;
using xmltest::Tree;

TEST(ParseXmlText, BuildsTheTreeOfTheDialect)
{
    const xmltest::TextRow rows[] = {
        // The declaration stays open and holds the rest; its final "?" is no
        // attribute.
        {L"<?xml version='1.0'?><a><b>1</b></a>", L"?xml{@version=1.0,a{b{'1'}}}"},
        {L"<?xml version=1.0?>", L"?xml{@version=1.0}"},
        {L"<?xml a?>", L"?xml{@a}"},
        {L"<?xml?>", L"?xml?"},
        {L"<a x=y?>", L"a{@x=y?}"},
        {L"<a b c=d e='f' g = 'h i'>", L"a{@b,@c=d,@e=f,@g=h i}"},
        {L"<a x='' y=\"'\"/>", L"a{@x=,@y='}"},
        // A start tag that begins with the open element's name opens a sibling.
        {L"<a>x<a>y</a>", L"a{'x'},a{'y'}"},
        {L"<ab><a>x</a></ab>", L"ab{a{'x'}}"},
        {L"<a/ x><a/>", L"a/{@x,a}"}, // the tag "a" ends before "/>", so it is shorter than "a/"
        {L"<A><b>x</B></a>tail<c/>", L"A{b{'x'}},'tail',c"},
        // One end tag closes every element up to the one it names.
        {L"<a><b><c></a><d/>", L"a{b{c}},d"},
        // Texts: trimmed, kept as written, quoted runs protect markup.
        {L"<a>  one two  </a>", L"a{'one two'}"},
        {L"<a>\r\n x &amp; y\t\r\n</a>", L"a{'x &amp; y'}"},
        {L"<a>say 'x<y' now</a>", L"a{'say 'x<y' now'}"},
        {L"<a>b=c 1/2</a>", L"a{'b=c 1/2'}"},
        {L"<a>x<b/>y</a>", L"a{'x',b,'y'}"},
        {L"<a><b>text", L"a{b}"},
        {L"<a b/>x<c/>", L"a{@b},'x',c"},
        // Raw sections: opening marker in any case, closing marker exact.
        {L"<pre>x</PRE>", L"<PRE>x</PRE>"},
        {L"<!-- c -->", L"<!-- c -->"},
        {L"<!---->", L"<!---->"},
        {L"<!DOCTYPE html><p/>", L"<!DOCTYPE html>,p"},
        {L"<a><![CDATA[<b>]]></a>", L"a{<![CDATA[<b>]]>}"},
        {L"<SCRIPT>if (a<b) f();</Script>", L"<Script>if (a<b) f();</Script>"},
        // Nothing to read is no error.
        {L"", L""},
        {L" \t\r\n ", L""},
    };
    for (const xmltest::TextRow& row : rows)
    {
        SCOPED_TRACE(row.input);
        XmlParseStatus status = {-1, -7, -7};
        const Tree root(ParseXmlText(row.input, &status));
        ASSERT_NE(nullptr, root);
        EXPECT_EQ(0, status.code);
        // A successful parse leaves line and column alone.
        EXPECT_EQ(-7, status.line);
        EXPECT_EQ(-7, status.column);
        EXPECT_EQ(nullptr, root->name);
        EXPECT_EQ(nullptr, root->parent);
        EXPECT_EQ(std::wstring(row.expected), Dump(root.get()));
    }
}

TEST(ParseXmlText, ReportsTheErrorAndWhereItWasFound)
{
    struct Row
    {
        const wchar_t* text;
        int32_t code;
        int32_t line;
        int32_t column;
    };
    const Row rows[] = {
        {L"<a><ab>z</ab></a>", XML_ERROR_UNMATCHED_END_TAG, 1, 18},
        {L"</a>", XML_ERROR_UNMATCHED_END_TAG, 1, 5},
        {L"<a></b>", XML_ERROR_UNMATCHED_END_TAG, 1, 8},
        {L"<pre>x</pre>", XML_ERROR_UNMATCHED_END_TAG, 1, 6},
        {L"<a>\n<!-- open", XML_ERROR_UNMATCHED_END_TAG, 2, 5},
        {L"<a>1 > 2</a>", XML_ERROR_UNEXPECTED_TOKEN, 1, 7},
        {L"<a>/>", XML_ERROR_UNEXPECTED_TOKEN, 1, 6},
        {L"<a =b>", XML_ERROR_UNEXPECTED_TOKEN, 1, 5},
        {L"<a b='1' 'c'>", XML_ERROR_UNEXPECTED_TOKEN, 1, 13},
        {L"<a b=>", XML_ERROR_UNEXPECTED_TOKEN, 1, 7},
        {L"<a x='1>", XML_ERROR_UNMATCHED_QUOTE, 1, 9},
        {L"<a>\r\n'it", XML_ERROR_UNMATCHED_QUOTE, 2, 4},
        {L"<'x", XML_ERROR_UNMATCHED_QUOTE, 1, 4},
        {L"<\n>", XML_ERROR_MISSING_START_NAME, 2, 2},
        {L"<<a>", XML_ERROR_MISSING_START_NAME, 1, 3},
        {L"<?", XML_ERROR_MISSING_START_NAME, 1, 3},
        {L"</>", XML_ERROR_MISSING_END_NAME, 1, 4},
        {L"<a></a", XML_ERROR_MISSING_END_NAME, 1, 7},
        {L"<a>\r\n  </ b c>", XML_ERROR_MISSING_END_NAME, 2, 9},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.text);
        XmlParseStatus status = {-1, -1, -1};
        EXPECT_EQ(nullptr, ParseXmlText(row.text, &status));
        EXPECT_EQ(row.code, status.code);
        EXPECT_EQ(row.line, status.line);
        EXPECT_EQ(row.column, status.column);
        // The status is optional.
        EXPECT_EQ(nullptr, ParseXmlText(row.text, nullptr));
    }
}

TEST(ParseXmlText, NullTextIsNoData)
{
    XmlParseStatus status = {-1, -1, -1};
    EXPECT_EQ(nullptr, ParseXmlText(nullptr, &status));
    EXPECT_EQ(XML_ERROR_NO_DATA, status.code);
    EXPECT_EQ(1, status.line);
    EXPECT_EQ(1, status.column);
}

// Alternating names nest ("<a1>" does not begin with "a0"); n levels deep.
std::wstring Nested(int levels)
{
    std::wstring text;
    for (int i = 0; i < levels; ++i)
        text += i % 2 ? L"<a1>" : L"<a0>";
    return text;
}

TEST(ParseXmlText, NestingIsCappedBelowTheStackLimit)
{
    const Tree deepest(ParseXmlText(Nested(kXmlMaxDepth).c_str(), nullptr));
    ASSERT_NE(nullptr, deepest);
    int depth = 0;
    for (const XmlElem* e = deepest.get(); e->entryCount; e = e->entries[0].elem)
        ++depth;
    EXPECT_EQ(kXmlMaxDepth, depth);

    // One more level fails where that tag was read; far more fails the same
    // way instead of exhausting the stack.
    for (int levels : {kXmlMaxDepth + 1, 100000})
    {
        SCOPED_TRACE(levels);
        XmlParseStatus status = {-1, -1, -1};
        EXPECT_EQ(nullptr, ParseXmlText(Nested(levels).c_str(), &status));
        EXPECT_EQ(XML_ERROR_TOO_DEEP, status.code);
        EXPECT_EQ(1, status.line);
        EXPECT_EQ(kXmlMaxDepth * 4 + 4, status.column);
    }

    // Siblings opened by a tag that closes the open element cost no depth.
    std::wstring siblings;
    for (int i = 0; i < 100000; ++i)
        siblings += L"<a>x";
    const Tree flat(ParseXmlText(siblings.c_str(), nullptr));
    ASSERT_NE(nullptr, flat);
    EXPECT_EQ(100000, flat->entryCount);
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
    // Every allocation of the parse had its turn to fail (names, values,
    // texts, nodes, entry arrays that grow past 5).
    EXPECT_GT(runs, 41);
}
} // namespace
