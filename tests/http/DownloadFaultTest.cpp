// The downloader against misbehaving servers, one fault mode per row: it either delivers the
// server's file byte for byte or fails cleanly with the specified code, never a success with
// wrong bytes. The failure counters that steer the back-ends are checked in child processes,
// since they are process-wide.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "HttpTestSupport.h"
#include "common/FileUtil.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/TextConvert.h"
#include "http/RangePlan.h"
#include "support/TestFolders.h"

namespace {

constexpr int64_t kFaultFileSize = 6 * 1024 * 1024 + 5;

int64_t RangeStart(int index, int threads = 5) {
    return PlanDownloadRanges(kFaultFileSize, threads).ranges[index].start;
}

// What one row's download left behind.
struct FaultRun {
    std::vector<ServedRequest> requests;
    std::vector<unsigned> pauses;
};

size_t CountRequests(const FaultRun& run, const std::string& method, const std::string& range) {
    return std::count_if(run.requests.begin(), run.requests.end(), [&](const ServedRequest& r) {
        return r.method == method && (range == "*" || r.range == range);
    });
}

bool HasGetFrom(const FaultRun& run, int64_t start) {
    const std::string prefix = FormatString("bytes=%I64d-", start);
    return std::any_of(run.requests.begin(), run.requests.end(), [&](const ServedRequest& r) {
        return r.method == "GET" && r.range.rfind(prefix, 0) == 0;
    });
}

struct FaultCase {
    const char* name;
    std::string modes;
    int threads;
    int expectedResult;
    bool expectNewVersion;  // the bytes of fault.bin.v2, the file that replaced fault.bin
    unsigned receiveTimeoutMs;
    void (*check)(const FaultRun& run);
};

const FaultCase kFaultCases[] = {
    {"replaced after the size query", "switch:1", 5, 0, true, kDefaultReceiveTimeoutMs,
     [](const FaultRun& run) { EXPECT_EQ(CountRequests(run, "HEAD", "*"), 2u); }},
    {"replaced mid-way, If-Range not honoured", "switch:3,no-if-range", 5, 0, true,
     kDefaultReceiveTimeoutMs,
     [](const FaultRun& run) { EXPECT_EQ(CountRequests(run, "HEAD", "*"), 2u); }},
    {"replaced again and again", "flip", 5, -4, false, kDefaultReceiveTimeoutMs,
     [](const FaultRun& run) { EXPECT_EQ(CountRequests(run, "HEAD", "*"), 3u); }},
    {"right length, other bytes once", FormatString("wrong-bytes:%I64d:1", RangeStart(2)), 5, 0,
     false, kDefaultReceiveTimeoutMs, nullptr},
    {"right length, other bytes always", FormatString("wrong-bytes:%I64d:always", RangeStart(2)), 5,
     -4, false, kDefaultReceiveTimeoutMs, nullptr},
    {"body longer than its range", FormatString("overlong:%I64d:5000:1", RangeStart(1)), 5, 0,
     false, kDefaultReceiveTimeoutMs, nullptr},
    // Thirteen cuts per range: more than the attempts allowed without progress.
    {"every response cut", "drop:*:100000:always", 5, 0, false, kDefaultReceiveTimeoutMs,
     [](const FaultRun& run) {
         // Each retry asks only for the rest of its range.
         for (int i = 0; i < 5; ++i) {
             EXPECT_TRUE(HasGetFrom(run, RangeStart(i) + 100000)) << i;
             EXPECT_TRUE(HasGetFrom(run, RangeStart(i) + 1200000)) << i;
         }
     }},
    {"Range never honoured", "ignore-range:*:always", 5, 0, false, kDefaultReceiveTimeoutMs,
     [](const FaultRun& run) { EXPECT_EQ(CountRequests(run, "GET", ""), 1u); }},
    {"HEAD 404", "head-status:404", 5, 0, false, kDefaultReceiveTimeoutMs,
     [](const FaultRun& run) { EXPECT_EQ(CountRequests(run, "GET", "bytes=0-0"), 1u); }},
    {"HEAD 405", "head-status:405", 5, 0, false, kDefaultReceiveTimeoutMs,
     [](const FaultRun& run) { EXPECT_EQ(CountRequests(run, "GET", "bytes=0-0"), 1u); }},
    {"HEAD without length", "no-length-head", 5, 0, false, kDefaultReceiveTimeoutMs,
     [](const FaultRun& run) { EXPECT_EQ(CountRequests(run, "GET", "bytes=0-0"), 1u); }},
    {"503 with Retry-After in seconds", "busy:3:3", 5, 0, false, kDefaultReceiveTimeoutMs,
     [](const FaultRun& run) { EXPECT_EQ(run.pauses, std::vector<unsigned>(3, 3000)); }},
    // The date lies 20 s ahead (the recorder cuts the wait short), so a slow machine's second or
    // two between the server's clock and ours cannot pass for the 2 s retry pause or the cap.
    {"503 with Retry-After as a date", "busy:2:date20", 5, 0, false, kDefaultReceiveTimeoutMs,
     [](const FaultRun& run) {
         ASSERT_EQ(run.pauses.size(), 2u);
         for (unsigned pause : run.pauses) {
             EXPECT_GE(pause, 10000u);
             EXPECT_LE(pause, 21000u);
         }
     }},
    // The stall outlasts the time-out by far: only the time-out lets the range go on, from
    // where it stopped (two whole reads: Wine's reads wait for a full buffer).
    {"stall longer than the time-out", FormatString("stall:%I64d:204800:20:1", RangeStart(3)), 5, 0,
     false, 1500,
     [](const FaultRun& run) { EXPECT_TRUE(HasGetFrom(run, RangeStart(3) + 204800)); }},
    {"one connection much slower", "slow-conn:1:1000000", 2, 0, false, kDefaultReceiveTimeoutMs,
     [](const FaultRun& run) {
         // The idle thread took over the tail of the slow range: a GET starts elsewhere than
         // at the two planned ranges.
         const std::string second = FormatString("bytes=%I64d-", RangeStart(1, 2));
         size_t takeovers = 0;
         for (const ServedRequest& r : run.requests) {
             takeovers += r.method == "GET" && r.range.rfind("bytes=0-", 0) != 0 &&
                          r.range.rfind(second, 0) != 0;
         }
         EXPECT_GE(takeovers, 1u);
     }},
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name << " (" << c.modes << ")";
}

class DownloadFaultTest : public testing::TestWithParam<FaultCase> {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StartSuiteServer(kFaultAddress, server_));
        ASSERT_TRUE(MakeTestFile(server_->RootWindows() + L"fault.bin", kFaultFileSize, 23));
        ASSERT_TRUE(MakeTestFile(server_->RootWindows() + L"fault.bin.v2", kFaultFileSize, 24));
    }
    static void TearDownTestSuite() { server_.reset(); }

    static std::unique_ptr<LocalServer> server_;
    ScopedTempFolder folder_{L"http-fault"};
};
std::unique_ptr<LocalServer> DownloadFaultTest::server_;

}  // namespace

TEST_P(DownloadFaultTest, EndsWithTheServersBytesOrFailsCleanly) {
    const FaultCase& c = GetParam();
    server_->ClearRequests();
    const std::wstring saved = folder_.path() + L"fault.bin";
    EventRecorder events;
    PauseRecorder pauses;
    const int result = RunDownload(server_->Url("x/" + c.modes + "," + UniqueTag() + "/fault.bin"),
                                   saved, c.threads, &events, &pauses, c.receiveTimeoutMs);
    ASSERT_EQ(result, c.expectedResult);
    if (result == 0) {
        const wchar_t* expected = c.expectNewVersion ? L"fault.bin.v2" : L"fault.bin";
        EXPECT_EQ(CompareFiles(server_->RootWindows() + expected, saved), "");
        // Since the last size event, progress only ever grows, up to the size.
        const auto recorded = events.Events();
        std::vector<int64_t> progress;
        for (const RecordedEvent& e : recorded) {
            if (e.event == kDownloadEventSize) {
                progress.clear();
            } else if (e.event == kDownloadEventProgress) {
                progress.push_back(e.a);
            }
        }
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back(), kFaultFileSize);
    }
    if (c.check != nullptr) {
        c.check({server_->Requests(), pauses.Pauses()});
    }
}

INSTANTIATE_TEST_SUITE_P(FaultModes, DownloadFaultTest, testing::ValuesIn(kFaultCases),
                         [](const testing::TestParamInfo<FaultCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 name += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

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
    return 100 + RunDownload(CounterUrl("x/drop:*:0:always/small.bin"), argument + L"\\out.bin", 1);
}

TANDREL_CHILD_SCENARIO(CountersSteerBackEnds) {
    StartChildLog(argument);
    const std::wstring out = argument + L"\\out.bin";
    // Both ranges fail once on WinHTTP, then every attempt starts on WinINet until it has
    // failed as often; on a tie the attempt number decides again. Each first answer pauses
    // before it breaks off, so that both threads have chosen their back-end before either
    // failure is counted, however the threads are scheduled.
    const int first = RunDownload(
        CounterUrl("x/stall:0:50:2:1,stall:100000:50:2:1,drop:0:100:1,drop:100000:100:1/steer.bin"),
        out, 2);
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
