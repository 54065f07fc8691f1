// Judging a server's answers without a socket: Content-Range and HTTP dates as they arrive, the
// busy server's wait, what the size query keeps, and the verdict on each range answer.
#include <gtest/gtest.h>

#include "http/RangeResponse.h"

namespace {

ResponseHead Head(int status, const char* contentRange = "", int64_t contentLength = -1,
                  const char* etag = "", const char* lastModified = "") {
    ResponseHead head;
    head.status = status;
    head.contentRange = contentRange;
    head.hasContentLength = contentLength >= 0;
    head.contentLength = contentLength;
    head.etag = etag;
    head.lastModified = lastModified;
    return head;
}

constexpr char kDate[] = "Mon, 01 Jan 2024 00:00:00 GMT";
constexpr char kLaterDate[] = "Tue, 02 Jan 2024 00:00:00 GMT";

}  // namespace

TEST(RangeResponseTest, ContentRangeIsReadExactlyOrNotAtAll) {
    ContentRange range;
    ASSERT_TRUE(ParseContentRange(" bytes 100-199/1000", range));
    EXPECT_TRUE(range.hasRange && range.hasTotal);
    EXPECT_EQ(range.first, 100);
    EXPECT_EQ(range.last, 199);
    EXPECT_EQ(range.total, 1000);
    ASSERT_TRUE(ParseContentRange("bytes 5-5/*", range));
    EXPECT_FALSE(range.hasTotal);
    ASSERT_TRUE(ParseContentRange("bytes */0", range));
    EXPECT_FALSE(range.hasRange);
    EXPECT_EQ(range.total, 0);
    for (const char* bad : {"", "bytes", "items 0-1/2", "bytes 9-5/1000", "bytes 0-1000/1000",
                            "bytes -5/10", "bytes 0-5", "bytes */*", "bytes 1-2/x", "bytes 1-2/3/4",
                            "bytes 99999999999999999999-1/2", "bytes 0--1/5"}) {
        EXPECT_FALSE(ParseContentRange(bad, range)) << bad;
    }
}

TEST(RangeResponseTest, HttpDatesInAllThreeFormsAndBusyWaits) {
    const int64_t expected = 784111777;  // 1994-11-06 08:49:37 UTC
    for (const char* text : {"Sun, 06 Nov 1994 08:49:37 GMT", "Sunday, 06-Nov-94 08:49:37 GMT",
                             "Sun Nov  6 08:49:37 1994"}) {
        int64_t seconds = 0;
        EXPECT_TRUE(ParseHttpDate(text, seconds)) << text;
        EXPECT_EQ(seconds, expected) << text;
    }
    int64_t seconds = 0;
    ASSERT_TRUE(ParseHttpDate("Thursday, 01-Jan-49 00:00:00 GMT", seconds));
    EXPECT_EQ(seconds, 2493072000);  // two-digit years below 70 are this century's
    for (const char* bad : {"", "soon", "06 Nov 1994 08:49:37 GMT", "Sun, 32 Nov 1994 08:49:37 GMT",
                            "Sun, 06 Foo 1994 08:49:37 GMT", "Sun, 06 Nov 1994 25:00:00 GMT",
                            "Sun, 06 Nov 1994 08:49 GMT", "Sun, 06 Nov 1994 08:49:37 CET"}) {
        EXPECT_FALSE(ParseHttpDate(bad, seconds)) << bad;
    }

    struct Case {
        int status;
        const char* retryAfter;
        int64_t expectedMs;
    };
    const int64_t now = expected - 5;
    const Case cases[] = {
        {503, "3", 3000},
        {429, "0", 0},
        {503, "120", kMaxBusyWaitMs},
        {503, "99999999999999999999", kMaxBusyWaitMs},
        {503, "Sun, 06 Nov 1994 08:49:37 GMT", 5000},
        {503, "Sun, 06 Nov 1994 08:40:00 GMT", 0},  // already past
        {503, "", -1},
        {503, "soon", -1},
        {500, "3", -1},
    };
    for (const Case& c : cases) {
        ResponseHead head = Head(c.status);
        head.retryAfter = c.retryAfter;
        EXPECT_EQ(BusyWaitMs(head, now), c.expectedMs) << c.status << " " << c.retryAfter;
    }
}

TEST(RangeResponseTest, SizeQueryKeepsSizeStrongValidatorsAndRangeSupport) {
    RemoteFileInfo info;
    ResponseHead head = Head(200, "", 1000, "\"a\"", kDate);
    head.acceptRanges = "bytes";
    ASSERT_TRUE(FileInfoFromWholeAnswer(head, info));
    EXPECT_EQ(info.size, 1000);
    EXPECT_EQ(info.etag, "\"a\"");
    EXPECT_EQ(info.lastModified, kDate);
    EXPECT_TRUE(info.acceptRanges);
    EXPECT_EQ(IfRangeValue(info), "\"a\"");

    ASSERT_TRUE(FileInfoFromWholeAnswer(Head(200, "", 7, "W/\"a\"", kDate), info));
    EXPECT_EQ(info.etag, "");  // weak: never a range validator
    EXPECT_FALSE(info.acceptRanges);
    EXPECT_EQ(IfRangeValue(info), kDate);
    EXPECT_FALSE(FileInfoFromWholeAnswer(Head(405, "", 10), info));
    EXPECT_FALSE(FileInfoFromWholeAnswer(Head(200), info));

    ASSERT_TRUE(FileInfoFromProbe(Head(206, "bytes 0-0/1234", 1), info));
    EXPECT_EQ(info.size, 1234);
    EXPECT_TRUE(info.acceptRanges);
    ASSERT_TRUE(FileInfoFromProbe(Head(416, "bytes */0", 0), info));
    EXPECT_EQ(info.size, 0);
    ASSERT_TRUE(FileInfoFromProbe(Head(200, "", 77), info));
    EXPECT_EQ(info.size, 77);
    EXPECT_FALSE(info.acceptRanges);
    for (const ResponseHead& bad : {Head(206, "bytes 0-0/*", 1), Head(206, "bytes 5-5/10", 1),
                                    Head(416, "bytes */10", 0), Head(404, "", 10), Head(200)}) {
        EXPECT_FALSE(FileInfoFromProbe(bad, info)) << bad.status << " " << bad.contentRange;
    }
}

TEST(RangeResponseTest, RangeAnswersAreWrittenOnlyForTheMeasuredVersion) {
    RemoteFileInfo info;
    info.size = 1000;
    info.etag = "\"v1\"";
    info.lastModified = kDate;
    info.acceptRanges = true;
    RemoteFileInfo bare;  // no validators, no Accept-Ranges
    bare.size = 1000;

    struct Case {
        ResponseHead head;
        int64_t first, last;
        const RemoteFileInfo* file;
        RangeVerdict expected;
    };
    const Case cases[] = {
        {Head(206, "bytes 100-199/1000", 100, "\"v1\"", kDate), 100, 199, &info,
         RangeVerdict::kAccept},
        {Head(206, "bytes 100-199/1000"), 100, 199, &info, RangeVerdict::kAccept},
        // Right length, other bytes: the Content-Range gives them away.
        {Head(206, "bytes 101-200/1000", 100, "\"v1\""), 100, 199, &info, RangeVerdict::kRetry},
        {Head(206, "bytes 100-199/*", 100), 100, 199, &info, RangeVerdict::kRetry},
        {Head(206, "bytes 100-199/1000", 5100), 100, 199, &info, RangeVerdict::kRetry},
        {Head(206, "", 100), 100, 199, &info, RangeVerdict::kRetry},
        {Head(206, "bytes 100-199/2000", 100), 100, 199, &info, RangeVerdict::kFileChanged},
        {Head(206, "bytes 100-199/1000", 100, "\"v2\""), 100, 199, &info,
         RangeVerdict::kFileChanged},
        {Head(206, "bytes 100-199/1000", 100, "", kLaterDate), 100, 199, &info,
         RangeVerdict::kFileChanged},
        {Head(200, "", 1000, "\"v1\""), 100, 199, &info, RangeVerdict::kRangeIgnored},
        {Head(200, "", 1000, "\"v2\""), 100, 199, &info, RangeVerdict::kFileChanged},
        {Head(200, "", 1200, "\"v1\""), 100, 199, &info, RangeVerdict::kFileChanged},
        {Head(200, "", 1000), 100, 199, &info, RangeVerdict::kFileChanged},
        {Head(200, "", 1000), 100, 199, &bare, RangeVerdict::kRangeIgnored},
        {Head(200, "", 1000, "\"v1\""), 0, 999, &info, RangeVerdict::kAccept},
        {Head(200, "", 1000, "\"v2\""), 0, 999, &info, RangeVerdict::kFileChanged},
        {Head(416, "bytes */500", 0), 100, 199, &info, RangeVerdict::kFileChanged},
        {Head(416, "bytes */1000", 0), 100, 199, &info, RangeVerdict::kRetry},
        {Head(503, "", 50), 100, 199, &info, RangeVerdict::kRetry},
        {Head(404, "", 50), 100, 199, &info, RangeVerdict::kRetry},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckRangeResponse(c.head, c.first, c.last, *c.file), c.expected)
            << c.head.status << " " << c.head.contentRange << " " << c.head.etag << " "
            << c.head.lastModified << " for " << c.first << "-" << c.last;
    }
    ResponseHead busy = Head(503, "", 50);
    busy.retryAfter = "2";
    EXPECT_EQ(CheckRangeResponse(busy, 100, 199, info), RangeVerdict::kBusy);
    EXPECT_EQ(CheckWholeResponse(busy, info), RangeVerdict::kBusy);
    EXPECT_EQ(CheckWholeResponse(Head(200, "", 1000, "\"v1\""), info), RangeVerdict::kAccept);
    EXPECT_EQ(CheckWholeResponse(Head(200, "", 999), info), RangeVerdict::kFileChanged);
    EXPECT_EQ(CheckWholeResponse(Head(206, "bytes 0-999/1000", 1000), info), RangeVerdict::kRetry);
}
