// The ranged download's plan as data: how the file is cut into byte ranges, the range line of
// each, and which back-end an attempt uses. Pure functions, no network and no files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One wait takes at most 64 thread handles.
constexpr int kMaxDownloadThreads = 64;
// Each range is tried at most this often, with a pause between attempts.
constexpr int kMaxRangeAttempts = 11;
constexpr unsigned kRangeRetryPauseMs = 2000;

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
