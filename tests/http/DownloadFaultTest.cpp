// The downloader against a faulty server: ranges ignored, cut, stalled or too long are fetched
// again without harm to their neighbours; a range that always fails ends the download with -4;
// the failure counters steer the back-ends (in child processes, since the counters are
// process-wide).
#include <gtest/gtest.h>

#include <memory>

#include <algorithm>

#include "HttpTestSupport.h"
#include "common/FileUtil.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/TextConvert.h"
#include "http/RangePlan.h"
#include "support/TestFolders.h"

namespace {

constexpr int64_t kFaultFileSize = 2 * 1024 * 1024 + 5;

class DownloadFaultTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StartSuiteServer(kFaultAddress, server_));
        ASSERT_TRUE(MakeTestFile(server_->RootWindows() + L"fault.bin", kFaultFileSize, 23));
    }
    static void TearDownTestSuite() { server_.reset(); }
    void SetUp() override { server_->ClearRequests(); }

    // Downloads "fault.bin" through the given fault modes with five threads; returns the
    // result code and checks the file when it is 0.
    int DownloadWithFaults(const std::string& modes, EventRecorder* events = nullptr) {
        const std::wstring saved = folder_.path() + L"fault.bin";
        const int result = RunDownload(
            server_->Url("x/" + modes + "," + UniqueTag() + "/fault.bin"), saved, 5, events);
        if (result == 0) {
            EXPECT_EQ(CompareFiles(server_->RootWindows() + L"fault.bin", saved), "");
        }
        return result;
    }

    // The GETs the server saw for the range that starts at |start|.
    static std::vector<ServedRequest> RequestsForRange(int64_t start) {
        std::vector<ServedRequest> found;
        const std::string prefix = FormatString("bytes=%I64d-", start);
        for (const ServedRequest& request : GetRequests(server_->Requests())) {
            if (request.range.rfind(prefix, 0) == 0) {
                found.push_back(request);
            }
        }
        return found;
    }

    static int64_t RangeStart(int index) {
        return PlanDownloadRanges(kFaultFileSize, 5).ranges[index].start;
    }

    static std::unique_ptr<LocalServer> server_;
    ScopedTempFolder folder_{L"http-fault"};
};
std::unique_ptr<LocalServer> DownloadFaultTest::server_;

}  // namespace

TEST_F(DownloadFaultTest, RangeIgnoredOnceIsFetchedAgainWithoutTouchingItsNeighbours) {
    const int64_t start = RangeStart(2);
    ASSERT_EQ(DownloadWithFaults(FormatString("ignore-range:%I64d:1", start)), 0);
    const auto requests = RequestsForRange(start);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].status, 200);  // the whole file, which must not be written
    EXPECT_EQ(requests[1].status, 206);
}

TEST_F(DownloadFaultTest, BodyLongerThanItsRangeNeverWritesPastTheRangeEnd) {
    // Range 1 gets 5000 stray bytes appended; written, they would land on range 2.
    const LogMark mark;
    const int64_t start = RangeStart(1);
    ASSERT_EQ(DownloadWithFaults(FormatString("overlong:%I64d:5000:1", start)), 0);
    EXPECT_EQ(RequestsForRange(start).size(), 2u);
    const int64_t length = RangeStart(2) - start;
    EXPECT_NE(mark.NewText().find(
                  FormatString("download Fail ,dstSize: %I64d !=  downloadingSize: ", length)),
              std::string::npos);
}

TEST_F(DownloadFaultTest, RangeDroppedMidwayIsFetchedAgainAndProgressRecovers) {
    const int64_t start = RangeStart(3);
    EventRecorder events;
    ASSERT_EQ(DownloadWithFaults(FormatString("drop:%I64d:300000:1", start), &events), 0);
    const auto requests = RequestsForRange(start);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].bytesSent, 300000);
    // What the failed attempt had added is taken back, so the count drops once, then recovers.
    const auto progress = events.Progress();
    EXPECT_FALSE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), kFaultFileSize);
    EXPECT_LE(*std::max_element(progress.begin(), progress.end()), kFaultFileSize);
}

TEST_F(DownloadFaultTest, StalledRangeStillCompletes) {
    ASSERT_EQ(DownloadWithFaults(FormatString("stall:%I64d:100000:3", RangeStart(4))), 0);
}

TEST_F(DownloadFaultTest, ServerIgnoringRangeServesASingleRangeDownload) {
    const std::wstring saved = folder_.path() + L"whole.bin";
    ASSERT_EQ(RunDownload(server_->Url("x/ignore-range:*:always/fault.bin"), saved, 1), 0);
    EXPECT_EQ(CompareFiles(server_->RootWindows() + L"fault.bin", saved), "");
}

// ---- Failure counters, each scenario in a fresh process ----

namespace {

std::wstring CounterUrl(const std::string& path) {
    return AnsiToWide(std::string("https://") + kCounterAddress + "/" + path);
}

void StartChildLog(const std::wstring& folder) {
    LogInit(L"child.log", folder.c_str());
}

}  // namespace

TANDREL_CHILD_SCENARIO(RangeAlwaysFails) {
    StartChildLog(argument);
    return 100 +
           RunDownload(CounterUrl("x/drop:*:1000:always/small.bin"), argument + L"\\out.bin", 1);
}

TANDREL_CHILD_SCENARIO(CountersSteerBackEnds) {
    StartChildLog(argument);
    const std::wstring out = argument + L"\\out.bin";
    // Both ranges fail once on WinHTTP, then every attempt starts on WinINet until it has
    // failed as often; on a tie the attempt number decides again.
    const int first = RunDownload(CounterUrl("x/drop:0:100:1,drop:100000:100:1/steer.bin"), out, 2);
    const int second = RunDownload(CounterUrl("steer.bin"), out, 3);
    const int third = RunDownload(CounterUrl("x/drop:0:100:1/steer.bin"), out, 1);
    return first == 0 && second == 0 && third == 0 ? 0 : 1;
}

class DownloadCounterTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StartSuiteServer(kCounterAddress, server_));
        ASSERT_TRUE(MakeTestFile(server_->RootWindows() + L"small.bin", 5000, 31));
        ASSERT_TRUE(MakeTestFile(server_->RootWindows() + L"steer.bin", 200000, 37));
    }
    static void TearDownTestSuite() { server_.reset(); }
    void SetUp() override { server_->ClearRequests(); }

    static std::vector<std::string> GetBackEnds() {
        std::vector<std::string> backEnds;
        for (const ServedRequest& request : GetRequests(server_->Requests())) {
            if (!request.range.empty()) {
                backEnds.push_back(BackendOf(request));
            }
        }
        return backEnds;
    }

    static std::unique_ptr<LocalServer> server_;
    ScopedTempFolder folder_{L"http-counter"};
};
std::unique_ptr<LocalServer> DownloadCounterTest::server_;

TEST_F(DownloadCounterTest, RangeThatAlwaysFailsEndsWithMinusFourAfterElevenAttempts) {
    std::wstring folder = folder_.path();
    folder.pop_back();
    ASSERT_EQ(RunChildScenario("RangeAlwaysFails", folder, 120000), 100 - 4);

    // Tied counts alternate the back-ends; each failure moves one count ahead.
    const std::vector<std::string> alternating = {"WinHttp", "Internet", "WinHttp", "Internet",
                                                  "WinHttp", "Internet", "WinHttp", "Internet",
                                                  "WinHttp", "Internet", "WinHttp"};
    EXPECT_EQ(GetBackEnds(), alternating);
    const std::string log = ReadFileBytes(folder_.path() + L"child.log");
    for (int attempt = 0; attempt < kMaxRangeAttempts; ++attempt) {
        const std::string line =
            FormatString("][0][%s] Request fail,  retry %d...(WinHttp fail:%d, Internet fail:%d)",
                         alternating[attempt].c_str(), attempt, attempt / 2 + 1, (attempt + 1) / 2);
        EXPECT_EQ(CountOccurrences(log, line), 1u) << line;
    }
    EXPECT_EQ(CountOccurrences(log, "Request fail"), 11u);
    EXPECT_EQ(CountOccurrences(log, "SUCCCESS!"), 0u);
    EXPECT_NE(log.find("ERR:DownLoadContent fail!"), std::string::npos);
    EXPECT_NE(log.find("HttpDownload,ret = -4 (time = "), std::string::npos);
    // The partial file stays for the caller to remove.
    EXPECT_TRUE(FileExists(folder_.path() + L"out.bin"));
}

TEST_F(DownloadCounterTest, TwoWinHttpFailuresSendEveryThreadToWinInetUntilLevel) {
    std::wstring folder = folder_.path();
    folder.pop_back();
    ASSERT_EQ(RunChildScenario("CountersSteerBackEnds", folder, 120000), 0);
    const std::vector<std::string> expected = {
        "WinHttp",  "WinHttp",               // first download: both ranges fail
        "Internet", "Internet",              // and are fetched again on WinINet
        "Internet", "Internet", "Internet",  // second download: WinINet from the start
        "Internet", "Internet"};             // third: WinINet fails once, still behind
    EXPECT_EQ(GetBackEnds(), expected);
    const std::string log = ReadFileBytes(folder_.path() + L"child.log");
    EXPECT_EQ(CountOccurrences(log, "Request fail,  retry 0...(WinHttp fail:2, Internet fail:0)"),
              1u);
    EXPECT_EQ(CountOccurrences(log,
                               "[Internet] Request fail,  retry 0...(WinHttp fail:2, "
                               "Internet fail:1)"),
              1u);
}
