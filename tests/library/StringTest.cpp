// Text conversions and argument guards, against the platform's own
// conversions and memory protection.
#include "DebugCapture.h"
#include "HeapWatch.h"
#include "ReportLines.h"

#include <libmerrow/string.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace
{
using testhost::Ansi;
using testhost::DebugCapture;
using testhost::HeapWatch;
using testhost::ReportMismatch;

// Two pages: the first with the given protection, the second inaccessible.
struct Pages
{
    explicit Pages(DWORD protect)
    {
        base = static_cast<char*>(VirtualAlloc(nullptr, 2 * 4096, MEM_RESERVE, PAGE_NOACCESS));
        VirtualAlloc(base, 4096, MEM_COMMIT, protect);
    }
    ~Pages() { VirtualFree(base, 0, MEM_RELEASE); }
    char* base;
};

// Only the counted bytes are converted; U+1F600 exists in no ANSI code page
// and becomes its default character.
TEST(UTF8toMultiByte, ConvertsExactlyTheGivenBytes)
{
    for (const std::wstring& text : {std::wstring(L"abc"), std::wstring(L"caf\u00e9"), std::wstring(L"x\U0001F600y")})
    {
        std::string input = testhost::Utf8(text) + "ZZ";
        HeapWatch heap;
        DebugCapture capture;
        char* out = nullptr;
        EXPECT_EQ(0u, UTF8toMultiByte(&input[0], static_cast<DWORD>(input.size() - 2), &out));
        ASSERT_NE(nullptr, out);
        EXPECT_EQ(Ansi(text), std::string(out));
        ASSERT_EQ(2u, heap.Sizes().size());
        EXPECT_EQ(Ansi(text).size() + 1, heap.Sizes()[1]) << "the text and its NUL, nothing more";
        EXPECT_EQ(1, heap.Alive()) << "the UTF-16 intermediate must be released";
        EXPECT_TRUE(capture.Lines().empty());
        delete[] out;
    }
}

TEST(UTF8toMultiByte, RejectedArgumentsAndFailures)
{
    Pages readOnly(PAGE_READONLY);
    char abc[] = "abc";
    char* untouched = abc;
    // The input, its count and the output; the code when allocation `failAt`
    // fails (0: none), and the report's lines after its text.
    const std::tuple<const char*, DWORD, char**, DWORD, int, std::vector<std::wstring>> rows[] = {
        {nullptr, 3, &untouched, 87, 0, {L"from UTF8toMultiByte()"}},
        {abc, 3, nullptr, 87, 0, {L"from UTF8toMultiByte()"}},
        {readOnly.base, 3, &untouched, 87, 0, {L"from UTF8toMultiByte()"}}, // the input must be writable too
        {abc, 0, &untouched, 87, 0, {L"@string", L"from UTF8toMultiByte()"}},
        {abc, 3, &untouched, 8, 2, {L"@string", L"from UTF8toMultiByte()"}},
    };
    for (const auto& [input, count, out, code, failAt, rest] : rows)
    {
        SCOPED_TRACE(testing::Message() << count << " " << failAt);
        HeapWatch heap(failAt);
        DebugCapture capture;
        EXPECT_EQ(code, UTF8toMultiByte(input, count, out));
        EXPECT_EQ(abc, untouched);
        EXPECT_EQ(0, heap.Alive());
        EXPECT_EQ("", ReportMismatch(capture.Lines(), code, nullptr, rest));
    }
}

TEST(MultiByteToTChar, ConvertsFromTheAnsiCodePage)
{
    for (const std::wstring& text : {std::wstring(), std::wstring(L"<v>caf\u00e9</v>")})
    {
        wchar_t* out = nullptr;
        EXPECT_EQ(0u, MultiByteToTChar(Ansi(text).c_str(), &out));
        ASSERT_NE(nullptr, out);
        EXPECT_EQ(text, std::wstring(out));
        delete[] out;
    }
    wchar_t sentinel[] = L"x";
    for (int failAt : {0, 1})
    {
        HeapWatch heap(failAt);
        DebugCapture capture;
        wchar_t* out = sentinel;
        const DWORD code = failAt ? 8 : 87;
        EXPECT_EQ(code, MultiByteToTChar(failAt ? "abc" : nullptr, &out));
        EXPECT_EQ(sentinel, out);
        EXPECT_EQ("", ReportMismatch(capture.Lines(), code, nullptr, {L"@string", L"from MultiByteToTChar()"}));
    }
}

TEST(IsValidPointers, FollowThePageProtection)
{
    Pages readWrite(PAGE_READWRITE);
    Pages readOnly(PAGE_READONLY);
    EXPECT_FALSE(IsValidBuffer(nullptr, 8));
    EXPECT_TRUE(IsValidBuffer(readWrite.base + 4088, 8));
    EXPECT_FALSE(IsValidBuffer(readWrite.base + 4089, 8));
    EXPECT_FALSE(IsValidBuffer(readOnly.base, 8));
    auto* units = reinterpret_cast<wchar_t*>(readWrite.base);
    for (size_t i = 0; i < 2048; ++i)
        units[i] = L'a';
    EXPECT_FALSE(IsValidStringPtr(units + 2044)) << "no terminator before the inaccessible page";
    units[2047] = L'\0';
    EXPECT_TRUE(IsValidStringPtr(units + 2044));
    EXPECT_TRUE(IsValidStringPtr(L"read-only text is fine"));
    EXPECT_FALSE(IsValidStringPtr(nullptr));
}
} // namespace
