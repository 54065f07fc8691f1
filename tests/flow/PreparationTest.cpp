// The preparation step of an Install click with injected sizes and free space, its log lines,
// and one run with the real queries against the local stand-in of the download-address API.
#include <gtest/gtest.h>

#include <memory>

#include "AddressApiServer.h"
#include "FlowTestLog.h"
#include "common/TextConvert.h"
#include "Window/DownloadPreparation.h"
#include "Window/FlowLog.h"

namespace {

constexpr int64_t kMiB = 1 << 20;
constexpr wchar_t kConfiguredUrl[] = L"http://127.0.0.10/orbitane-repavio_setup.exe";
constexpr wchar_t kApiUrl[] = L"http://127.0.0.11/api/download?key=repavio&custom=x";
constexpr wchar_t kRedirectTarget[] = L"http://127.0.0.10/v2/orbitane-repavio_setup.exe";

// Services with fixed answers that record what they were asked.
struct FakeServices {
    bool redirects = true;
    int64_t size = 0;
    bool freeKnown = true;
    uint32_t freeMB = 0;

    std::wstring askedHost, askedPath, sizedUrl, drive;
    int redirectCalls = 0;

    PreparationServices Bind() {
        PreparationServices services;
        services.queryRedirect = [this](const std::wstring& host, const std::wstring& path,
                                        std::wstring& url) {
            ++redirectCalls;
            askedHost = host;
            askedPath = path;
            if (redirects) {
                url = kRedirectTarget;
            }
            return redirects;
        };
        services.remoteFileSize = [this](const std::wstring& url) {
            sizedUrl = url;
            return size;
        };
        services.freeDiskMB = [this](const std::wstring& path, uint32_t& mb) {
            drive = path;
            if (freeKnown) {
                mb = freeMB;
            }
            return freeKnown;
        };
        return services;
    }
};

PreparationRequest Request(const wchar_t* unit = L"") {
    return PreparationRequest{kApiUrl, kConfiguredUrl, L"C:\\Program Files (x86)\\",
                              L"Not enough disk space. Required:", unit};
}

}  // namespace

TEST(PreparationTest, SizeAgainstFreeSpace) {
    struct Case {
        const char* what;
        int64_t size;
        bool freeKnown;
        uint32_t freeMB;
        const wchar_t* unit;
        PreparationStatus status;
        int64_t requiredMB;
        std::wstring message;
    };
    const Case cases[] = {
        {"700 MiB with 2100 free", 700 * kMiB, true, 2100, L"", PreparationStatus::kStartDownload,
         2100, L""},
        {"700 MiB with 2099 free", 700 * kMiB, true, 2099, L"", PreparationStatus::kNotEnoughSpace,
         2100, L"Not enough disk space. Required: 2100 MB"},
        {"the unit comes from the texts", 700 * kMiB, true, 0, L"Mo",
         PreparationStatus::kNotEnoughSpace, 2100, L"Not enough disk space. Required: 2100 Mo"},
        {"part of a MiB is not counted", 701 * kMiB - 1, true, 2100, L"",
         PreparationStatus::kStartDownload, 2100, L""},
        {"above 4 GiB", 5 * 1024 * kMiB, true, 15359, L"", PreparationStatus::kNotEnoughSpace,
         15360, L"Not enough disk space. Required: 15360 MB"},
        {"unknown size needs nothing", 0, true, 0, L"", PreparationStatus::kStartDownload, 0, L""},
        {"free space unknown", 1 * kMiB, false, 0, L"", PreparationStatus::kFreeSpaceUnknown, 0,
         L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeServices fake;
        fake.size = c.size;
        fake.freeKnown = c.freeKnown;
        fake.freeMB = c.freeMB;
        const PreparationOutcome outcome = PrepareDownload(Request(c.unit), fake.Bind());
        EXPECT_EQ(c.status, outcome.status);
        EXPECT_EQ(c.requiredMB, outcome.requiredMB);
        EXPECT_EQ(c.message, outcome.storageMessage);
        EXPECT_EQ(L"C:", fake.drive);
    }
}

TEST(PreparationTest, AddressAndDrive) {
    struct Case {
        const char* what;
        std::wstring apiUrl;
        bool redirects;
        std::wstring installPath;
        int redirectCalls;
        std::wstring downloadUrl;
        std::wstring drive;
    };
    const Case cases[] = {
        {"the API's target is downloaded", kApiUrl, true, L"D:\\Apps\\", 1, kRedirectTarget, L"D:"},
        {"no target keeps the configured URL", kApiUrl, false, L"C:\\Programs\\", 1, kConfiguredUrl,
         L"C:"},
        {"no API address asks nobody", L"", true, L"C:\\", 0, kConfiguredUrl, L"C:"},
        {"a network share has no drive", kApiUrl, true, L"\\\\server\\share\\", 1, kRedirectTarget,
         L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeServices fake;
        fake.redirects = c.redirects;
        fake.freeMB = 10;
        PreparationRequest request = Request();
        request.addressApiUrl = c.apiUrl;
        request.installPath = c.installPath;
        const PreparationOutcome outcome = PrepareDownload(request, fake.Bind());
        EXPECT_EQ(PreparationStatus::kStartDownload, outcome.status);
        EXPECT_EQ(c.redirectCalls, fake.redirectCalls);
        EXPECT_EQ(c.downloadUrl, outcome.downloadUrl);
        EXPECT_EQ(c.downloadUrl, fake.sizedUrl);
        EXPECT_EQ(c.drive, fake.drive);
        if (c.redirectCalls > 0) {
            EXPECT_EQ(L"127.0.0.11", fake.askedHost);
            EXPECT_EQ(L"api/download?key=repavio&custom=x", fake.askedPath);
        }
    }
}

TEST(PreparationTest, LogLinesInOrder) {
    const std::vector<std::string> common = {
        "get redirect Url:" + WideToUtf8(kRedirectTarget),
        "get file size begin",
        "get file size end",
        "get disk size begin",
        "get disk size end",
    };
    struct Case {
        const char* what;
        bool freeKnown;
        uint32_t freeMB;
        std::string last;  // empty: nothing after the disk query
    };
    const Case cases[] = {
        {"enough space", true, 2100, ""},
        {"not enough space", true, 2099,
         "OnClickInstall" FLOW_FULLWIDTH_COLON "filesize:700MB--FreeSize:2099MB"},
        {"free space unknown", false, 0,
         "OnClickInstall" FLOW_FULLWIDTH_COLON "GetFreeSize Failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeServices fake;
        fake.size = 700 * kMiB;
        fake.freeKnown = c.freeKnown;
        fake.freeMB = c.freeMB;
        LogTail log;
        PrepareDownload(Request(), fake.Bind());
        const std::string text = log.NewText();
        std::vector<std::string> markers = common;
        if (!c.last.empty()) {
            markers.push_back(c.last);
        }
        EXPECT_EQ("", FirstMissingInOrder(text, markers)) << text;
        EXPECT_EQ(c.last.empty(),
                  text.find("OnClickInstall" FLOW_FULLWIDTH_COLON) == std::string::npos)
            << text;
    }
}

// The real queries: the API is asked over plain HTTP on port 80 even for an https address, its
// target is measured, and the free space of drive C: is read.
TEST(PreparationTest, RealQueriesFollowTheApi) {
    AddressApiServer api;
    std::string error;
    ASSERT_TRUE(api.Start("127.0.0.31", error)) << error;
    PreparationRequest request = Request();
    request.addressApiUrl =
        L"https://127.0.0.31/answer/"
        L"302?location=http%3A%2F%2F127.0.0.31%2Fanswer%2F200%2Fsetup.exe";
    const PreparationOutcome outcome = PrepareDownload(request, SystemPreparationServices());
    EXPECT_EQ(PreparationStatus::kStartDownload, outcome.status);
    EXPECT_EQ(L"http://127.0.0.31/answer/200/setup.exe", outcome.downloadUrl);
    EXPECT_GT(outcome.freeMB, 0u);

    const std::vector<ApiRequest> requests = api.Requests();
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ("/answer/302?location=http%3A%2F%2F127.0.0.31%2Fanswer%2F200%2Fsetup.exe",
              requests[0].path);
    for (size_t i = 1; i < requests.size(); ++i) {
        EXPECT_EQ("/answer/200/setup.exe", requests[i].path);
    }
}
