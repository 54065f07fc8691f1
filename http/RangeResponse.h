// Judging a server's answer as data: what the size query learnt about the remote file, the
// headers of one response, and whether a range answer may be written, must be retried, asks us
// to wait, or shows that the file changed or that the server ignores ranges. No network here.
#pragma once

#include <cstdint>
#include <string>

// Longest wait a busy server (503 or 429 with Retry-After) can impose before the next attempt.
constexpr int64_t kMaxBusyWaitMs = 30000;

// What the size query learnt; the validators tie every range to this one version of the file.
struct RemoteFileInfo {
    int64_t size = 0;
    std::string etag;  // strong entity tag with its quotes, empty when none or weak
    std::string lastModified;
    bool acceptRanges = false;  // "Accept-Ranges: bytes", or a range answer proved it
};

// The parts of a response header that the downloader looks at; absent headers are empty.
struct ResponseHead {
    int status = 0;
    bool hasContentLength = false;
    int64_t contentLength = 0;
    std::string contentRange;
    std::string etag;
    std::string lastModified;
    std::string acceptRanges;
    std::string retryAfter;
};

// "bytes first-last/total", "bytes first-last/*" or "bytes */total".
struct ContentRange {
    bool hasRange = false;  // false for "bytes */total"
    int64_t first = 0;
    int64_t last = 0;
    bool hasTotal = false;  // false for "/*"
    int64_t total = 0;
};
bool ParseContentRange(const std::string& text, ContentRange& range);

// A strong entity tag: a quoted string without the "W/" prefix of a weak one.
bool IsStrongEtag(const std::string& etag);

// "If-Range" value for range requests: the strong ETag, else Last-Modified, else empty.
std::string IfRangeValue(const RemoteFileInfo& info);

// An HTTP date (IMF-fixdate, RFC 850 or asctime form) as seconds since 1970 (UTC).
bool ParseHttpDate(const std::string& text, int64_t& unixSeconds);

// For a 503 or 429 that carries Retry-After (seconds or a date): how long to wait, capped at
// kMaxBusyWaitMs and never negative. -1 when the answer is not such a busy answer.
int64_t BusyWaitMs(const ResponseHead& head, int64_t nowUnixSeconds);

// The size query. From a HEAD (or a plain GET): any 2xx with a Content-Length.
bool FileInfoFromWholeAnswer(const ResponseHead& head, RemoteFileInfo& info);
// From a GET with "Range: bytes=0-0": a 206 for byte 0 whose Content-Range has the total, a
// 416 whose "bytes */total" says the file is empty, or a 200 with a Content-Length (a server
// that ignores ranges).
bool FileInfoFromProbe(const ResponseHead& head, RemoteFileInfo& info);

enum class RangeVerdict {
    kAccept,        // the requested bytes of the known version follow: write them
    kRetry,         // a faulty or failed answer: try this range again
    kBusy,          // 503 or 429 with Retry-After: wait (BusyWaitMs), then try again
    kFileChanged,   // another version of the file: what was written is worthless
    kRangeIgnored,  // the server sends the whole file for a range request
};

// Judges the answer to a request for bytes [first, last] of |info|'s file.
RangeVerdict CheckRangeResponse(const ResponseHead& head, int64_t first, int64_t last,
                                const RemoteFileInfo& info);
// Judges the answer to a request for the whole file (no Range header).
RangeVerdict CheckWholeResponse(const ResponseHead& head, const RemoteFileInfo& info);
