// How the clients treat what comes back: statuses, redirects (new connection or the same one,
// and an endless chain), certificates, silence, a closed port, and random answers.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "ClientTestSupport.h"
#include "common/FileUtil.h"
#include "common/TextConvert.h"
#include "support/TestFolders.h"

namespace {

class ResponseTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StartScriptedServer(kStatusAddress, server_));
        ASSERT_TRUE(StartScriptedServer(kUntrustedAddress, untrusted_, /*untrusted=*/true));
    }
    static void TearDownTestSuite() {
        server_.reset();
        untrusted_.reset();
    }
    void SetUp() override { server_->ClearRequests(); }

    static std::unique_ptr<LocalServer> server_;
    static std::unique_ptr<LocalServer> untrusted_;
    ScopedTempFolder folder_{L"http-client-response"};
};
std::unique_ptr<LocalServer> ResponseTest::server_;
std::unique_ptr<LocalServer> ResponseTest::untrusted_;

std::string Request(IHttpBase& client, const std::wstring& url) {
    return static_cast<IWininetHttp&>(client).Request(url.c_str(), 0, nullptr, nullptr);
}

}  // namespace

TEST(HttpFactoryTest, KnownKindsGiveAClientAndOthersNull) {
    for (int kind : {0, 1, 2, 3, -1}) {
        IHttpBase* client = reinterpret_cast<IHttpBase*>(1);
        EXPECT_EQ(CreateHttpInstance(&client, kind), kind >= 0 && kind <= 2) << kind;
        EXPECT_EQ(client != nullptr, kind >= 0 && kind <= 2) << kind;
        if (client != nullptr) {
            EXPECT_EQ(client->GetStatusCode(), 0);
            EXPECT_EQ(client->GetLastErrorCode(), 0);
            client->Release();
        }
    }
}

// Only 404 fails the platform clients (the socket client: 400 and 404); other statuses deliver
// their body and leave the code alone.
TEST_F(ResponseTest, StatusesOfAllClients) {
    struct Case {
        int kind;
        const char* url;
        size_t bodyLength;  // of the expected text
        int status;
        int code;
    };
    const Case cases[] = {
        {kHttpClientWinHttp, "http://127.0.0.41/body?status=404&len=9", 0, 404, 5},
        {kHttpClientWinHttp, "http://127.0.0.41/body?status=500&len=12", 12, 500, 0},
        {kHttpClientWinHttp, "https://127.0.0.41/body?status=500&len=12", 12, 500, 0},
        {kHttpClientWininet, "http://127.0.0.41/body?status=404&len=9", 0, 404, 5},
        {kHttpClientWininet, "http://127.0.0.41/body?status=500&len=12", 12, 500, 0},
        {kHttpClientSocket, "http://127.0.0.41/body?status=400&len=9", 0, 400, 5},
        {kHttpClientSocket, "http://127.0.0.41/body?status=404&len=9", 0, 404, 5},
        {kHttpClientSocket, "http://127.0.0.41/body?status=500&len=12", 12, 500, 0},
    };
    for (const Case& c : cases) {
        ClientPtr client = MakeClient(c.kind);
        const std::wstring url = AnsiToWide(c.url);
        const std::string text =
            c.kind == kHttpClientSocket ? DownloadBuffer(*client, url).body : Request(*client, url);
        EXPECT_EQ(text, ScriptedBody(c.bodyLength)) << KindName(c.kind) << c.url;
        EXPECT_EQ(client->GetStatusCode(), c.status) << KindName(c.kind) << c.url;
        EXPECT_EQ(client->GetLastErrorCode(), c.code) << KindName(c.kind) << c.url;
    }
}

TEST_F(ResponseTest, TlsIsChosenByPort443AndNeedsATrustedCertificate) {
    // "http://" with port 443 is TLS; a certificate from an unknown CA is refused.
    for (int kind : {kHttpClientWininet, kHttpClientWinHttp}) {
        ClientPtr client = MakeClient(kind);
        EXPECT_EQ(Request(*client, PlainUrl(kStatusAddress, ":443/body?len=7")), ScriptedBody(7))
            << KindName(kind);
        EXPECT_EQ(client->GetStatusCode(), 200) << KindName(kind);
        ClientPtr other = MakeClient(kind);
        EXPECT_EQ(Request(*other, TlsUrl(kUntrustedAddress, "/body?len=7")), "") << KindName(kind);
        EXPECT_EQ(other->GetStatusCode(), 0) << KindName(kind);
        EXPECT_NE(other->GetLastErrorCode(), 0) << KindName(kind);
    }
    EXPECT_TRUE(RecordedRequests(*untrusted_).empty());
    // The socket client has no TLS: port 443 is refused before any network access.
    ClientPtr socketClient = MakeClient(kHttpClientSocket);
    const std::wstring file = folder_.path() + L"tls.bin";
    EXPECT_FALSE(
        socketClient->DownloadToFile(TlsUrl(kStatusAddress, "/body?len=7").c_str(), file.c_str()));
    EXPECT_EQ(DownloadBuffer(*socketClient, PlainUrl(kStatusAddress, ":443/x")).ok, false);
    EXPECT_EQ(socketClient->GetLastErrorCode(), 0);
    EXPECT_FALSE(FileExists(file));
    // Only the two platform clients' requests arrived.
    EXPECT_EQ(RecordedRequests(*server_).size(), 2u);
}

TEST_F(ResponseTest, SilentServerAndClosedPort) {
    // The socket client gives up after its 10 s receive time-out, WinHTTP after its own.
    ClientPtr socketClient = MakeClient(kHttpClientSocket);
    EXPECT_FALSE(DownloadBuffer(*socketClient, PlainUrl(kStatusAddress, "/silent")).ok);
    EXPECT_EQ(socketClient->GetLastErrorCode(), kHttpErrorSocket);
    ClientPtr winHttp = MakeClient(kHttpClientWinHttp);
    static_cast<IWinHttp&>(*winHttp).SetTimeouts(1000, 1000, 1000);
    std::string text = "unset";
    // The server stays silent for minutes: only the client's own time-out ends the wait.
    ExpectReturnsWithin([&] { text = Request(*winHttp, PlainUrl(kStatusAddress, "/silent")); },
                        30000);
    EXPECT_EQ(text, "");
    EXPECT_EQ(winHttp->GetStatusCode(), 0);
    EXPECT_EQ(winHttp->GetLastErrorCode(), kHttpErrorOpen);

    const std::wstring file = folder_.path() + L"closed.bin";
    EXPECT_FALSE(
        socketClient->DownloadToFile(PlainUrl(kClosedAddress, "/x").c_str(), file.c_str()));
    EXPECT_EQ(socketClient->GetLastErrorCode(), kHttpErrorConnect);
    EXPECT_FALSE(DownloadBuffer(*socketClient, PlainUrl(kClosedAddress, "/x")).ok);
    EXPECT_EQ(socketClient->GetLastErrorCode(), kHttpErrorOpen);
    EXPECT_FALSE(DownloadBuffer(*socketClient, L"http://no-such-host.invalid/x").ok);
    EXPECT_EQ(socketClient->GetLastErrorCode(), kHttpErrorOpen);
}

// Garbage, cut headers, wild lengths and bad redirects: every download ends with a result,
// a success delivers a whole body, and a failed file download leaves no file.
TEST_F(ResponseTest, SocketClientSurvivesRandomAnswers) {
    const std::set<int> codes = {kHttpErrorNotFound, kHttpErrorReadBody,
                                 kHttpErrorSocket,   kHttpErrorTooLarge,
                                 kHttpErrorNoHeader, kHttpErrorTooManyRedirects};
    const std::wstring file = folder_.path() + L"random.bin";
    for (int seed = 1; seed <= 40; ++seed) {
        const std::string path = "/random?seed=" + std::to_string(seed);
        ClientPtr client = MakeClient(kHttpClientSocket);
        const BufferResult result = DownloadBuffer(*client, PlainUrl(kStatusAddress, path));
        if (!result.ok) {
            EXPECT_TRUE(codes.count(result.code)) << seed << ": " << result.code;
        }
        ClientPtr fileClient = MakeClient(kHttpClientSocket);
        const bool ok =
            fileClient->DownloadToFile(PlainUrl(kStatusAddress, path).c_str(), file.c_str());
        EXPECT_EQ(FileExists(file), ok) << seed;
        if (!ok) {
            EXPECT_TRUE(codes.count(fileClient->GetLastErrorCode()))
                << seed << ": " << fileClient->GetLastErrorCode();
        }
        ::DeleteFileW(file.c_str());
    }
}
