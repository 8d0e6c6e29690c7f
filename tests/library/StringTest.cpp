// Text conversions and argument guards, checked against the platform's own
// conversions and memory protection.
#include "DebugCapture.h"
#include "HeapWatch.h"
#include "ReportLines.h"

#include <libmerrow/string.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using testhost::Ansi;
using testhost::DebugCapture;
using testhost::HeapWatch;
using testhost::ReportMismatch;
using testhost::SourceLine;
using testhost::Utf8;

// Two pages: the first with the given protection, the second inaccessible,
// so that anything running past the first page is seen.
struct Pages
{
    explicit Pages(DWORD protect)
    {
        base = static_cast<char*>(VirtualAlloc(nullptr, 2 * 4096, MEM_RESERVE, PAGE_NOACCESS));
        VirtualAlloc(base, 4096, MEM_COMMIT, PAGE_READWRITE);
        DWORD old = 0;
        VirtualProtect(base, 4096, protect, &old);
    }
    ~Pages() { VirtualFree(base, 0, MEM_RELEASE); }
    char* base;
};

TEST(UTF8toMultiByte, ConvertsExactlyTheGivenBytes)
{
    struct Row
    {
        std::wstring text;
        size_t extra; // bytes after the counted ones, which must not be read
    };
    // "é" exists in the usual ANSI code pages, U+1F600 in none of them.
    const Row rows[] = {{L"abc", 1}, {L"caf\u00e9", 3}, {L"x\U0001F600y", 0}, {L"<v>7.0.1.5</v>", 2}};
    for (const Row& row : rows)
    {
        std::string input = Utf8(row.text) + std::string(row.extra, 'Z');
        const std::string expected = Ansi(row.text);
        HeapWatch heap;
        DebugCapture capture;
        char* out = nullptr;
        SetLastError(0xdeadbeef);
        EXPECT_EQ(0u, UTF8toMultiByte(&input[0], static_cast<DWORD>(input.size() - row.extra), &out));
        ASSERT_NE(nullptr, out);
        EXPECT_EQ(expected, std::string(out));
        // The result array is the text and its NUL, nothing more.
        ASSERT_EQ(2u, heap.Sizes().size());
        EXPECT_EQ(expected.size() + 1, heap.Sizes()[1]);
        EXPECT_EQ(1, heap.Alive()) << "the UTF-16 intermediate must be released";
        EXPECT_TRUE(capture.Lines().empty());
        delete[] out;
    }
    CPINFO info;
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
    EXPECT_NE(std::string::npos, Ansi(L"x\U0001F600y").find(static_cast<char>(info.DefaultChar[0])));
}

TEST(UTF8toMultiByte, RejectedArgumentsAndFailures)
{
    Pages readOnly(PAGE_READONLY);
    char abc[] = "abc";
    char* untouched = abc;
    struct Row
    {
        const char* input;
        DWORD count;
        char** out;
        DWORD code;
        bool location; // a source-location line before the "from" line
    };
    const Row rows[] = {
        {nullptr, 3, &untouched, ERROR_INVALID_PARAMETER, false},
        {abc, 3, nullptr, ERROR_INVALID_PARAMETER, false},
        {readOnly.base, 3, &untouched, ERROR_INVALID_PARAMETER, false}, // the input must be writable too
        {abc, 0, &untouched, ERROR_INVALID_PARAMETER, true},            // nothing to convert: the platform refuses
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.count);
        DebugCapture capture;
        EXPECT_EQ(row.code, UTF8toMultiByte(row.input, row.count, row.out));
        EXPECT_EQ(abc, untouched);
        std::vector<std::wstring> rest = {L"from UTF8toMultiByte()"};
        if (row.location)
            rest.insert(rest.begin(), L"@string");
        EXPECT_EQ("", ReportMismatch(capture.Lines(), row.code, nullptr, rest));
    }
}

// Each of the two allocations failing: code 8, its own location line, and
// nothing left allocated.
TEST(UTF8toMultiByte, ExhaustedHeap)
{
    char text[] = "abc";
    int previous = 0;
    for (int n = 1; n <= 2; ++n)
    {
        HeapWatch heap(n);
        DebugCapture capture;
        char* out = text;
        EXPECT_EQ(8u, UTF8toMultiByte(text, 3, &out));
        EXPECT_EQ(text, out);
        EXPECT_EQ(0, heap.Alive());
        const auto lines = capture.Lines();
        EXPECT_EQ("", ReportMismatch(lines, 8, nullptr, {L"@string", L"from UTF8toMultiByte()"}));
        const int line = lines.size() > 1 ? SourceLine(lines[1], L"string", 8) : 0;
        EXPECT_NE(previous, line);
        previous = line;
    }
}

TEST(MultiByteToTChar, ConvertsFromTheAnsiCodePage)
{
    for (const std::wstring& text : {std::wstring(), std::wstring(L"Hello"), std::wstring(L"<v>caf\u00e9</v>")})
    {
        const std::string input = Ansi(text);
        wchar_t expected[256];
        const int n = MultiByteToWideChar(CP_ACP, 0, input.c_str(), -1, expected, 256);
        HeapWatch heap;
        wchar_t* out = nullptr;
        EXPECT_EQ(0u, MultiByteToTChar(input.c_str(), &out));
        ASSERT_NE(nullptr, out);
        EXPECT_EQ(std::wstring(expected), std::wstring(out));
        ASSERT_EQ(1u, heap.Sizes().size());
        EXPECT_GE(heap.Sizes()[0], n * sizeof(wchar_t));
        delete[] out;
    }
}

TEST(MultiByteToTChar, Failures)
{
    wchar_t sentinel[] = L"x";
    struct Row
    {
        const char* input;
        int failAllocation;
        DWORD code;
    };
    const Row rows[] = {{nullptr, 0, ERROR_INVALID_PARAMETER}, {"abc", 1, ERROR_NOT_ENOUGH_MEMORY}};
    for (const Row& row : rows)
    {
        HeapWatch heap(row.failAllocation);
        DebugCapture capture;
        wchar_t* out = sentinel;
        EXPECT_EQ(row.code, MultiByteToTChar(row.input, &out));
        EXPECT_EQ(sentinel, out);
        EXPECT_EQ(0, heap.Alive());
        EXPECT_EQ("", ReportMismatch(capture.Lines(), row.code, nullptr, {L"@string", L"from MultiByteToTChar()"}));
    }
}

TEST(IsValidBuffer, FollowsThePageProtection)
{
    Pages readWrite(PAGE_READWRITE);
    Pages readOnly(PAGE_READONLY);
    struct Row
    {
        const void* p;
        UINT_PTR size;
        BOOL valid;
    };
    const Row rows[] = {
        {nullptr, 8, FALSE},
        {readWrite.base, 4096, TRUE},
        {readWrite.base + 4088, 8, TRUE},
        {readWrite.base + 4089, 8, FALSE},
        {readOnly.base, 8, FALSE},
        {readWrite.base + 4096, 1, FALSE},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.valid, IsValidBuffer(row.p, row.size)) << static_cast<const char*>(row.p) - readWrite.base;
}

TEST(IsValidStringPtr, ReadsUpToTheTerminator)
{
    Pages pages(PAGE_READWRITE);
    auto* units = reinterpret_cast<wchar_t*>(pages.base);
    const size_t count = 4096 / sizeof(wchar_t);
    for (size_t i = 0; i < count; ++i)
        units[i] = L'a';
    // No terminator before the inaccessible page: not a string.
    EXPECT_FALSE(IsValidStringPtr(units + count - 4));
    units[count - 1] = L'\0';
    EXPECT_TRUE(IsValidStringPtr(units + count - 4));
    EXPECT_TRUE(IsValidStringPtr(L"read-only text is fine"));
    EXPECT_FALSE(IsValidStringPtr(nullptr));
}
} // namespace
