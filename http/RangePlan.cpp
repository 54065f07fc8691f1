#include "http/RangePlan.h"

#include <algorithm>

#include "common/Format.h"

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
    return FormatString(L"Range:bytes=%I64d-%I64d", start, start + length - 1);
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
