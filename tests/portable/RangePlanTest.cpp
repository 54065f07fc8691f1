// The download plan as data: range boundaries, range lines, the back-end choice and how idle
// threads take over the tails of slow ranges.
#include <gtest/gtest.h>

#include "http/RangePlan.h"

#include <algorithm>
#include <vector>

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

TEST(RangeTableTest, IdleThreadTakesTheSecondHalfOfTheLargestRemainder) {
    constexpr int64_t kMiB = 1024 * 1024;
    RangeTable table(PlanDownloadRanges(30 * kMiB, 3));  // 10 MiB each
    EXPECT_EQ(table.Accept(0, 10 * kMiB), 10 * kMiB);    // thread 0 is done
    table.Accept(1, 8 * kMiB);                           // 2 MiB left
    table.Accept(2, 2 * kMiB);                           // 8 MiB left: the largest
    const int taken = table.Split(0);
    ASSERT_EQ(taken, 3);
    EXPECT_EQ(table.Segment(2).end, 26 * kMiB);  // the owner stops at the new end
    EXPECT_EQ(table.Segment(3).start, 26 * kMiB);
    EXPECT_EQ(table.Segment(3).next, 26 * kMiB);
    EXPECT_EQ(table.Segment(3).end, 30 * kMiB);
    EXPECT_EQ(table.Segment(3).owner, 0);

    // A read that crosses the new end is cut there; nothing is counted twice.
    EXPECT_EQ(table.Accept(2, 5 * kMiB), 4 * kMiB);
    EXPECT_EQ(table.Remaining(2), 0);
    EXPECT_EQ(table.Done(), 10 * kMiB + 8 * kMiB + 6 * kMiB);

    // Exactly the minimum is still split; less is not.
    EXPECT_EQ(table.Split(2), 4);  // segment 3's 4 MiB
    EXPECT_EQ(table.Segment(4).start, 28 * kMiB);
    EXPECT_EQ(table.Split(2), 5);  // segment 1's 2 MiB, first of equals
    EXPECT_EQ(table.Segment(1).end, 19 * kMiB);
    EXPECT_EQ(table.Split(2), 6);   // segment 3's 2 MiB
    EXPECT_EQ(table.Split(2), 7);   // segment 4's 2 MiB
    EXPECT_EQ(table.Split(2), -1);  // only 1 MiB pieces are left
}

TEST(RangeTableTest, SlowOwnerKeepsOnlyWhatItFetchesWhileTheIdleThreadFetchesTheRest) {
    constexpr int64_t kMiB = 1024 * 1024;
    RangeTable table(PlanDownloadRanges(20 * kMiB, 2));
    table.Accept(0, 10 * kMiB);
    table.NoteRate(0, 4.0 * kMiB);  // idle, 4 MiB/s
    table.Accept(1, 1 * kMiB);
    table.NoteRate(1, 0.5 * kMiB);  // 9 MiB left at 0.5 MiB/s
    ASSERT_EQ(table.Split(0), 2);
    EXPECT_EQ(table.Segment(1).end, 12 * kMiB);  // the owner keeps one ninth: 1 MiB
    EXPECT_EQ(table.Segment(2).start, 12 * kMiB);

    // Below 2 MiB a tail is still taken from an owner that needs over a second for it...
    table.Accept(2, 8 * kMiB);  // the idle thread is done again
    ASSERT_EQ(table.Split(0), 3);
    EXPECT_EQ(table.Segment(1).end, 11 * kMiB + kMiB / 9);
    // ...but not when it would need less, nor from an owner that is not slower.
    table.NoteRate(1, 4.0 * kMiB);
    table.NoteRate(0, 0.5 * kMiB);
    EXPECT_EQ(table.Split(0), -1);
}

TEST(RangeTableTest, SegmentsTileTheFileAfterAnySequenceOfSplits) {
    constexpr int64_t kSize = 50 * 1024 * 1024 + 3;
    RangeTable table(PlanDownloadRanges(kSize, 5));
    for (int round = 0; round < 40; ++round) {
        const size_t busy = static_cast<size_t>(round * 7) % table.Count();
        table.Accept(busy, 300000 + round * 1001);
        table.NoteRate(round % 5, 1000.0 * (1 + round % 3));
        table.Split(round % 5);
    }
    // Sorted by start, the segments cover the file without gap or overlap.
    std::vector<RangeSegment> segments;
    for (size_t i = 0; i < table.Count(); ++i) {
        segments.push_back(table.Segment(i));
        EXPECT_LE(table.Segment(i).start, table.Segment(i).next);
        EXPECT_LE(table.Segment(i).next, table.Segment(i).end);
    }
    std::sort(segments.begin(), segments.end(),
              [](const RangeSegment& a, const RangeSegment& b) { return a.start < b.start; });
    int64_t next = 0;
    for (const RangeSegment& segment : segments) {
        EXPECT_EQ(segment.start, next);
        next = segment.end;
    }
    EXPECT_EQ(next, kSize);
}
