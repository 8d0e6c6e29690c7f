// DownloadContentToBuffer against a real HTTP server on 127.0.0.1: the result,
// the debug stream, and what the server received.
#include "DebugCapture.h"
#include "HeapWatch.h"
#include "HttpTestServer.h"
#include "ReportLines.h"

#include <libmerrow/web.h>

#include <gtest/gtest.h>

#include <wininet.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace
{
using namespace testhost;

const wchar_t kFrom[] = L"from DownloadContentToBuffer()";
char g_untouched; // where the out-argument points until the call writes it
testweb::HttpTestServer g_server;

struct Outcome
{
    DWORD code = 0;
    std::unique_ptr<char[]> buffer;
    DWORD size = 0;
    std::vector<std::wstring> lines;
    std::vector<testweb::HttpRequestRecord> requests;
    std::vector<size_t> allocations;

    std::string Body() const { return buffer ? std::string(buffer.get(), size) : std::string(); }
};

// One download (a target starting with '/' is on the test server), allocation
// `failAt` failing (0: none): only the returned buffer stays allocated.
Outcome Fetch(const wchar_t* method, const wchar_t* target, const wchar_t* parameters, DWORD encoding = 0,
              LONGLONG start = -1, LONGLONG end = -1, int failAt = 0)
{
    Outcome outcome;
    const size_t mark = g_server.RequestCount();
    char* buffer = &g_untouched;
    const std::wstring url = target && *target == L'/' ? g_server.Url(target) : target ? target : L"";
    DebugCapture capture;
    long alive = 0;
    {
        const HeapWatch heap(failAt);
        outcome.code = DownloadContentToBuffer(method, target ? url.c_str() : nullptr, parameters, encoding, start, end,
                                               &buffer, &outcome.size);
        alive = heap.Alive();
        outcome.allocations = heap.Sizes();
    }
    EXPECT_EQ(outcome.code == 0 && buffer ? 1 : 0, alive) << "memory left behind";
    outcome.lines = capture.Lines();
    outcome.requests = g_server.RequestsSince(mark);
    if (outcome.code != 0)
        EXPECT_EQ(&g_untouched, buffer);
    else // a clean exchange: one request with the fixed agent and cache headers
    {
        outcome.buffer.reset(buffer);
        EXPECT_TRUE(outcome.lines.empty()) << testing::PrintToString(outcome.lines);
        EXPECT_EQ(1u, outcome.requests.size());
        for (const auto& request : outcome.requests)
            EXPECT_EQ("libAPI/no-cache", request.Header("user-agent") + "/" + request.Header("pragma"));
    }
    return outcome;
}

class Download : public testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        std::string problem;
        ASSERT_TRUE(g_server.Open(&problem)) << problem;
    }
};

// GET joins the query and the parameters into the object name, POST sends
// them as the body; only encoding 1 names the form type.
TEST_F(Download, RequestAsTheServerSawIt)
{
    // Asked for: method, target, parameters; the request line and body the
    // server read; the encoding and range asked for, the range header read.
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*, const char*, std::string, DWORD, LONGLONG,
                     LONGLONG, const char*>
        rows[] = {
            {L"GET", L"/a/b.html", L"", "GET /a/b.html? HTTP/1.0", "", 0, -1, -1, ""},
            {L"GET", L"/a/b.html?x=1", L"", "GET /a/b.html?x=1& HTTP/1.0", "", 0, -1, -1, ""},
            {L"GET", L"/a/b.html", L"p=1&q=2", "GET /a/b.html?p=1&q=2 HTTP/1.0", "", 0, -1, -1, ""},
            {L"get", L"/a/b.html?x=1", L"p=1", "get /a/b.html?x=1&p=1 HTTP/1.0", "", 0, -1, -1, ""},
            {L"POST", L"/form?x=1", L"y=2", "POST /form HTTP/1.0", "x=1&y=2", 1, -1, -1, ""},
            {L"POST", L"/form", L"y=2", "POST /form HTTP/1.0", "y=2", 1, -1, -1, ""},
            {L"post", L"/f", L"n=caf\u00e9", "post /f HTTP/1.0", Ansi(L"n=caf\u00e9"), 2, -1, -1, ""},
            {L"GET", L"/r", L"", "GET /r? HTTP/1.0", "", 0, 0, 0, ""},
            {L"GET", L"/r", L"", "GET /r? HTTP/1.0", "", 0, 100, -1, "bytes=100-"},
            {L"GET", L"/r", L"", "GET /r? HTTP/1.0", "", 0, -1, 99, "bytes=0-99"},
            {L"GET", L"/r", L"", "GET /r? HTTP/1.0", "", 1, 100, 199, "bytes=100-199"},
        };
    for (const auto& [method, target, parameters, requestLine, body, encoding, start, end, range] : rows)
    {
        SCOPED_TRACE(testing::Message() << requestLine << " " << start << ".." << end);
        const Outcome outcome = Fetch(method, target, parameters, encoding, start, end);
        EXPECT_EQ(0u, outcome.code);
        EXPECT_EQ("hello", outcome.Body());
        ASSERT_EQ(1u, outcome.requests.size());
        const testweb::HttpRequestRecord& seen = outcome.requests[0];
        EXPECT_EQ(requestLine, seen.requestLine);
        EXPECT_EQ(body, seen.body);
        EXPECT_TRUE(body.empty() || std::to_string(body.size()) == seen.Header("content-length"));
        EXPECT_EQ(encoding == 1 ? "application/x-www-form-urlencoded" : "", seen.Header("content-type"));
        EXPECT_EQ(range, seen.Header("range"));
    }
}

// "charset=utf-8" in any letter case converts the body to the ANSI code page
// and ends it in NUL; "utf8" is not that name.
TEST_F(Download, BodiesAsTheyCome)
{
    const std::string converted = Ansi(L"caf\u00e9 \U0001F600");
    // The target; the body, and whether there is a buffer at all.
    const std::tuple<const wchar_t*, std::string, bool> rows[] = {
        {L"/s?status=206&body=part", "part", true},
        {L"/s?status=304&length=none&body=", "", false},
        {L"/s?length=10&body=abc", std::string("abc\0\0\0\0\0\0\0", 10), true},
        {L"/s?length=none&body=hello&chunk=1", "hello", true},
        {L"/s?type=text/xml;%20charset=utf8&body=caf%C3%A9", "caf\xC3\xA9", true},
        {L"/u?type=text/xml;%20charset=utf-8&body=caf%C3%A9%20%F0%9F%98%80", converted, true},
        {L"/u?type=TEXT/XML;CHARSET=UTF-8&length=none&body=caf%C3%A9%20%F0%9F%98%80", converted, true},
    };
    for (const auto& [target, body, buffer] : rows)
    {
        SCOPED_TRACE(testing::PrintToString(target));
        const Outcome outcome = Fetch(L"GET", target, L"");
        EXPECT_EQ(0u, outcome.code);
        EXPECT_EQ(buffer, outcome.buffer != nullptr);
        EXPECT_EQ(body.size(), outcome.size);
        EXPECT_TRUE(body == outcome.Body());
        EXPECT_EQ(0, body == converted && outcome.buffer ? outcome.buffer[outcome.size] : 0);
    }
}

// An announced body gets one buffer of its size; an unannounced one starts at
// 512 KiB and doubles, its content carried over each time. Neither may grow
// past the download limit, whatever the server announces or sends.
TEST_F(Download, BodyBuffers)
{
    EXPECT_EQ(std::vector<size_t>({1500000}), Fetch(L"GET", L"/g?fill=1500000&chunk=65536", L"").allocations);
    const Outcome grown = Fetch(L"GET", L"/g?fill=1500000&chunk=65536&length=none", L"");
    EXPECT_EQ(std::vector<size_t>({0x80000, 0x100000, 0x200000}), grown.allocations);
    std::string pattern(1500000, '\0');
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<char>(i % 251);
    EXPECT_TRUE(pattern == grown.Body());

    const std::wstring limit = std::to_wstring(kDownloadLimit);
    const std::wstring tooLarge[] = {L"/g?length=" + std::to_wstring(kDownloadLimit + 1ULL) + L"&body=abc",
                                     L"/g?length=4000000000&body=abc",
                                     L"/g?length=none&chunk=65536&fill=" + std::to_wstring(kDownloadLimit + 1ULL)};
    for (const std::wstring& target : tooLarge)
    {
        SCOPED_TRACE(Utf8(target));
        const Outcome refused = Fetch(L"GET", target.c_str(), L"");
        EXPECT_EQ(DWORD(ERROR_FILE_TOO_LARGE), refused.code);
        EXPECT_EQ("", ReportMismatch(refused.lines, ERROR_FILE_TOO_LARGE,
                                     (L"The answer is larger than " + limit + L" bytes").c_str(), {kFrom}));
        for (size_t size : refused.allocations)
            EXPECT_LE(size, size_t(kDownloadLimit));
    }
}

// Failures before, without or after an exchange: the code, its report, and
// whether a request went out. An overlong object name is refused, not cut.
TEST_F(Download, Failures)
{
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = 1;
    SetLastError(0xdeadbeef);
    ASSERT_FALSE(InternetCrackUrlW(L"no url", 6, 0, &parts));
    const DWORD crackCode = GetLastError();
    const std::wstring longName(5000, L'a'), missing = L"/missing.html?status=404";
    const std::wstring notFound = L"There is no " + g_server.Url(missing) + L" file";
    const std::vector<std::wstring> utf8Failed = {L"@string", L"from UTF8toMultiByte()", kFrom},
                                    sendFailed = {L"from HttpSendRequest()", kFrom};
    const DWORD kBadStatus = ERROR_HTTP_INVALID_QUERY_REQUEST, kRefused = ERROR_INTERNET_CANNOT_CONNECT;
    // The method, target and parameters, the encoding, the allocation that
    // fails (0: none); the code, the report's reason and the lines after it,
    // and the requests that went out.
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*, DWORD, int, DWORD, std::wstring,
                     std::vector<std::wstring>, size_t>
        rows[] = {
            {nullptr, L"/x", L"", 1, 0, 87, L"", {kFrom}, 0},
            {L"GET", nullptr, L"", 1, 0, 87, L"", {kFrom}, 0},
            {L"GET", L"/x", nullptr, 1, 0, 87, L"", {kFrom}, 0},
            {L"POST", L"/x", L"a=1", 0, 0, 87, L"POST method must use url encoding", {kFrom}, 0},
            {L"PUT", L"/x", L"", 1, 0, 50, L"PUT method is not supported", {kFrom}, 0},
            {L"GET", L"no url", L"", 1, 0, crackCode, L"Can not parse URL", {L"from InternetCrackUrl()", kFrom}, 0},
            // Nothing listens on port 1 (tcpmux, unused for decades).
            {L"GET", L"http://127.0.0.1:1/", L"", 1, 0, kRefused, L"Can not request URL", sendFailed, 0},
            {L"GET", missing.c_str(), L"", 1, 0, ERROR_NOT_FOUND, notFound, {kFrom}, 1},
            {L"GET", L"/e?status=500", L"", 1, 0, kBadStatus, L"500 is invalid response from web server", {kFrom}, 1},
            {L"GET", L"/o", longName.c_str(), 1, 0, 122, L"Can not request /o URL", {L"@web", kFrom}, 0},
            {L"GET", L"/h?length=none&fill=600000&chunk=65536", L"", 1, 2, 8, L"", {L"@web", kFrom}, 1},
            {L"GET", L"/h?type=text/xml;charset=utf-8&body=%C3%A9", L"", 1, 2, 8, L"", utf8Failed, 1},
            {L"POST", L"/h?a=1", L"b=2", 1, 1, 8, L"", {L"@web", kFrom}, 0},
        };
    for (const auto& [method, target, parameters, encoding, failAt, code, reason, rest, requests] : rows)
    {
        SCOPED_TRACE(testing::PrintToString(target));
        const Outcome outcome = Fetch(method, target, parameters, encoding, -1, -1, failAt);
        EXPECT_EQ(code, outcome.code);
        EXPECT_EQ("", ReportMismatch(outcome.lines, code, reason.empty() ? nullptr : reason.c_str(), rest));
        EXPECT_EQ(requests, outcome.requests.size()) << "nothing is retried";
    }
    char* buffer = &g_untouched;
    DWORD size = 0;
    DebugCapture capture;
    EXPECT_EQ(87u, DownloadContentToBuffer(L"GET", L"http://127.0.0.1:1/", L"", 0, -1, -1, nullptr, &size));
    EXPECT_EQ(87u, DownloadContentToBuffer(L"GET", L"http://127.0.0.1:1/", L"", 0, -1, -1, &buffer, nullptr));
    EXPECT_EQ(std::vector<std::wstring>({ReportText(87, nullptr), kFrom, ReportText(87, nullptr), kFrom}),
              capture.Lines());
}
} // namespace
