// The test side of http_test_server.py: where the server listens and what
// it received. The server runs as a ctest fixture; its state folder (a Unix
// path) comes in the environment variable TARVIK_HTTP_STATE.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace testweb
{
// One request as the server read it off the wire.
struct HttpRequestRecord
{
    std::string requestLine; // without its line end
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    bool HasHeader(const char* name) const;
    std::string Header(const char* name) const; // empty when absent
};

class HttpTestServer
{
  public:
    // Finds the running server; false with the reason in *problem.
    bool Open(std::string* problem);
    // "http://127.0.0.1:<port>" followed by `target`.
    std::wstring Url(const std::wstring& target) const;
    // Stores `body` for the server to send as the answer to "file=<name>"
    // (long bodies would not fit into a URL).
    bool PublishFile(const std::wstring& name, const std::string& body) const;
    // Number of requests received so far.
    size_t RequestCount() const;
    // The requests received after the first `mark` ones.
    std::vector<HttpRequestRecord> RequestsSince(size_t mark) const;

  private:
    std::wstring m_stateFolder;
    unsigned m_port = 0;
};
} // namespace testweb
