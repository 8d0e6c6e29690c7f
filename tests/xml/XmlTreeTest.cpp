// The tree's operations: lookup by path, enumeration, the builders and their
// growth, the error texts, and writing a tree back as text.
#include "HeapWatch.h"
#include "XmlTestTree.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using xmltest::Dump;
using xmltest::Text;
using xmltest::Tree;

Tree Parse(const wchar_t* text)
{
    XmlParseStatus status = {-1, -1, -1};
    Tree root(ParseXmlText(text, &status));
    EXPECT_EQ(0, status.code) << "line " << status.line << " column " << status.column;
    return root;
}

std::wstring FoundName(XmlElem* root, const wchar_t* path)
{
    const XmlElem* found = FindXmlElem(root, path);
    return found ? Dump(found) : L"<none>";
}

TEST(FindXmlElem, MatchesSegmentsByTheirBeginningWithoutBacktracking)
{
    const Tree root = Parse(L"<r><versionInfo>1</versionInfo><version>2</version>"
                            L"<A><x/></A><a><b/></a><ab/><c/d/></r>");
    ASSERT_NE(nullptr, root);
    const xmltest::TextRow rows[] = {
        {L"r/version", L"versionInfo{'1'}"},
        {L"R/VERSIONINFO", L"versionInfo{'1'}"},
        {L"r/a/x", L"x"},
        {L"r/a/b", L"<none>"}, // the first "a" has no "b"; later ones are not tried
        {L"r/a/", L"A{x}"},
        {L"r/abc", L"<none>"},
        {L"r//a", L"<none>"},
        {L"/r", L"<none>"},
        {L"", L"<none>"},
        {L"r/c", L"c/d"},
        {L"r/c/d", L"<none>"}, // a "/" in a name always splits the path
        {L"r", nullptr},
    };
    for (const xmltest::TextRow& row : rows)
    {
        SCOPED_TRACE(row.input);
        if (row.expected)
            EXPECT_EQ(std::wstring(row.expected), FoundName(root.get(), row.input));
        else
            EXPECT_EQ(root->entries[0].elem, FindXmlElem(root.get(), row.input));
    }
    EXPECT_EQ(nullptr, FindXmlElem(root.get(), nullptr));
    EXPECT_EQ(nullptr, FindXmlElem(nullptr, L"r"));
}

TEST(NextXmlEntry, EnumeratesInDocumentOrder)
{
    const Tree root = Parse(L"<e a=1 b>t1<c/>t2<!--r--><d/></e>");
    XmlElem* e = root->entries[0].elem;
    int32_t index = 0;
    std::wstring seen;
    while (const XmlEntry* entry = NextXmlEntry(e, &index))
        seen += std::to_wstring(entry->kind) + L":" + XmlEntryText(entry) + L" ";
    EXPECT_EQ(L"1:a 1:b 3:t1 2:c 3:t2 4:<!-- 2:d ", seen);
    EXPECT_EQ(7, index);

    // The kind-wise enumerators leave the index just past what they return.
    seen.clear();
    for (index = 0; const XmlElem* child = NextXmlElem(e, &index);)
        seen += std::wstring(child->name) + std::to_wstring(index);
    for (index = 1; const XmlAttr* attr = NextXmlAttr(e, &index);)
        seen += std::wstring(attr->name) + (attr->value ? attr->value : L"-") + std::to_wstring(index);
    EXPECT_EQ(L"c4d7b-2", seen);

    // Past the end or before the start: nothing, and the index stays.
    for (int32_t start : {-1, 7, 100})
    {
        index = start;
        EXPECT_EQ(nullptr, NextXmlEntry(e, &index));
        EXPECT_EQ(nullptr, NextXmlElem(e, &index));
        EXPECT_EQ(nullptr, NextXmlAttr(e, &index));
        EXPECT_EQ(start, index);
    }
}

TEST(AddXmlElem, BuildsLinkedEntriesAndGrowsTheArray)
{
    const Tree root(AddXmlElem(nullptr, nullptr, 0, kXmlGrowStep));
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(nullptr, root->entries); // an empty element has no array
    XmlElem* e = AddXmlElem(root.get(), CopyXmlSpan(L"elem", 0), 1, kXmlGrowStep);
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(root.get(), e->parent);
    EXPECT_EQ(kXmlGrowStep, root->entryCapacity);

    // A full array is replaced by a larger one that keeps every entry.
    for (int i = 0; i < 40; ++i)
    {
        ASSERT_NE(nullptr, AddXmlTextNode(e, CopyXmlSpan(std::to_wstring(i).c_str(), 0), kXmlGrowStep));
        ASSERT_GE(e->entryCapacity, e->entryCount);
    }
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(std::to_wstring(i), e->entries[i].text->value);

    // Texts handed to a failing builder are released, and a failed copy
    // passed straight in adds nothing.
    testhost::HeapWatch watch;
    EXPECT_EQ(nullptr, AddXmlTextNode(nullptr, CopyXmlSpan(L"lost", 0), kXmlGrowStep));
    EXPECT_EQ(nullptr, AddXmlAttr(nullptr, CopyXmlSpan(L"n", 0), CopyXmlSpan(L"v", 0), kXmlGrowStep));
    EXPECT_EQ(nullptr, AddXmlRawSection(e, CopyXmlSpan(L"c", 0), nullptr, kXmlGrowStep));
    EXPECT_EQ(nullptr, AddXmlElem(e, nullptr, 0, kXmlGrowStep));
    EXPECT_EQ(nullptr, AddXmlAttr(e, nullptr, CopyXmlSpan(L"v", 0), kXmlGrowStep));
    EXPECT_EQ(nullptr, AddXmlTextNode(e, nullptr, kXmlGrowStep));
    EXPECT_EQ(nullptr, AddXmlRawSection(e, nullptr, &g_xmlRawMarkers[kXmlRawPre], kXmlGrowStep));
    EXPECT_EQ(40, e->entryCount);
    EXPECT_EQ(0, watch.Alive());

    const Text part(CopyXmlSpan(L"abcdef", 3));
    EXPECT_STREQ(L"abc", part.get());
}

TEST(GetXmlErrorText, EveryCodeHasItsText)
{
    const wchar_t* texts[] = {
        L"No error",
        L"No XML data",
        L"First token not start tag",
        L"Missing start tag name",
        L"Missing end tag name",
        L"Unmatched quote",
        L"Unmatched end tag",
        L"Unexpected token found",
        L"Invalid tag found",
        L"No elements found",
        L"Elements nested too deeply",
        L"Not enough memory",
    };
    for (int32_t code = 0; code < 12; ++code)
        EXPECT_STREQ(texts[code], GetXmlErrorText(code)) << code;
    EXPECT_STREQ(L"Unknown", GetXmlErrorText(12));
    EXPECT_STREQ(L"Unknown", GetXmlErrorText(-1));
}

TEST(FindXmlAttr, FirstAttributeThatBeginsWithTheName)
{
    const Tree root = Parse(L"<a Version=1 ver=2 id='x'>");
    XmlElem* a = root->entries[0].elem;
    const XmlAttr* version = FindXmlAttr(a, L"VER");
    ASSERT_NE(nullptr, version);
    EXPECT_STREQ(L"1", version->value);
    EXPECT_EQ(nullptr, FindXmlAttr(a, L"ids"));
    EXPECT_EQ(nullptr, FindXmlAttr(a, L""));
}

TEST(FindOrAddXmlElem, AddsOnlyWhatIsMissing)
{
    const Tree root(AddXmlElem(nullptr, nullptr, 0, kXmlGrowStep));
    XmlElem* version = FindOrAddXmlElem(root.get(), L"kastrel/product/tarvik7/workflow/version", kXmlGrowStep);
    ASSERT_NE(nullptr, version);
    AddXmlTextNode(version, CopyXmlSpan(L"7.0.1.5", 0), kXmlGrowStep);
    XmlElem* url = FindOrAddXmlElem(root.get(), L"Kastrel/Product/Tarvik7/Workflow/downloadurl/", kXmlGrowStep);
    ASSERT_NE(nullptr, url);
    EXPECT_EQ(version->parent, url->parent);
    EXPECT_EQ(version, FindOrAddXmlElem(root.get(), L"kastrel/product/tarvik7/workflow/version", kXmlGrowStep));
    EXPECT_EQ(nullptr, FindOrAddXmlElem(root.get(), L"kastrel//x", kXmlGrowStep));
    EXPECT_EQ(L"kastrel{product{tarvik7{workflow{version{'7.0.1.5'},downloadurl}}}}", Dump(root.get()));
}

TEST(AddXmlCDataSection, SplitsAroundItsClosingMarker)
{
    const Tree root(AddXmlElem(nullptr, nullptr, 0, kXmlGrowStep));
    XmlElem* a = AddXmlElem(root.get(), CopyXmlSpan(L"a", 0), 0, kXmlGrowStep);
    const XmlRawSection* first = AddXmlCDataSection(a, L"x]]>y]]>", kXmlGrowStep);
    ASSERT_NE(nullptr, first);
    EXPECT_STREQ(L"x]]", first->content);
    EXPECT_EQ(L"a{<![CDATA[x]]]]>,<![CDATA[>y]]]]>,<![CDATA[>]]>}", Dump(a));

    const Text text(XmlElemToText(root.get()));
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ(L"<a><![CDATA[x]]]]><![CDATA[>y]]]]><![CDATA[>]]></a>", text.get());
    const Tree again = Parse(text.get());
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(Dump(root.get()), Dump(again.get()));
}

TEST(XmlElemToText, WritesTextThatParsesToTheSameTree)
{
    const xmltest::TextRow rows[] = {
        {L"<?xml version='1.0'?><a><b>1</b><c x/></a>", L"<?xml version=\"1.0\" ?><a><b>1</b><c x/></a>"},
        {L"<?xml?>", L"<?xml? ?>"},
        {L"<?pi x?></pi><a>t</a><!--c-->", L"<?pi x ?></pi><a>t</a><!--c-->"},
        {L"<a><?pi?></a>", L"<a><?pi? ?></pi?></a>"},
        {L"<a v='say \"hi\"' w=x\"y'z></a>", L"<a v='say \"hi\"' w=x\"y'z/>"},
        {L"< pre>x</pre>< /p>y</ /p>", L"<pre >x</pre>< /p>y<//p>"},
        {L"< !--x a/ />", L"< !--x a/ />"},
        {L"<a/ b>'q<' &amp;</a/ >", L"<a/ b>'q<' &amp;</a/ >"},
        {L"<pre>x</PRE><![CDATA[]]><!DOCTYPE d>", L"<PRE>x</PRE><![CDATA[]]><!DOCTYPE d>"},
    };
    for (const xmltest::TextRow& row : rows)
    {
        SCOPED_TRACE(row.input);
        const Tree root = Parse(row.input);
        ASSERT_NE(nullptr, root);
        const Text written(XmlElemToText(root.get()));
        ASSERT_NE(nullptr, written);
        EXPECT_STREQ(row.expected, written.get());
        const Tree again = Parse(written.get());
        ASSERT_NE(nullptr, again);
        EXPECT_EQ(Dump(root.get()), Dump(again.get()));
    }
    EXPECT_EQ(nullptr, XmlElemToText(nullptr));
}

TEST(XmlElemToText, AllocationFailureGivesNothingAndLeaksNothing)
{
    const Tree root = Parse(L"<?xml version='1.0'?><kastrel><product><tarvik7><workflow>"
                            L"<version>7.0.1.5</version><downloadurl>http://x/</downloadurl>");
    ASSERT_NE(nullptr, root);
    EXPECT_GT(testhost::FailEachAllocation([&](const testhost::HeapWatch& watch) {
                  Text text(XmlElemToText(root.get()));
                  EXPECT_EQ(watch.Failed(), text == nullptr);
                  text.reset();
                  EXPECT_EQ(0, watch.Alive());
              }),
              1);

    // A CDATA text split in three is added whole or not at all.
    EXPECT_GT(testhost::FailEachAllocation([&](const testhost::HeapWatch& watch) {
                  XmlElem* a = AddXmlElem(nullptr, nullptr, 0, 1);
                  const XmlRawSection* raw = AddXmlCDataSection(a, L"1]]>2]]>3", 1);
                  const int32_t count = a ? a->entryCount : -1;
                  FreeXmlElem(a);
                  EXPECT_EQ(0, watch.Alive());
                  EXPECT_EQ(watch.Failed(), raw == nullptr);
                  EXPECT_EQ(watch.Failed() ? (a ? 0 : -1) : 3, count);
              }),
              4);
}
} // namespace
