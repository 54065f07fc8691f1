// The ranged downloader against the local test server: byte-identical results for a range of
// sizes and thread counts, events, the parameter checks and the destination folder.
#include <gtest/gtest.h>

#include <memory>

#include <algorithm>

#include "HttpTestSupport.h"
#include "common/Format.h"
#include "support/TestFolders.h"

namespace {

class HttpDownloadTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartSuiteServer(kDownloadAddress, server_)); }
    static void TearDownTestSuite() { server_.reset(); }
    void SetUp() override { server_->ClearRequests(); }

    // Serves a fresh file of |size| bytes under |name|.
    static std::wstring Serve(const std::string& name, int64_t size, uint32_t seed) {
        const std::wstring path = server_->RootWindows() + std::wstring(name.begin(), name.end());
        EXPECT_TRUE(MakeTestFile(path, size, seed));
        return path;
    }

    static std::unique_ptr<LocalServer> server_;
    ScopedTempFolder folder_{L"http-download"};
};
std::unique_ptr<LocalServer> HttpDownloadTest::server_;

}  // namespace

TEST_F(HttpDownloadTest, FilesOfEverySizeArriveByteIdenticalWithOneFiveAndSixtyFourThreads) {
    const int64_t sizes[] = {0, 1, 1003, 3 * 1024 * 1024 + 7};
    for (int64_t size : sizes) {
        const std::string name = FormatString("sized-%I64d.bin", size);
        const std::wstring served = Serve(name, size, static_cast<uint32_t>(size));
        for (int threads : {1, 5, 64}) {
            SCOPED_TRACE(testing::Message() << size << " bytes, " << threads << " threads");
            const std::wstring saved = folder_.path() + FormatString(L"out-%d.bin", threads);
            EventRecorder events;
            ASSERT_EQ(RunDownload(server_->Url(name), saved, threads, &events), 0);
            EXPECT_EQ(CompareFiles(served, saved), "");

            const auto recorded = events.Events();
            ASSERT_GE(recorded.size(), 3u);
            EXPECT_EQ(recorded.front().event, kDownloadEventStart);
            EXPECT_EQ(recorded[1].event, kDownloadEventSize);
            EXPECT_EQ(recorded[1].a, size);
            EXPECT_EQ(recorded.back().event, kDownloadEventEnd);
            const auto progress = events.Progress();
            if (size > 0) {
                ASSERT_FALSE(progress.empty());
                EXPECT_EQ(progress.back(), size);
                EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
            } else {
                EXPECT_TRUE(progress.empty());
            }
            // One GET per range; never more ranges than bytes.
            const size_t expectedRanges = static_cast<size_t>(std::min<int64_t>(size, threads));
            EXPECT_EQ(GetRequests(server_->WaitForRequests(expectedRanges + 1)).size(),
                      expectedRanges);
            server_->ClearRequests();
        }
    }
}

TEST_F(HttpDownloadTest, RangesFollowThePlanOnTheWire) {
    Serve("plan.bin", 1003, 11);
    ASSERT_EQ(RunDownload(server_->Url("plan.bin"), folder_.path() + L"plan.bin", 5), 0);
    std::vector<std::string> ranges;
    for (const ServedRequest& request : GetRequests(server_->Requests())) {
        ranges.push_back(request.range);
        EXPECT_EQ(request.status, 206);
        EXPECT_NE(request.ifRange, "");  // each range is tied to the measured version
    }
    std::sort(ranges.begin(), ranges.end());
    const std::vector<std::string> expected = {"bytes=0-199", "bytes=200-399", "bytes=400-599",
                                               "bytes=600-799", "bytes=800-1002"};
    EXPECT_EQ(ranges, expected);
}

TEST_F(HttpDownloadTest, ThreadCountAboveSixtyFourRunsSixtyFourAndLogsBoth) {
    const std::wstring served = Serve("many.bin", 100000, 5);
    const LogMark mark;
    const std::wstring saved = folder_.path() + L"many.bin";
    ASSERT_EQ(RunDownload(server_->Url("many.bin"), saved, 100), 0);
    EXPECT_EQ(CompareFiles(served, saved), "");
    const std::string log = mark.NewText();
    EXPECT_NE(log.find("DownLoadContent: ThreadNum = 64 (request thread num = 100)\n"),
              std::string::npos);
    EXPECT_EQ(CountOccurrences(log, "] SUCCCESS!"), 64u);
    // The size query's HEAD and one GET per range.
    EXPECT_EQ(GetRequests(server_->WaitForRequests(65)).size(), 64u);
    EXPECT_NE(log.find("HttpDownload,ret = 0 (time = "), std::string::npos);
}

TEST_F(HttpDownloadTest, InvalidParametersFailWithMinusOneBeforeAnyRequest) {
    Serve("param.bin", 1000, 1);
    const LogMark mark;
    EventRecorder zeroThreads;
    EXPECT_EQ(RunDownload(server_->Url("param.bin"), folder_.path() + L"a.bin", 0, &zeroThreads),
              -1);
    const auto events = zeroThreads.Events();
    ASSERT_EQ(events.size(), 2u);  // start and end only
    EXPECT_EQ(events[0].event, kDownloadEventStart);
    EXPECT_EQ(events[1].event, kDownloadEventEnd);

    EXPECT_EQ(RunDownload(L"", folder_.path() + L"b.bin", 5), -1);
    // No backslash at all: the folder part is empty and cannot be created.
    EXPECT_EQ(RunDownload(server_->Url("param.bin"), L"param.bin", 5), -1);
    EXPECT_TRUE(server_->Requests().empty());

    const std::string log = mark.NewText();
    EXPECT_NE(log.find("ERR:invalid param (nDownloadThread = 0)"), std::string::npos);
    EXPECT_NE(log.find("ERR:invalid param (strDownloadUrl)"), std::string::npos);
    EXPECT_NE(log.find("ERR:make dir () fail!"), std::string::npos);
    EXPECT_EQ(CountOccurrences(log, "ERR:CheckParam fail!"), 3u);
    EXPECT_EQ(CountOccurrences(log, "HttpDownload,ret = -1 (time = 0 \xC3\xEB)"), 3u);
}

TEST_F(HttpDownloadTest, MissingDestinationFoldersAreCreatedWithTheirParents) {
    const std::wstring served = Serve("nested.bin", 20000, 9);
    // Forward slashes and doubled separators are normalised too.
    const std::wstring saved = folder_.path() + L"one/two\\\\three\\nested.bin";
    ASSERT_EQ(RunDownload(server_->Url("nested.bin"), saved, 5), 0);
    EXPECT_TRUE(IsDirectory(folder_.path() + L"one\\two\\three"));
    EXPECT_EQ(CompareFiles(served, folder_.path() + L"one\\two\\three\\nested.bin"), "");
}

TEST_F(HttpDownloadTest, SizeFailuresEndWithMinusThree) {
    EXPECT_EQ(RunDownload(server_->Url("x/status:500/none.bin"), folder_.path() + L"e.bin", 5), -3);
    EXPECT_EQ(RunDownload(server_->Url("missing.bin"), folder_.path() + L"m.bin", 5), -3);
    EXPECT_EQ(RunDownload(L"https://127.0.0.29/none.bin", folder_.path() + L"n.bin", 5), -3);
    for (const ServedRequest& request : server_->Requests()) {
        // Only the size query's probe for byte 0: no range is fetched without a size.
        EXPECT_TRUE(request.range.empty() || request.range == "bytes=0-0") << request.range;
    }
}

TEST(LargeDownloadTest, OverOneHundredMiBWithFiveThreads) {
    LocalServer server;
    LocalServerOptions options;
    options.address = kLargeFileAddress;
    std::string error;
    ASSERT_TRUE(server.Start(options, error)) << error;
    const int64_t size = 101LL * 1024 * 1024 + 3;
    const std::wstring served = server.RootWindows() + L"large.bin";
    ASSERT_TRUE(MakeTestFile(served, size, 101));
    ScopedTempFolder folder(L"http-large");
    const std::wstring saved = folder.path() + L"large.bin";
    EventRecorder events;
    ASSERT_EQ(RunDownload(server.Url("large.bin"), saved, 5, &events), 0);
    EXPECT_EQ(CompareFiles(served, saved), "");
    EXPECT_EQ(events.Progress().back(), size);
    ::DeleteFileW(served.c_str());
}
