// DownloadContentToBuffer against a real HTTP server on 127.0.0.1: what the
// client returns, what it writes to the debug stream, and what the server
// received (request line, version, agent, headers, body).
#include "DebugCapture.h"
#include "HeapWatch.h"
#include "HttpTestServer.h"
#include "ReportLines.h"

#include <libmerrow/web.h>

#include <gtest/gtest.h>

#include <wininet.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
using testhost::Ansi;
using testhost::DebugCapture;
using testhost::HeapWatch;
using testhost::ReportMismatch;
using testhost::ReportText;
using testweb::HttpRequestRecord;

const wchar_t kFrom[] = L"from DownloadContentToBuffer()";
char g_untouched; // where the out-argument points until the call writes it

// The bytes the server's "fill" answer sends.
std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

struct Outcome
{
    DWORD code = 0;
    std::unique_ptr<char[]> buffer;
    DWORD size = 0;
    std::vector<std::wstring> lines;
    std::vector<HttpRequestRecord> requests;
    std::vector<size_t> allocations; // sizes of the call's array allocations

    std::string Body() const { return buffer ? std::string(buffer.get(), size) : std::string(); }
};

class Download : public testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        std::string problem;
        ASSERT_TRUE(s_server.Open(&problem)) << problem;
    }

    // One download; `failAllocation` makes that allocation of the call fail.
    // Whatever the outcome, the call may leave nothing allocated but the
    // buffer it returns.
    static Outcome Fetch(const wchar_t* method, const std::wstring& url, const wchar_t* parameters,
                         DWORD encoding = kContentEncodingNone, LONGLONG rangeStart = -1, LONGLONG rangeEnd = -1,
                         int failAllocation = 0)
    {
        Outcome outcome;
        const size_t mark = s_server.RequestCount();
        char* buffer = &g_untouched;
        {
            HeapWatch heap(failAllocation);
            DebugCapture capture;
            outcome.code = DownloadContentToBuffer(method, url.c_str(), parameters, encoding, rangeStart, rangeEnd,
                                                   &buffer, &outcome.size);
            outcome.lines = capture.Lines();
            outcome.allocations = heap.Sizes();
            EXPECT_EQ(outcome.code == 0 && buffer ? 1 : 0, heap.Alive()) << "memory left behind";
        }
        outcome.requests = s_server.RequestsSince(mark);
        if (outcome.code == 0)
            outcome.buffer.reset(buffer);
        else
            EXPECT_EQ(&g_untouched, buffer) << "a failed call must not write the buffer argument";
        return outcome;
    }

    static std::wstring Url(const std::wstring& target) { return s_server.Url(target); }

    static testweb::HttpTestServer s_server;
};

testweb::HttpTestServer Download::s_server;

// A clean exchange: one request, the fixed agent and cache headers, no
// retries and nothing on the debug stream.
void ExpectOneCleanRequest(const Outcome& outcome)
{
    EXPECT_EQ(0u, outcome.code);
    EXPECT_TRUE(outcome.lines.empty()) << testing::PrintToString(outcome.lines);
    ASSERT_EQ(1u, outcome.requests.size());
    EXPECT_EQ("libAPI", outcome.requests[0].Header("User-Agent"));
    EXPECT_EQ("no-cache", outcome.requests[0].Header("Pragma"));
}

// What the server received: the object name (the query joined to the
// parameters for GET, sent as the body for POST), the form type with
// encoding 1 whatever the method, and the Range header.
TEST_F(Download, RequestAsTheServerSawIt)
{
    struct Row
    {
        const wchar_t* method;
        const wchar_t* target;
        const wchar_t* parameters;
        const char* requestLine;
        std::string body;
        DWORD encoding;
        LONGLONG start, end;
        const char* range; // empty: no Range header
    };
    const Row rows[] = {
        {L"GET", L"/a/b.html", L"", "GET /a/b.html? HTTP/1.0", "", 0, -1, -1, ""},
        {L"GET", L"/a/b.html?x=1", L"", "GET /a/b.html?x=1& HTTP/1.0", "", 0, -1, -1, ""},
        {L"GET", L"/a/b.html?x=1&", L"", "GET /a/b.html?x=1& HTTP/1.0", "", 0, -1, -1, ""},
        {L"GET", L"/a/b.html", L"p=1&q=2", "GET /a/b.html?p=1&q=2 HTTP/1.0", "", 0, -1, -1, ""},
        {L"GET", L"/a/b.html?x=1", L"p=1", "GET /a/b.html?x=1&p=1 HTTP/1.0", "", 0, -1, -1, ""},
        {L"get", L"/tarvikpro7/checkupdate.html", L"", "get /tarvikpro7/checkupdate.html? HTTP/1.0", "", 0, -1, -1, ""},
        {L"POST", L"/form?x=1", L"y=2", "POST /form HTTP/1.0", "x=1&y=2", 1, -1, -1, ""},
        {L"POST", L"/form?x=1&", L"y=2", "POST /form HTTP/1.0", "x=1&y=2", 1, -1, -1, ""},
        {L"POST", L"/form", L"y=2", "POST /form HTTP/1.0", "y=2", 1, -1, -1, ""},
        {L"POST", L"/form?x=1", L"", "POST /form HTTP/1.0", "x=1&", 1, -1, -1, ""},
        // Any encoding but 0 allows a POST; only 1 names the form type.
        {L"post", L"/f", L"n=caf\u00e9", "post /f HTTP/1.0", Ansi(L"n=caf\u00e9"), 2, -1, -1, ""},
        {L"GET", L"/r", L"", "GET /r? HTTP/1.0", "", 0, 0, 0, ""},
        {L"GET", L"/r", L"", "GET /r? HTTP/1.0", "", 1, -1, 0, ""},
        {L"GET", L"/r", L"", "GET /r? HTTP/1.0", "", 0, 100, 0, "bytes=100-"},
        {L"GET", L"/r", L"", "GET /r? HTTP/1.0", "", 0, 100, -1, "bytes=100-"}, // a negative end is no end
        {L"GET", L"/r", L"", "GET /r? HTTP/1.0", "", 0, 0, 99, "bytes=0-99"},
        {L"GET", L"/r", L"", "GET /r? HTTP/1.0", "", 0, -1, 99, "bytes=0-99"}, // nor is a negative start
        {L"GET", L"/r", L"", "GET /r? HTTP/1.0", "", 1, 100, 199, "bytes=100-199"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.requestLine << " " << row.start << ".." << row.end);
        const Outcome outcome = Fetch(row.method, Url(row.target), row.parameters, row.encoding, row.start, row.end);
        ExpectOneCleanRequest(outcome);
        EXPECT_EQ("hello", outcome.Body());
        ASSERT_EQ(1u, outcome.requests.size());
        const HttpRequestRecord& seen = outcome.requests[0];
        EXPECT_EQ(row.requestLine, seen.requestLine);
        EXPECT_EQ(row.body, seen.body);
        if (_wcsicmp(row.method, L"POST") == 0)
        {
            EXPECT_EQ(std::to_string(row.body.size()), seen.Header("Content-Length"));
        }
        EXPECT_EQ(row.encoding == 1 ? "application/x-www-form-urlencoded" : "", seen.Header("Content-Type"));
        EXPECT_EQ(*row.range != '\0', seen.HasHeader("Range"));
        EXPECT_EQ(row.range, seen.Header("Range"));
    }
}

// "charset=utf-8" in any letter case converts the body to the ANSI code page
// ("é" exists in the usual ones, U+1F600 in none); "utf8" is not that name.
TEST_F(Download, BodiesAsTheyCome)
{
    const std::string converted = Ansi(L"<v>caf\u00e9 \U0001F600</v>");
    struct Row
    {
        const wchar_t* target;
        std::string body;
        bool buffer;     // false: success without any buffer
        bool terminated; // a converted body ends in NUL
    };
    const Row rows[] = {
        {L"/s?status=206&body=part&header=Content-Range:bytes%200-3/10", "part", true, false},
        {L"/s?status=304&length=none&body=", "", false, false},
        {L"/s?length=none&body=", "", false, false},
        {L"/s?length=10&body=abc", std::string("abc\0\0\0\0\0\0\0", 10), true, false}, // announced size
        {L"/s?length=3&body=abcdef", "abc", true, false},                              // nothing past the announced end
        {L"/s?length=none&body=hello&chunk=1&pause=20", "hello", true, false},
        {L"/s?type=text/xml;%20charset=utf8&body=caf%C3%A9", "caf\xC3\xA9", true, false},
        {L"/u?type=text/xml;%20charset=utf-8&body=%3Cv%3Ecaf%C3%A9%20%F0%9F%98%80%3C/v%3E", converted, true, true},
        {L"/u?type=TEXT/XML;CHARSET=UTF-8&length=none&body=%3Cv%3Ecaf%C3%A9%20%F0%9F%98%80%3C/v%3E", converted, true,
         true},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::PrintToString(row.target));
        const Outcome outcome = Fetch(L"GET", Url(row.target), L"");
        ExpectOneCleanRequest(outcome);
        EXPECT_EQ(row.buffer, outcome.buffer != nullptr);
        EXPECT_EQ(row.body.size(), outcome.size);
        EXPECT_TRUE(row.body == outcome.Body());
        if (row.terminated && outcome.buffer)
        {
            EXPECT_EQ('\0', outcome.buffer[outcome.size]);
        }
    }
}

// An announced body gets one buffer of its size; an unannounced one a buffer
// grown in steps of 512 KiB, its content carried over each time.
TEST_F(Download, BodyBuffers)
{
    const Outcome announced = Fetch(L"GET", Url(L"/g?fill=1500000&chunk=65536"), L"");
    EXPECT_EQ(std::vector<size_t>({1500000}), announced.allocations);
    const Outcome grown = Fetch(L"GET", Url(L"/g?fill=1500000&chunk=65536&length=none"), L"");
    EXPECT_EQ(std::vector<size_t>({0x80000, 0x100000, 0x180000}), grown.allocations);
    EXPECT_TRUE(Pattern(1500000) == grown.Body());
}

TEST_F(Download, HttpErrorStatuses)
{
    struct Row
    {
        const wchar_t* target;
        DWORD code;
        std::wstring reason;
    };
    const Row rows[] = {
        {L"/missing.html?status=404", ERROR_NOT_FOUND, L"There is no " + Url(L"/missing.html?status=404") + L" file"},
        {L"/e?status=500", ERROR_HTTP_INVALID_QUERY_REQUEST, L"500 is invalid response from web server"},
        {L"/e?status=201", ERROR_HTTP_INVALID_QUERY_REQUEST, L"201 is invalid response from web server"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.reason);
        const Outcome outcome = Fetch(L"GET", Url(row.target), L"");
        EXPECT_EQ(row.code, outcome.code);
        EXPECT_EQ(std::vector<std::wstring>({ReportText(row.code, row.reason.c_str()), kFrom}), outcome.lines);
        EXPECT_EQ(1u, outcome.requests.size()) << "nothing is retried";
    }
}

// Failures found before anything reaches the server, and failures to reach
// it at all.
TEST_F(Download, RefusedBeforeOrWithoutAnExchange)
{
    const std::wstring url = Url(L"/x");
    // Nothing listens on port 1 (tcpmux, unused for decades) on this host.
    const wchar_t refusedHttp[] = L"http://127.0.0.1:1/x";
    const wchar_t refusedFtp[] = L"ftp://127.0.0.1:1/x";
    char* buffer = &g_untouched;
    DWORD size = 0;
    struct Row
    {
        const wchar_t* method;
        const wchar_t* url;
        const wchar_t* parameters;
        DWORD encoding;
        char** buffer;
        DWORD* size;
        DWORD code; // 0: the code the platform gives for cracking the URL
        const wchar_t* reason;
        const wchar_t* call; // the "from" line naming the failed platform call
    };
    const Row rows[] = {
        {nullptr, url.c_str(), L"", 0, &buffer, &size, 87, nullptr, nullptr},
        {L"GET", nullptr, L"", 0, &buffer, &size, 87, nullptr, nullptr},
        {L"GET", url.c_str(), nullptr, 0, &buffer, &size, 87, nullptr, nullptr},
        {L"GET", url.c_str(), L"", 0, nullptr, &size, 87, nullptr, nullptr},
        {L"GET", url.c_str(), L"", 0, &buffer, nullptr, 87, nullptr, nullptr},
        {L"POST", url.c_str(), L"a=1", 0, &buffer, &size, 87, L"POST method must use url encoding", nullptr},
        {L"PUT", url.c_str(), L"", 1, &buffer, &size, 50, L"PUT method is not supported", nullptr},
        {L"GET", L"no url", L"", 0, &buffer, &size, 0, L"Can not parse URL", L"from InternetCrackUrl()"},
        {L"GET", refusedHttp, L"", 0, &buffer, &size, ERROR_INTERNET_CANNOT_CONNECT, L"Can not request URL",
         L"from HttpSendRequest()"},
        {L"GET", refusedFtp, L"", 0, &buffer, &size, ERROR_INTERNET_CANNOT_CONNECT, L"Can not connect host",
         L"from InternetOpenUrl()"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::PrintToString(row.url ? row.url : L"(null)") + " " +
                     testing::PrintToString(row.reason ? row.reason : L""));
        DWORD code = row.code;
        if (code == 0)
        {
            URL_COMPONENTSW parts = {};
            parts.dwStructSize = sizeof(parts);
            parts.dwHostNameLength = 1;
            SetLastError(0xdeadbeef);
            ASSERT_FALSE(InternetCrackUrlW(row.url, static_cast<DWORD>(wcslen(row.url)), 0, &parts));
            code = GetLastError();
        }
        const size_t mark = s_server.RequestCount();
        DebugCapture capture;
        EXPECT_EQ(code, DownloadContentToBuffer(row.method, row.url, row.parameters, row.encoding, -1, -1, row.buffer,
                                                row.size));
        std::vector<std::wstring> expected = {ReportText(code, row.reason)};
        if (row.call)
            expected.push_back(row.call);
        expected.push_back(kFrom);
        EXPECT_EQ(expected, capture.Lines());
        EXPECT_EQ(&g_untouched, buffer);
        EXPECT_EQ(mark, s_server.RequestCount());
    }
}

// An object name longer than its buffer is refused, not cut.
TEST_F(Download, OverlongObjectName)
{
    const std::wstring parameters(5000, L'a');
    const Outcome outcome = Fetch(L"GET", Url(L"/o"), parameters.c_str());
    EXPECT_EQ(122u, outcome.code);
    EXPECT_EQ("", ReportMismatch(outcome.lines, 122, L"Can not request /o URL", {L"@web", kFrom}));
    EXPECT_TRUE(outcome.requests.empty());
}

// The server aborts the connection in the middle of the body.
TEST_F(Download, ConnectionResetDuringTheBody)
{
    for (const wchar_t* target : {L"/z?fill=300000&reset=1000", L"/z?fill=300000&reset=1000&length=none"})
    {
        SCOPED_TRACE(testing::PrintToString(target));
        const Outcome outcome = Fetch(L"GET", Url(target), L"");
        EXPECT_NE(0u, outcome.code);
        EXPECT_EQ("", ReportMismatch(outcome.lines, outcome.code, nullptr, {L"@web", kFrom}));
    }
}

// Every allocation of a download failing in turn: code 8, its own report,
// and nothing left allocated.
TEST_F(Download, ExhaustedHeap)
{
    struct Row
    {
        const wchar_t* method;
        const wchar_t* target;
        int failAt;
        const wchar_t* source; // the source-location line's file, or none
        const wchar_t* callee; // the "from" line of a library routine that failed inside
        bool requested;        // whether the request went out
    };
    const Row rows[] = {
        {L"GET", L"/h", 1, nullptr, nullptr, true},                                    // body of announced length
        {L"GET", L"/h?length=none&fill=600000&chunk=65536", 2, L"web", nullptr, true}, // growing the body
        {L"POST", L"/h?a=1", 1, L"web", nullptr, false},                               // the body text
        {L"POST", L"/h?a=1", 2, L"web", nullptr, false},                               // body in the ANSI code page
        {L"GET", L"/h?type=text/plain;charset=utf-8&body=caf%C3%A9", 2, L"string", L"from UTF8toMultiByte()", true},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::PrintToString(row.target) + " allocation " + std::to_string(row.failAt));
        const Outcome outcome = Fetch(row.method, Url(row.target), L"b=2", kContentEncodingUrlForm, -1, -1, row.failAt);
        EXPECT_EQ(8u, outcome.code);
        EXPECT_EQ(row.requested ? 1u : 0u, outcome.requests.size());
        std::vector<std::wstring> rest = {kFrom};
        if (row.callee)
            rest.insert(rest.begin(), row.callee);
        if (row.source)
            rest.insert(rest.begin(), std::wstring(L"@") + row.source);
        EXPECT_EQ("", ReportMismatch(outcome.lines, 8, nullptr, rest));
    }
}
} // namespace
