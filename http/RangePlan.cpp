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

int RangeTable::Split(int thread, int64_t minimum) {
    int largest = -1;
    for (size_t i = 0; i < segments_.size(); ++i) {
        if (Remaining(i) >= std::max<int64_t>(minimum, 2) &&
            (largest < 0 || Remaining(i) > Remaining(largest))) {
            largest = static_cast<int>(i);
        }
    }
    if (largest < 0) {
        return -1;
    }
    RangeSegment& donor = segments_[largest];
    const int64_t middle = donor.next + (donor.end - donor.next) / 2;
    const RangeSegment taken{middle, donor.end, middle, thread};
    donor.end = middle;
    segments_.push_back(taken);  // |donor| is not used past this point
    return static_cast<int>(segments_.size() - 1);
}
