// The library's failure reports, file versions, text conversions and argument
// guards against the platform's own (the version resource's four numbers differ).
#include "DebugCapture.h"
#include "FencedBuffer.h"
#include "HeapWatch.h"
#include "ReportLines.h"

#include <libmerrow/error.h>
#include <libmerrow/file.h>
#include <libmerrow/string.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace
{
using namespace testhost;

const wchar_t kOverflow[] = L"Exception : The format is invalid or Parameter length is too long";

// The system text, the reason and the code in decimal and hex (a negative
// code keeps its sign); the last error text holds the same.
TEST(ReportErrorW, SystemTextReasonAndCode)
{
    const std::wstring longName(5000, L'x');
    // The code, the reason's argument, the code as printed.
    const std::tuple<DWORD, const wchar_t*, const wchar_t*> rows[] = {
        {ERROR_ACCESS_DENIED, L"C:\\x\\tarvikui.dll", L"5(0x00000005)"},
        {0x2FFFFFFF, nullptr, L"805306367(0x2FFFFFFF)"},
        {static_cast<DWORD>(-1), nullptr, L"-1(0xFFFFFFFF)"},
        {static_cast<DWORD>(-1), L"C:\\x\\tarvikui.dll", L"-1(0xFFFFFFFF)"},
        {ERROR_FILE_NOT_FOUND, longName.c_str(), L"2(0x00000002)"},
    };
    for (const auto& [code, reason, printed] : rows)
    {
        SCOPED_TRACE(printed);
        DebugCapture capture;
        EXPECT_EQ(code,
                  reason ? ReportErrorW(code, L"Can not get %s file version", reason) : ReportErrorW(code, nullptr));
        const std::wstring text = GetLastErrorTextW();
        EXPECT_EQ(std::vector<std::wstring>{text}, capture.Lines());
        EXPECT_EQ(std::wstring(L"\nCode\t: ") + printed, text.substr(text.size() - wcslen(printed) - 8));
        if (code == ERROR_FILE_NOT_FOUND)
            EXPECT_NE(std::wstring::npos, text.find(std::wstring(L"\nReason\t: ") + kOverflow + L"\nCode")) << text;
        else
            EXPECT_EQ(ReportText(code, reason ? L"Can not get C:\\x\\tarvikui.dll file version" : nullptr), text);
    }
}

// The spooler calls the module from several threads at once: a report on
// one thread leaves the text another thread's dialog shows alone.
TEST(ReportErrorW, EachThreadKeepsItsOwnLastText)
{
    HANDLE firstReported = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::wstring second;
    std::thread other([&] {
        WaitForSingleObject(firstReported, INFINITE);
        ReportErrorW(ERROR_ACCESS_DENIED, L"second thread");
        second = GetLastErrorTextW();
    });
    ReportErrorW(ERROR_FILE_NOT_FOUND, L"first thread");
    SetEvent(firstReported);
    other.join();
    CloseHandle(firstReported);
    EXPECT_EQ(ReportText(ERROR_FILE_NOT_FOUND, L"first thread"), GetLastErrorTextW());
    EXPECT_EQ(ReportText(ERROR_ACCESS_DENIED, L"second thread"), second);
}

TEST(DebugPrintW, OneLineWithoutLineEndOrTheOverflowText)
{
    for (size_t length : {size_t(8191), size_t(8192)})
    {
        DebugCapture capture;
        const std::wstring pad(length - 20, L'a');
        DebugPrintW(L"%S(%d) : %s", "CFormManager", 120, pad.c_str());
        const std::wstring line = L"CFormManager(120) : " + pad;
        EXPECT_EQ(std::vector<std::wstring>{length < 8192 ? line : kOverflow}, capture.Lines());
    }
    wchar_t buffer[8];
    EXPECT_EQ(5, FormatTextW(buffer, 8, _TRUNCATE, L"%s-%d", L"ab", 12));
    EXPECT_STREQ(L"ab-12", buffer);
    EXPECT_EQ(-1, FormatTextW(buffer, 8, _TRUNCATE, L"%s", L"abcdefghij"));
    EXPECT_STREQ(L"abcdefg", buffer);
    EXPECT_EQ(-1, FormatTextW(nullptr, 8, _TRUNCATE, L"%s", L"a"));
}

// No version information is no failure: the numbers stay as they were.
TEST(GetFileVersion, ReadsTheFixedVersionOrLeavesTheNumbers)
{
    wchar_t self[MAX_PATH], folder[MAX_PATH], plain[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    GetTempPathW(MAX_PATH, folder);
    ASSERT_NE(0u, GetTempFileNameW(folder, L"tfv", 0, plain));
    const std::vector<WORD> untouched(4, 0xBEEF);
    // The file and the allocation that fails (0: none); the code and the numbers.
    const std::tuple<std::wstring, int, DWORD, std::vector<WORD>> rows[] = {
        {self, 0, 0, {PROBE_VERSION_MAJOR1, PROBE_VERSION_MAJOR2, PROBE_VERSION_MINOR1, PROBE_VERSION_MINOR2}},
        {plain, 0, 0, untouched},
        {std::wstring(folder) + L"no-such-file.dll", 0, 0, untouched},
        {self, 1, 8, untouched},
    };
    for (const auto& [path, failAt, code, numbers] : rows)
    {
        SCOPED_TRACE(Utf8(path) + " failing " + std::to_string(failAt));
        HeapWatch heap(failAt);
        WORD v[4] = {0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF};
        DebugCapture capture;
        EXPECT_EQ(code, GetFileVersion(path.c_str(), &v[0], &v[1], &v[2], &v[3]));
        EXPECT_EQ(numbers, std::vector<WORD>(v, v + 4));
        if (code)
            EXPECT_EQ("", ReportMismatch(capture.Lines(), code, nullptr, {L"@file", L"from GetFileVersion()"}));
        else
            EXPECT_TRUE(capture.Lines().empty());
    }
    DeleteFileW(plain);
}

// A null pointer is reported with all five arguments.
TEST(GetFileVersion, NullPointerIsReportedWithTheArguments)
{
    const wchar_t* path = L"C:\\windows\\notepad.exe";
    WORD v[3] = {1, 2, 3};
    DebugCapture capture;
    EXPECT_EQ(87u, GetFileVersion(path, &v[0], &v[1], &v[2], nullptr));
    const auto hex = [](const void* pointer) { return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(pointer)); };
    wchar_t arguments[256];
    swprintf(arguments, std::size(arguments),
             L"pszFulPath = %x, pwMajor1 = %x, pwMajor2 = %x, pwMinor1 = %x, pwMinor2 = 0", hex(path), hex(&v[0]),
             hex(&v[1]), hex(&v[2]));
    EXPECT_EQ(std::vector<std::wstring>({ReportText(87, nullptr), arguments, L"from GetFileVersion()"}),
              capture.Lines());
    EXPECT_EQ(std::vector<WORD>({1, 2, 3}), std::vector<WORD>(v, v + 3));
    EXPECT_EQ(87u, GetFileVersion(nullptr, &v[0], &v[1], &v[2], &v[2]));
}

// `size` bytes of "a" on a page of their own made read-only.
char* ReadOnly(FencedBuffer* fenced, size_t size)
{
    char* bytes = reinterpret_cast<char*>(fenced->Place(size, nullptr, 'a'));
    DWORD previous = 0;
    VirtualProtect(bytes, size, PAGE_READONLY, &previous);
    return bytes;
}

// Only the counted bytes are converted; U+1F600 exists in no ANSI code page
// and becomes its default character.
TEST(UTF8toMultiByte, ConvertsExactlyTheGivenBytes)
{
    for (const std::wstring& text : {std::wstring(L"abc"), std::wstring(L"caf\u00e9"), std::wstring(L"x\U0001F600y")})
    {
        std::string input = Utf8(text) + "ZZ";
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
    FencedBuffer fenced(3);
    char* readOnly = ReadOnly(&fenced, 3);
    char abc[] = "abc";
    char* untouched = abc;
    // The input, its count and the output; the code when allocation `failAt`
    // fails (0: none), and the report's lines after its text.
    const std::tuple<const char*, DWORD, char**, DWORD, int, std::vector<std::wstring>> rows[] = {
        {nullptr, 3, &untouched, 87, 0, {L"from UTF8toMultiByte()"}},
        {abc, 3, nullptr, 87, 0, {L"from UTF8toMultiByte()"}},
        {readOnly, 3, &untouched, 87, 0, {L"from UTF8toMultiByte()"}}, // the input must be writable too
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

// A buffer or text that runs into an inaccessible page, or lies on a
// read-only one, is refused.
TEST(IsValidPointers, FollowThePageProtection)
{
    FencedBuffer fenced(8), readOnly(8);
    BYTE* bytes = fenced.Place(8, nullptr, 'a'); // no terminator before the inaccessible page
    EXPECT_FALSE(IsValidBuffer(nullptr, 8));
    EXPECT_TRUE(IsValidBuffer(bytes, 8));
    EXPECT_FALSE(IsValidBuffer(bytes + 1, 8));
    EXPECT_FALSE(IsValidBuffer(ReadOnly(&readOnly, 8), 8));
    auto* units = reinterpret_cast<wchar_t*>(bytes);
    EXPECT_FALSE(IsValidStringPtr(units));
    units[3] = L'\0';
    EXPECT_TRUE(IsValidStringPtr(units));
    EXPECT_TRUE(IsValidStringPtr(L"read-only text is fine"));
    EXPECT_FALSE(IsValidStringPtr(nullptr));
}
} // namespace
