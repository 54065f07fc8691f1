// The download plan as data: range boundaries, range lines and the back-end choice.
#include <gtest/gtest.h>

#include "http/RangePlan.h"

namespace {

// Every byte of the file belongs to exactly one range, in order, and no range is empty.
void ExpectCoversFile(const DownloadPlan& plan, int64_t size) {
    int64_t next = 0;
    for (size_t i = 0; i < plan.ranges.size(); ++i) {
        EXPECT_EQ(plan.ranges[i].index, static_cast<int>(i));
        EXPECT_EQ(plan.ranges[i].start, next);
        EXPECT_GT(plan.ranges[i].length, 0);
        next += plan.ranges[i].length;
    }
    EXPECT_EQ(next, size);
    EXPECT_EQ(plan.threadCount, static_cast<int>(plan.ranges.size()));
}

}  // namespace

TEST(RangePlanTest, SplitsIntoEqualRangesWithTheRemainderLast) {
    const DownloadPlan plan = PlanDownloadRanges(1003, 5);
    ASSERT_EQ(plan.threadCount, 5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(plan.ranges[i].start, i * 200);
        EXPECT_EQ(plan.ranges[i].length, 200);
    }
    EXPECT_EQ(plan.ranges[4].start, 800);
    EXPECT_EQ(plan.ranges[4].length, 203);
    EXPECT_EQ(FormatRangeLine(plan.ranges[0].start, plan.ranges[0].length), L"Range:bytes=0-199");
    EXPECT_EQ(FormatRangeLine(plan.ranges[4].start, plan.ranges[4].length),
              L"Range:bytes=800-1002");
}

TEST(RangePlanTest, ThreadCountIsClampedAndLoweredForSmallFiles) {
    EXPECT_EQ(PlanDownloadRanges(1000000, 100).threadCount, 64);
    EXPECT_EQ(PlanDownloadRanges(1000000, 100).requestedThreads, 100);
    EXPECT_EQ(PlanDownloadRanges(1000000, 64).threadCount, 64);
    EXPECT_EQ(PlanDownloadRanges(1000000, 0).threadCount, 1);
    EXPECT_EQ(PlanDownloadRanges(1000000, -3).threadCount, 1);
    // Fewer bytes than threads: one byte per range instead of empty or inverted ranges.
    EXPECT_EQ(PlanDownloadRanges(3, 5).threadCount, 3);
    EXPECT_EQ(PlanDownloadRanges(1, 64).threadCount, 1);
    EXPECT_TRUE(PlanDownloadRanges(0, 5).ranges.empty());
    for (int64_t size : {1, 2, 63, 64, 65, 1003, 1048576 + 7}) {
        for (int threads : {1, 5, 64, 100}) {
            SCOPED_TRACE(testing::Message() << size << " bytes, " << threads << " threads");
            ExpectCoversFile(PlanDownloadRanges(size, threads), size);
        }
    }
}

TEST(RangePlanTest, FilesBeyondFourGiBKeepTheRangeLineForm) {
    const int64_t size = 5LL * 1024 * 1024 * 1024 + 3;  // 5 GiB + 3
    const DownloadPlan plan = PlanDownloadRanges(size, 5);
    ExpectCoversFile(plan, size);
    EXPECT_EQ(plan.ranges[4].start, 4294967296LL);
    EXPECT_EQ(FormatRangeLine(plan.ranges[4].start, plan.ranges[4].length),
              L"Range:bytes=4294967296-5368709122");
}

TEST(RangePlanTest, BackEndWithFewerFailuresIsChosenAndTiesAlternate) {
    // Level counts: WinHTTP on even attempts, WinINet on odd ones.
    EXPECT_EQ(ChooseRequestType(0, 0, 0), 0);
    EXPECT_EQ(ChooseRequestType(1, 0, 0), 1);
    EXPECT_EQ(ChooseRequestType(10, 3, 3), 0);
    // Otherwise the back-end that failed less, whatever the attempt.
    EXPECT_EQ(ChooseRequestType(0, 2, 0), 1);
    EXPECT_EQ(ChooseRequestType(1, 2, 1), 1);
    EXPECT_EQ(ChooseRequestType(1, 0, 1), 0);
    EXPECT_EQ(ChooseRequestType(4, 5, 9), 0);
}
