// The update check against a hostile server on 127.0.0.1 (docs/reliability.md):
// every run ends with exactly one message and gives back its handles; the
// time each took is printed. The silence lasts TARVIK_STALL_SECONDS (2 unless set).
#include "HttpTestServer.h"
#include "ProcessUsage.h"
#include "SheetSession.h"

#include "pages/CDlgInfoSetting.h"
#include "core/Globals.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

namespace
{
std::string Answer(const std::string& version, const std::string& padding = "")
{
    return "<?xml version=\"1.0\"?><kastrel><product><tarvik7><workflow>" + padding + "<version>" + version +
           "</version><downloadurl>http://a.example/t.exe</downloadurl></workflow></tarvik7></product></kastrel>";
}

TEST(HostileServer, EveryRunEndsWithOneMessageAndGivesEverythingBack)
{
    ASSERT_TRUE(EnsureResourceModule());
    testweb::HttpTestServer server;
    std::string problem;
    ASSERT_TRUE(server.Open(&problem)) << problem;
    const char* stallSetting = std::getenv("TARVIK_STALL_SECONDS");
    const std::string stall = stallSetting && *stallSetting ? stallSetting : "2";
    const std::string newer = Answer("9.0");
    const std::string badUtf8 = Answer("9.0", "<p>\xC3\x28\xFF\xFE\xED\xA0\x80\xF8\x88\x80\x80\x80</p>");
    ASSERT_TRUE(server.PublishFile(L"newer.xml", newer));
    ASSERT_TRUE(server.PublishFile(L"bad-utf8.xml", badUtf8));
    ASSERT_TRUE(server.PublishFile(L"only-bad-utf8.xml", std::string(2000, '\xFF')));

    // The published file as the file: address Wine gives its Unix path.
    const char* state = std::getenv("TARVIK_HTTP_STATE");
    const std::string localFile = std::string("file:///Z:") + (state ? state : "") + "/files/newer.xml";
    HWND owner = CreateWindowExW(0, L"STATIC", L"Update check owner", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    const WORD installed[4] = {7, 0, 0, 1};
    // What the information page does on a click of its button.
    const auto check = [&](const std::wstring& url) {
        CDlgInfoSetting::ShowUpdateResult(owner, CheckForUpdate(url.c_str(), installed));
    };
    const std::tuple<const char*, std::string, UINT> rows[] = {
        {"a whole answer, for comparison", "file=newer.xml", IDS_NEWER_VERSION},
        {"100 MiB announced, 5 bytes sent", "length=104857600", IDS_NO_NEWER_VERSION},
        {"1 MiB announced, the answer sent", "file=newer.xml&length=1048576", IDS_NEWER_VERSION},
        {"100 MiB without a length", "stream=104857600&length=none", IDS_NO_NEWER_VERSION},
        {"a status line that is not HTTP", "body=SSH-2.0-Hostile%0D%0A%0D%0A&headers=none", IDS_NO_NEWER_VERSION},
        {"no status line, only the answer", "file=newer.xml&headers=none", IDS_NO_NEWER_VERSION},
        {"the answer cut mid-way", "file=newer.xml&cut=" + std::to_string(newer.size() / 2), IDS_NO_NEWER_VERSION},
        {"invalid UTF-8 beside the answer", "file=bad-utf8.xml&type=text/xml;charset=utf-8", IDS_NEWER_VERSION},
        {"nothing but invalid UTF-8", "file=only-bad-utf8.xml&type=text/xml;charset=utf-8", IDS_NO_NEWER_VERSION},
        {"silence, then the connection ends", "stall=" + stall + "&body=&headers=none", IDS_NO_NEWER_VERSION},
        {"a redirect to a local file", "status=302&location=" + localFile, IDS_NO_NEWER_VERSION},
    };
    // The first exchange (the network layer) and the first failure line (the
    // debug stream's mutex) keep handles for good: not runs to count.
    for (const wchar_t* warmUp : {L"/?file=newer.xml", L"/?status=404"})
    {
        const std::wstring url = server.Url(warmUp);
        testhost::CallAnsweringMessageBoxes(IDCANCEL, [&] { check(url); });
    }
    std::printf("update check against a hostile server (silence of %s s):\n", stall.c_str());
    for (const auto& [what, query, message] : rows)
    {
        SCOPED_TRACE(what);
        const std::wstring url =
            server.Url(L"/tarvikpro7/checkupdate.html?" + std::wstring(query.begin(), query.end()));
        const testhost::ProcessUsage before = testhost::CurrentProcessUsage();
        const auto start = std::chrono::steady_clock::now();
        const std::vector<std::wstring> shown = testhost::CallAnsweringMessageBoxes(IDCANCEL, [&] { check(url); });
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const testhost::ProcessUsage after = testhost::CurrentProcessUsage();
        EXPECT_EQ(std::vector<std::wstring>{testhost::MessageOf(IDS_CAPTION_INFORMATION, message)}, shown);
        EXPECT_EQ(before.handles, after.handles);
        std::printf("  %-36s %6.2f s  message %u  handles %lu -> %lu\n", what, seconds, message, before.handles,
                    after.handles);
    }
    DestroyWindow(owner);
}
} // namespace
