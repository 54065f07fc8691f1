// The preparation step of an Install click with injected answers (outcome, queries made, log
// lines in order), and one run with the real queries against the stand-in of the address API.
#include <gtest/gtest.h>

#include "AddressApiServer.h"
#include "FlowTestLog.h"
#include "common/TextConvert.h"
#include "Window/DownloadPreparation.h"
#include "Window/FlowLog.h"

namespace {

constexpr int64_t kMiB = 1 << 20;
constexpr wchar_t kConfigured[] = L"http://127.0.0.10/setup.exe";
constexpr wchar_t kApi[] = L"http://127.0.0.11/api/download?key=repavio";
constexpr wchar_t kTarget[] = L"http://127.0.0.10/v2/setup.exe";
constexpr char kStorage[] = "Not enough disk space. Required:";

}  // namespace

TEST(PreparationTest, OutcomeQueriesAndLog) {
    using S = PreparationStatus;
    const struct {
        const char* what;
        const wchar_t* api;
        bool redirects;
        const wchar_t* installPath;
        int64_t size;
        bool freeKnown;
        uint32_t freeMB;
        const wchar_t* unit;
        S status;
        const wchar_t* url;
        const wchar_t* drive;
        const char* message;  // after kStorage
        const char* lastLog;  // after "get disk size end"
    } cases[] = {
        {"700 MiB fits in 2100", kApi, true, L"D:\\Apps\\", 700 * kMiB, true, 2100, L"",
         S::kStartDownload, kTarget, L"D:", "", ""},
        {"700 MiB needs 2100", kApi, true, L"C:\\", 700 * kMiB, true, 2099, L"", S::kNotEnoughSpace,
         kTarget, L"C:", " 2100 MB",
         "OnClickInstall" FLOW_FULLWIDTH_COLON "filesize:700MB--FreeSize:2099MB"},
        {"unit from the texts, part MiB dropped", kApi, false, L"C:\\", 701 * kMiB - 1, true, 0,
         L"Mo", S::kNotEnoughSpace, kConfigured, L"C:", " 2100 Mo", ""},
        {"above 4 GiB", kApi, true, L"C:\\", 5120 * kMiB, true, 15359, L"", S::kNotEnoughSpace,
         kTarget, L"C:", " 15360 MB", ""},
        {"unknown size needs nothing", L"", true, L"C:\\", 0, true, 0, L"", S::kStartDownload,
         kConfigured, L"C:", "", ""},
        {"free space unknown", kApi, true, L"\\\\server\\share\\", kMiB, false, 0, L"",
         S::kFreeSpaceUnknown, kTarget, L"", "",
         "OnClickInstall" FLOW_FULLWIDTH_COLON "GetFreeSize Failed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring askedHost, askedPath, sizedUrl, drive = L"(not asked)";
        PreparationServices services;
        services.queryRedirect = [&](const std::wstring& host, const std::wstring& path,
                                     std::wstring& url) {
            askedHost = host;
            askedPath = path;
            if (c.redirects) {
                url = kTarget;
            }
            return c.redirects;
        };
        services.remoteFileSize = [&](const std::wstring& url) {
            sizedUrl = url;
            return c.size;
        };
        services.freeDiskMB = [&](const std::wstring& path, uint32_t& mb) {
            drive = path;
            mb = c.freeKnown ? c.freeMB : mb;
            return c.freeKnown;
        };
        LogTail log;
        const PreparationOutcome outcome = PrepareDownload(
            {c.api, kConfigured, c.installPath, AnsiToWide(kStorage), c.unit}, services);

        EXPECT_EQ(c.status, outcome.status);
        EXPECT_EQ(c.url, outcome.downloadUrl);
        EXPECT_EQ(c.url, sizedUrl);
        EXPECT_EQ(c.drive, drive);
        EXPECT_EQ(*c.api ? L"127.0.0.11" : L"", askedHost);
        EXPECT_EQ(*c.api ? L"api/download?key=repavio" : L"", askedPath);
        EXPECT_EQ(*c.message ? AnsiToWide(kStorage + std::string(c.message)) : L"",
                  outcome.storageMessage);

        std::vector<std::string> markers = {"get file size begin", "get file size end",
                                            "get disk size begin", "get disk size end"};
        if (c.redirects && *c.api) {
            markers.insert(markers.begin(), "get redirect Url:" + WideToUtf8(kTarget));
        }
        const std::string text = log.NewText();
        EXPECT_EQ("", FirstMissingInOrder(text, markers)) << text;
        if (*c.lastLog) {
            EXPECT_EQ("",
                      FirstMissingInOrder(text.substr(text.find("get disk size end")), {c.lastLog}))
                << text;
        }
    }
}

// The real queries: the API is asked over plain HTTP on port 80 even for an https address, its
// target is measured, and the free space of drive C: is read.
TEST(PreparationTest, RealQueriesFollowTheApi) {
    AddressApiServer api;
    std::string error;
    ASSERT_TRUE(api.Start("127.0.0.31", error)) << error;
    const std::string query = "answer/302?location=http%3A%2F%2F127.0.0.31%2Fanswer%2F200%2Fs.exe";
    const PreparationOutcome outcome =
        PrepareDownload({AnsiToWide("https://127.0.0.31/" + query), kConfigured, L"C:\\", L"", L""},
                        SystemPreparationServices());
    EXPECT_EQ(PreparationStatus::kStartDownload, outcome.status);
    EXPECT_EQ(L"http://127.0.0.31/answer/200/s.exe", outcome.downloadUrl);
    EXPECT_GT(outcome.freeMB, 0u);

    const std::vector<ApiRequest> requests = api.Requests();
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ("/" + query, requests[0].path);
    for (size_t i = 1; i < requests.size(); ++i) {
        EXPECT_EQ("/answer/200/s.exe", requests[i].path);
    }
}
