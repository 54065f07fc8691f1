#include "http/RangePlan.h"

#include <algorithm>

DownloadPlan PlanDownloadRanges(int64_t fileSize, int requestedThreads) {
    DownloadPlan plan;
    plan.requestedThreads = requestedThreads;
    int64_t count = std::clamp(requestedThreads, 1, kMaxDownloadThreads);
    count = std::min<int64_t>(count, std::max<int64_t>(fileSize, 0));
    plan.threadCount = static_cast<int>(count);
    if (count == 0) {
        return plan;
    }
    const int64_t chunk = fileSize / count;
    for (int i = 0; i < plan.threadCount; ++i) {
        PlannedRange range;
        range.index = i;
        range.start = i * chunk;
        range.length = (i == plan.threadCount - 1) ? fileSize - (count - 1) * chunk : chunk;
        plan.ranges.push_back(range);
    }
    return plan;
}

std::wstring FormatRangeLine(int64_t start, int64_t length) {
    return L"Range:bytes=" + std::to_wstring(start) + L"-" + std::to_wstring(start + length - 1);
}

int ChooseRequestType(int attempt, int winHttpFailures, int internetFailures) {
    if (internetFailures < winHttpFailures) {
        return 1;
    }
    if (internetFailures > winHttpFailures) {
        return 0;
    }
    return attempt % 2 == 0 ? 0 : 1;
}

RangeTable::RangeTable(const DownloadPlan& plan) {
    for (const PlannedRange& range : plan.ranges) {
        segments_.push_back({range.start, range.start + range.length, range.start, range.index});
    }
}

int64_t RangeTable::Remaining(size_t index) const {
    return segments_[index].end - segments_[index].next;
}

int64_t RangeTable::Done() const {
    int64_t done = 0;
    for (const RangeSegment& segment : segments_) {
        done += segment.next - segment.start;
    }
    return done;
}

int64_t RangeTable::Accept(size_t index, int64_t count) {
    const int64_t taken = std::clamp<int64_t>(count, 0, Remaining(index));
    segments_[index].next += taken;
    return taken;
}

void RangeTable::NoteRate(int thread, double bytesPerSecond) {
    if (thread < 0 || thread >= kMaxDownloadThreads) {
        return;
    }
    if (rates_.size() <= static_cast<size_t>(thread)) {
        rates_.resize(thread + 1, 0.0);
    }
    rates_[thread] = bytesPerSecond > 0 ? bytesPerSecond : 0.0;
}

double RangeTable::RateOf(int thread) const {
    return thread >= 0 && static_cast<size_t>(thread) < rates_.size() ? rates_[thread] : 0.0;
}

int RangeTable::Split(int thread) {
    const double idleRate = RateOf(thread);
    // While an owner's speed is unknown its remainder is weighed at the fastest known speed
    // (at 1 byte/s when none is known, which orders by size).
    const double fallbackRate =
        std::max(1.0, rates_.empty() ? 0.0 : *std::max_element(rates_.begin(), rates_.end()));
    int chosen = -1;
    double longest = 0;
    for (size_t i = 0; i < segments_.size(); ++i) {
        const int64_t remaining = Remaining(i);
        const double ownerRate = RateOf(segments_[i].owner);
        const double seconds = remaining / (ownerRate > 0 ? ownerRate : fallbackRate);
        const bool slowTail = ownerRate > 0 && idleRate > ownerRate && remaining >= kMinSplitTail &&
                              seconds > kSlowRemainderSeconds;
        if ((remaining >= kMinSplitRemainder || slowTail) && seconds > longest) {
            chosen = static_cast<int>(i);
            longest = seconds;
        }
    }
    if (chosen < 0) {
        return -1;
    }
    RangeSegment& donor = segments_[chosen];
    const int64_t remaining = donor.end - donor.next;
    const double ownerRate = RateOf(donor.owner);
    int64_t kept = remaining / 2;
    if (ownerRate > 0 && idleRate > 0) {
        kept = static_cast<int64_t>(static_cast<double>(remaining) * ownerRate /
                                    (ownerRate + idleRate));
    }
    kept = std::clamp<int64_t>(kept, 1, remaining - 1);
    const int64_t middle = donor.next + kept;
    const RangeSegment taken{middle, donor.end, middle, thread};
    donor.end = middle;
    segments_.push_back(taken);  // |donor| is not used past this point
    return static_cast<int>(segments_.size() - 1);
}
