// Starts a test server of tests/servers (the ranged one unless told otherwise) on one loopback
// address from inside a Wine test process, waits until it listens, and ends it by its PID.
#pragma once

#include <string>
#include <vector>

struct LocalServerOptions {
    std::string address;     // 127.0.0.N, one per test group
    bool http = true;        // port 80
    bool https = true;       // port 443, certificate from the test CA (trusted on start)
    int rate = 0;            // bytes per second per connection, 0 for no limit
    bool untrusted = false;  // certificate from a second CA that Windows never trusts
    // Any server of tests/servers that takes ranged_server.py's command line.
    std::string script = "ranged_server.py";
};

// One line of the server's request log.
struct ServedRequest {
    int port = 0;
    std::string method;
    std::string path;
    std::string range;
    std::string userAgent;
    int status = 0;
    long long bytesSent = 0;
    std::string headerNames;  // comma-separated, in the order received
    std::string ifRange;
};

class LocalServer {
  public:
    LocalServer() = default;
    ~LocalServer() { Stop(); }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    // False (with |error| set) when the server did not come up within 30 s.
    bool Start(const LocalServerOptions& options, std::string& error);
    void Stop();

    // The folder the server serves: a Unix path and the same seen from Windows (ends with "\").
    const std::string& RootUnix() const { return rootUnix_; }
    std::wstring RootWindows() const;
    // "https://127.0.0.N/" + path (the scheme does not choose TLS for the downloader).
    std::wstring Url(const std::string& path) const;
    // "http://127.0.0.N/" + path.
    std::wstring PlainUrl(const std::string& path) const;

    std::vector<ServedRequest> Requests() const;
    // The server logs a request once it has sent its answer, which may be after the client has
    // what it needs: waits up to |timeoutMs| for at least |count| requests.
    std::vector<ServedRequest> WaitForRequests(size_t count, unsigned timeoutMs = 5000) const;
    // The server's request log, seen from Windows.
    std::wstring RequestLogPath() const;
    void ClearRequests() const;

  private:
    std::string address_;
    std::string rootUnix_;
    std::string stateUnix_;
    int pid_ = 0;
};

// Runs a Linux program without waiting for it (Wine cannot wait on Unix processes).
bool StartUnixProgram(const std::wstring& commandLine);
