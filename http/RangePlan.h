// The ranged download's plan as data: how the file is cut into byte ranges, the range line of
// each, which back-end an attempt uses, and how an idle thread takes over half of a slow range.
// Pure functions and plain data, no network and no files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One wait takes at most 64 thread handles.
constexpr int kMaxDownloadThreads = 64;
// Each range is tried at most this often, with a pause between attempts.
constexpr int kMaxRangeAttempts = 11;
constexpr unsigned kRangeRetryPauseMs = 2000;
// A remainder smaller than this is not worth a second connection...
constexpr int64_t kMinSplitRemainder = 2 * 1024 * 1024;
// ...unless its owner is so slow that it would need longer than this for it...
constexpr double kSlowRemainderSeconds = 1.0;
// ...and even then a tail below this stays with its owner.
constexpr int64_t kMinSplitTail = 256 * 1024;

struct PlannedRange {
    int index = 0;
    int64_t start = 0;
    int64_t length = 0;  // never 0: a range always has at least one byte
};

struct DownloadPlan {
    int requestedThreads = 0;
    int threadCount = 0;  // == ranges.size()
    std::vector<PlannedRange> ranges;
};

// Splits |fileSize| bytes into equal ranges, the last one taking the remainder. The thread
// count is the request clamped to 1..64 and lowered to the size, so no range is empty or
// inverted (a 0-byte file has no range at all).
DownloadPlan PlanDownloadRanges(int64_t fileSize, int requestedThreads);

// "Range:bytes=first-last" for the range's inclusive byte positions.
std::wstring FormatRangeLine(int64_t start, int64_t length);

// 0 (WinHTTP) or 1 (WinINet): the back-end with fewer failures so far; on a tie WinHTTP for
// even attempts and WinINet for odd ones.
int ChooseRequestType(int attempt, int winHttpFailures, int internetFailures);

// A stretch of the file that one thread fetches: bytes [next, end) are still missing.
struct RangeSegment {
    int64_t start = 0;
    int64_t end = 0;  // exclusive; lowered when another thread takes over the tail
    int64_t next = 0;
    int owner = 0;  // thread index
};

// Who fetches which bytes while the download runs. Threads refer to segments by index, never
// by address, so the table may grow while they run; the caller serialises every call.
class RangeTable {
  public:
    // Segment i is range i of the plan, owned by thread i.
    explicit RangeTable(const DownloadPlan& plan);

    size_t Count() const { return segments_.size(); }
    const RangeSegment& Segment(size_t index) const { return segments_[index]; }
    int64_t Remaining(size_t index) const;
    // Bytes received so far over all segments.
    int64_t Done() const;

    // Records |count| bytes received at the segment's next position and returns how many of
    // them belong to it: never more than its remainder, so a segment whose end was lowered
    // stops there.
    int64_t Accept(size_t index, int64_t count);

    // The measured speed of a thread's connection, in bytes per second.
    void NoteRate(int thread, double bytesPerSecond);

    // For an idle |thread|: takes over the tail of the segment whose owner needs longest for
    // its remainder (by measured speed; by size while speeds are unknown), when that remainder
    // is at least kMinSplitRemainder, or at least kMinSplitTail and its owner, slower than
    // |thread|, would need more than kSlowRemainderSeconds for it. The owner keeps the share
    // it fetches while |thread| fetches the rest (half while a speed is unknown) and stops at
    // the new end. Returns the new segment's index, or -1.
    int Split(int thread);

    // Forgets what the segment received: a body that cannot be resumed starts again.
    void Rewind(size_t index) { segments_[index].next = segments_[index].start; }

  private:
    double RateOf(int thread) const;

    std::vector<RangeSegment> segments_;
    std::vector<double> rates_;  // by thread index, 0 while unknown
};
