#include "HttpTestServer.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testweb
{
namespace
{
bool SameName(const std::string& a, const char* b)
{
    return _stricmp(a.c_str(), b) == 0;
}

std::string ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Splits a recorded request: request line, header lines, blank line, body.
HttpRequestRecord ParseRecord(const std::string& raw)
{
    HttpRequestRecord record;
    size_t start = 0;
    bool first = true;
    for (;;)
    {
        const size_t end = raw.find("\r\n", start);
        if (end == std::string::npos)
            break;
        const std::string line = raw.substr(start, end - start);
        start = end + 2;
        if (first)
            record.requestLine = line;
        else if (line.empty())
            break;
        else
        {
            const size_t colon = line.find(':');
            const size_t value = line.find_first_not_of(' ', colon + 1);
            record.headers.emplace_back(line.substr(0, colon),
                                        value == std::string::npos ? std::string() : line.substr(value));
        }
        first = false;
    }
    record.body = raw.substr(start);
    return record;
}
} // namespace

bool HttpRequestRecord::HasHeader(const char* name) const
{
    return std::any_of(headers.begin(), headers.end(), [&](const auto& h) { return SameName(h.first, name); });
}

std::string HttpRequestRecord::Header(const char* name) const
{
    const auto found =
        std::find_if(headers.begin(), headers.end(), [&](const auto& h) { return SameName(h.first, name); });
    return found == headers.end() ? std::string() : found->second;
}

bool HttpTestServer::Open(std::string* problem)
{
    const char* state = std::getenv("TARVIK_HTTP_STATE");
    if (!state || !*state)
    {
        *problem = "TARVIK_HTTP_STATE is not set: run the test through ctest, which starts the server";
        return false;
    }
    // Wine shows the Unix file system as drive Z:.
    m_stateFolder = L"Z:";
    for (const char* p = state; *p; ++p)
        m_stateFolder += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    m_port = static_cast<unsigned>(std::atoi(ReadFile(m_stateFolder + L"\\port").c_str()));
    if (m_port == 0)
    {
        *problem = std::string("no port file in ") + state;
        return false;
    }
    return true;
}

std::wstring HttpTestServer::Url(const std::wstring& target) const
{
    return L"http://127.0.0.1:" + std::to_wstring(m_port) + target;
}

bool HttpTestServer::PublishFile(const std::wstring& name, const std::string& body) const
{
    const std::wstring folder = m_stateFolder + L"\\files";
    CreateDirectoryW(folder.c_str(), nullptr);
    HANDLE file = CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, body.data(), static_cast<DWORD>(body.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == body.size();
}

size_t HttpTestServer::RequestCount() const
{
    size_t count = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((m_stateFolder + L"\\requests\\*.http").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do
        ++count;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

std::vector<HttpRequestRecord> HttpTestServer::RequestsSince(size_t mark) const
{
    std::vector<HttpRequestRecord> records;
    for (size_t n = mark + 1; n <= RequestCount(); ++n)
    {
        wchar_t name[32];
        swprintf(name, 32, L"\\requests\\%06u.http", static_cast<unsigned>(n));
        records.push_back(ParseRecord(ReadFile(m_stateFolder + name)));
    }
    return records;
}
} // namespace testweb
