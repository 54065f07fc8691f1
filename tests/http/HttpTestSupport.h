// Shared pieces of the HTTP tests: test files with position-dependent content, file
// comparison, an event recorder for the downloader, the test log and which back-end made a
// request seen by the server.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "LocalServer.h"
#include "http/HttpDownload.h"

// Loopback addresses, one per test group so that groups never share a server.
constexpr char kRequestAddress[] = "127.0.0.20";
constexpr char kPlainOnlyAddress[] = "127.0.0.21";
constexpr char kDownloadAddress[] = "127.0.0.22";
constexpr char kFaultAddress[] = "127.0.0.23";
constexpr char kCounterAddress[] = "127.0.0.24";
constexpr char kLargeFileAddress[] = "127.0.0.25";
constexpr char kUntrustedAddress[] = "127.0.0.26";
constexpr char kNoServerAddress[] = "127.0.0.29";  // nothing ever listens here

// Creates and starts the server that a whole test suite shares on |address|; false (with the
// reason reported as a test failure) when it cannot start.
bool StartSuiteServer(const char* address, std::unique_ptr<LocalServer>& server);

// Writes |size| pseudo-random bytes (a function of |seed| and the position) to |path|.
bool MakeTestFile(const std::wstring& path, int64_t size, uint32_t seed);
// Empty when both files hold the same bytes; otherwise a description of the first difference.
std::string CompareFiles(const std::wstring& expected, const std::wstring& actual);

struct RecordedEvent {
    int event;
    int64_t a;
    int64_t b;
};

// Collects the downloader's events; pass |this| as the user data.
class EventRecorder {
  public:
    static void Callback(int event, int64_t a, int64_t b, void* userData);
    std::vector<RecordedEvent> Events() const;
    // Event 2 values in order.
    std::vector<int64_t> Progress() const;

  private:
    mutable std::mutex lock_;
    std::vector<RecordedEvent> events_;
};

// The waits a download asked for; each is cut to at most 50 ms, so a test pays no 2 s retry
// pause and no long Retry-After.
class PauseRecorder {
  public:
    PauseFunction Function();
    std::vector<unsigned> Pauses() const;

  private:
    mutable std::mutex lock_;
    std::vector<unsigned> pauses_;
};

// Runs one download (pauses cut short, |receiveTimeoutMs| as given); the result code comes
// from event 3 (-100 when it never came).
int RunDownload(const std::wstring& url, const std::wstring& savePath, int threads,
                EventRecorder* recorder = nullptr, PauseRecorder* pauses = nullptr,
                unsigned receiveTimeoutMs = kDefaultReceiveTimeoutMs);

// The tests' log file (set up by the test executables' main) and reads of what was added to
// it after a mark.
std::wstring TestLogPath();
class LogMark {
  public:
    LogMark();
    std::string NewText() const;

  private:
    size_t offset_;
};
size_t CountOccurrences(const std::string& text, const std::string& pattern);

// "WinHttp" or "Internet": WinHTTP's requests carry Pragma/Cache-Control from the refresh flag,
// WinINet's carry a (blank) User-Agent.
std::string BackendOf(const ServedRequest& request);
std::vector<ServedRequest> GetRequests(const std::vector<ServedRequest>& all);

// A unique tag for URLs whose once-only faults must not be shared with another test.
std::string UniqueTag();
