// File and buffer downloads of all three clients: bodies however the server cuts them, the
// observer's events, the 8 MiB buffer limit, failures that leave no file, and cancellation.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "common/FileUtil.h"
#include "support/TestFolders.h"

namespace {

class DownloadTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartScriptedServer(kDownloadAddress, server_)); }
    static void TearDownTestSuite() { server_.reset(); }

    std::wstring Url(bool tls, const char* path) const {
        return tls ? TlsUrl(kDownloadAddress, path) : PlainUrl(kDownloadAddress, path);
    }

    static std::unique_ptr<LocalServer> server_;
    ScopedTempFolder folder_{L"http-client-download"};
};
std::unique_ptr<LocalServer> DownloadTest::server_;

constexpr int kContext = 7;

}  // namespace

TEST_F(DownloadTest, FileDownloadsWriteTheWholeBodyAndReportProgress) {
    struct Case {
        int kind;
        bool tls;
        const char* path;
        size_t length;
        std::vector<int> events;  // runs of progress folded into one 0
    };
    const Case cases[] = {
        {kHttpClientSocket, false, "/body?len=100000", 100000, {0, 2}},
        {kHttpClientSocket, false, "/body?len=3000", 3000, {0, 2}},  // header and body together
        {kHttpClientSocket, false, "/body?len=3000&split=1", 3000, {0, 2}},
        {kHttpClientSocket, false, "/body?len=5000&cl=0", 5000, {0, 2}},  // body ends at close
        {kHttpClientSocket, false, "/body?len=9000000", 9000000, {0, 2}},
        {kHttpClientWininet, false, "/body?len=100000", 100000, {0, 2}},
        {kHttpClientWininet, true, "/body?len=100000", 100000, {0, 2}},
        {kHttpClientWinHttp, false, "/body?len=100000", 100000, {0}},
        {kHttpClientWinHttp, true, "/body?len=100000", 100000, {0}},
    };
    for (const Case& c : cases) {
        ClientPtr client = MakeClient(c.kind);
        RecordingObserver observer;
        client->SetProgressCallback(&observer, kContext);
        const std::wstring file = folder_.path() + L"sub\\dir\\body.bin";
        CreateFolderTree(folder_.path() + L"sub\\dir");
        ASSERT_TRUE(client->DownloadToFile(Url(c.tls, c.path).c_str(), file.c_str()))
            << KindName(c.kind) << c.path << " code " << client->GetLastErrorCode();
        EXPECT_TRUE(ReadFileBytes(file) == ScriptedBody(c.length)) << KindName(c.kind) << c.path;
        EXPECT_EQ(observer.Shape(), c.events) << KindName(c.kind) << c.path;
        ASSERT_FALSE(observer.Events().empty());
        EXPECT_EQ(observer.Events().back().done, static_cast<double>(c.length));
        for (const ObservedEvent& e : observer.Events()) {
            EXPECT_EQ(e.context, kContext);
        }
    }
}

TEST_F(DownloadTest, BufferDownloadsAndTheirLimit) {
    struct Case {
        int kind;
        const char* path;
        size_t length;  // 0: the download fails with |code|
        int code;
    };
    const Case cases[] = {
        {kHttpClientSocket, "/body?len=100000", 100000, 0},
        {kHttpClientSocket, "/body?len=3000&split=1", 3000, 0},
        {kHttpClientSocket, "/body?len=5000&cl=0", 0, kHttpErrorTooLarge},
        {kHttpClientSocket, "/body?len=8388609", 0, kHttpErrorTooLarge},
        {kHttpClientWininet, "/body?len=100000", 100000, 0},
        {kHttpClientWininet, "/body?len=5000&cl=0", 5000, 0},
        {kHttpClientWininet, "/body?len=8388609", 0, kHttpErrorTooLarge},
        {kHttpClientWininet, "/body?len=8388609&cl=0", 0, kHttpErrorTooLarge},
        {kHttpClientWinHttp, "/body?len=100000", 100000, 0},
        {kHttpClientWinHttp, "/body?len=8388609", 0, kHttpErrorTooLarge},
        {kHttpClientWinHttp, "/body?len=5000&cl=0", 0, kHttpErrorQueryLength},
    };
    for (const Case& c : cases) {
        ClientPtr client = MakeClient(c.kind);
        const BufferResult result = DownloadBuffer(*client, Url(false, c.path));
        EXPECT_EQ(result.ok, c.length > 0) << KindName(c.kind) << c.path;
        EXPECT_TRUE(result.body == ScriptedBody(c.length)) << KindName(c.kind) << c.path;
        EXPECT_EQ(result.code, c.code) << KindName(c.kind) << c.path;
    }
}

TEST_F(DownloadTest, FailedFileDownloadsLeaveNoFile) {
    struct Case {
        int kind;
        const char* path;
        int code;
        std::vector<int> events;
    };
    const Case cases[] = {
        {kHttpClientSocket, "/body?len=50000&early=1000", kHttpErrorReadBody, {0, 1}},
        {kHttpClientSocket, "/body?status=400&len=5", kHttpErrorNotFound, {1}},
        {kHttpClientWininet, "/body?len=50000&early=1000", kHttpErrorReadBody, {0, 1}},
        {kHttpClientWininet, "/body?status=404&len=5", kHttpErrorNotFound, {1}},
        {kHttpClientWinHttp, "/body?len=50000&early=1000", kHttpErrorReadBody, {0}},
        {kHttpClientWinHttp, "/body?status=404&len=5", kHttpErrorNotFound, {}},
    };
    for (const Case& c : cases) {
        ClientPtr client = MakeClient(c.kind);
        RecordingObserver observer;
        client->SetProgressCallback(&observer, kContext);
        const std::wstring file = folder_.path() + L"failed.bin";
        EXPECT_FALSE(client->DownloadToFile(Url(false, c.path).c_str(), file.c_str()))
            << KindName(c.kind) << c.path;
        EXPECT_EQ(client->GetLastErrorCode(), c.code) << KindName(c.kind) << c.path;
        EXPECT_EQ(observer.Shape(), c.events) << KindName(c.kind) << c.path;
        EXPECT_FALSE(FileExists(file)) << KindName(c.kind) << c.path;
    }
}

TEST_F(DownloadTest, SocketDownloadCancelledByTheObserver) {
    ClientPtr client = MakeClient(kHttpClientSocket);
    RecordingObserver observer(/*cancelAfter=*/2);
    client->SetProgressCallback(&observer, kContext);
    const std::wstring file = folder_.path() + L"cancelled.bin";
    EXPECT_FALSE(client->DownloadToFile(Url(false, "/body?len=300000").c_str(), file.c_str()));
    EXPECT_EQ(client->GetLastErrorCode(), kHttpErrorCancelled);
    EXPECT_EQ(observer.Shape(), (std::vector<int>{0, 1}));
    EXPECT_FALSE(FileExists(file));
}
