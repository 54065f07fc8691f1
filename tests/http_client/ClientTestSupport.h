// Shared pieces of the client-family tests: the scripted server (tests/servers/
// scripted_server.py) on its own address, what it recorded, the bodies it sends, owned clients
// and an observer that records events and can cancel.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "LocalServer.h"
#include "http/HttpBase.h"

// One loopback address per test group.
constexpr char kBytesAddress[] = "127.0.0.40";
constexpr char kStatusAddress[] = "127.0.0.41";
constexpr char kDownloadAddress[] = "127.0.0.42";
constexpr char kRedirectAddress[] = "127.0.0.44";
constexpr char kUntrustedAddress[] = "127.0.0.45";  // TLS certificate from an unknown CA
constexpr char kClosedAddress[] = "127.0.0.49";     // nothing listens here

// Starts the scripted server on |address| (its certificate from an untrusted CA when asked);
// false (reported as a test failure) when it cannot.
bool StartScriptedServer(const char* address, std::unique_ptr<LocalServer>& server,
                         bool untrusted = false);

// "http://A/path" or "https://A/path" for a server address.
std::wstring PlainUrl(const char* address, const std::string& path);
std::wstring TlsUrl(const char* address, const std::string& path);

// What the scripted server saw: each request with its exact bytes and connection number.
struct RecordedRequest {
    int connection = 0;
    int port = 0;
    std::string method;
    std::string target;
    std::string bytes;
};
std::vector<RecordedRequest> RecordedRequests(const LocalServer& server);
// Every byte received on |connection|, once it has ended (waits up to 10 s); empty if never.
std::string ConnectionBytes(const LocalServer& server, int connection);
// The header lines of a request (without the request line), in the order sent.
std::vector<std::string> HeaderLines(const std::string& request);

// The scripted server's body of |length| bytes: byte i is i % 251.
std::string ScriptedBody(size_t length);

using ClientPtr = std::unique_ptr<IHttpBase, HttpClientReleaser>;
ClientPtr MakeClient(int kind);
const char* KindName(int kind);

struct ObservedEvent {
    int context;
    int event;
    double total;
    double done;
};

// Records OnProgress calls; answers IsCancelled with true once |cancelAfter| progress events
// have arrived (never when negative).
class RecordingObserver : public IDownloadObserver {
  public:
    explicit RecordingObserver(int cancelAfter = -1) : cancelAfter_(cancelAfter) {}
    void OnProgress(int context, int event, double total, double done) override;
    bool IsCancelled() override;

    const std::vector<ObservedEvent>& Events() const { return events_; }
    // The event kinds in order, with runs of progress events folded into one 0.
    std::vector<int> Shape() const;

  private:
    int cancelAfter_;
    int progressCount_ = 0;
    std::vector<ObservedEvent> events_;
};

// A buffer download's result, the malloc'ed buffer freed.
struct BufferResult {
    bool ok = false;
    std::string body;
    int code = 0;
};
BufferResult DownloadBuffer(IHttpBase& client, const std::wstring& url);

// Runs |work| on a thread of its own and waits at most |limitMs|: a hang detector, with a limit
// many times the time-out under test. A hang ends the test program with a failure, since the
// thread still uses the caller's objects.
void ExpectReturnsWithin(const std::function<void()>& work, unsigned limitMs);
