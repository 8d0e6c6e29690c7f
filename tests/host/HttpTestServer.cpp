#include "HttpTestServer.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testweb
{
namespace
{
std::string ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

std::string HttpRequestRecord::Header(const char* lowerCaseName) const
{
    const std::string all = "\r\n" + head, key = "\r\n" + std::string(lowerCaseName) + ": ";
    const size_t at = all.find(key), value = at + key.size();
    return at == std::string::npos ? std::string() : all.substr(value, all.find("\r\n", value) - value);
}

bool HttpTestServer::Open(std::string* problem)
{
    const char* state = std::getenv("TARVIK_HTTP_STATE");
    m_stateFolder = L"Z:"; // Wine shows the Unix file system as drive Z:
    for (const char* p = state ? state : ""; *p; ++p)
        m_stateFolder += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    m_port = static_cast<unsigned>(std::atoi(ReadFile(m_stateFolder + L"\\port").c_str()));
    if (m_port == 0)
        *problem = "no port file in TARVIK_HTTP_STATE: run the test through ctest, which starts the server";
    return m_port != 0;
}

std::wstring HttpTestServer::Url(const std::wstring& target) const
{
    return L"http://127.0.0.1:" + std::to_wstring(m_port) + target;
}

bool HttpTestServer::PublishFile(const std::wstring& name, const std::string& body) const
{
    std::ofstream out((m_stateFolder + L"\\files\\" + name).c_str(), std::ios::binary);
    out << body;
    return static_cast<bool>(out.flush());
}

size_t HttpTestServer::RequestCount() const
{
    return static_cast<size_t>(std::atoi(ReadFile(m_stateFolder + L"\\requests\\count").c_str()));
}

std::vector<HttpRequestRecord> HttpTestServer::RequestsSince(size_t mark) const
{
    std::vector<HttpRequestRecord> records;
    for (size_t n = mark + 1, count = RequestCount(); n <= count; ++n)
    {
        wchar_t name[32];
        swprintf(name, 32, L"\\requests\\%06u.http", static_cast<unsigned>(n));
        const std::string raw = ReadFile(m_stateFolder + name);
        const size_t line = raw.find("\r\n"), end = raw.find("\r\n\r\n", line);
        if (line == std::string::npos || end == std::string::npos)
            continue;
        records.push_back({raw.substr(0, line), raw.substr(line + 2, end - line), raw.substr(end + 4)});
    }
    return records;
}
} // namespace testweb
