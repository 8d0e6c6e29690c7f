// The test side of http_test_server.py, a ctest fixture whose state folder (a
// Unix path) comes in the environment variable TARVIK_HTTP_STATE.
#pragma once

#include <string>
#include <vector>

namespace testweb
{
struct HttpRequestRecord // one request as the server read it off the wire
{
    std::string requestLine, head, body;                 // head: "<lower-case name>: <value>\r\n" lines
    std::string Header(const char* lowerCaseName) const; // empty when absent
};

class HttpTestServer
{
  public:
    bool Open(std::string* problem);
    std::wstring Url(const std::wstring& target) const; // "http://127.0.0.1:<port>" + target
    // Stores `body` as the answer to "file=<name>" (long bodies do not fit into a URL).
    bool PublishFile(const std::wstring& name, const std::string& body) const;
    size_t RequestCount() const;
    std::vector<HttpRequestRecord> RequestsSince(size_t mark) const;

  private:
    std::wstring m_stateFolder;
    unsigned m_port = 0;
};
} // namespace testweb
