// Redirects: the socket client's own (an absolute address on a new connection, a path on the
// same one) and an endless chain, which every client must end.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "support/TestFolders.h"

namespace {

class RedirectTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartScriptedServer(kRedirectAddress, server_)); }
    static void TearDownTestSuite() { server_.reset(); }
    void SetUp() override { server_->ClearRequests(); }

    static std::unique_ptr<LocalServer> server_;
    ScopedTempFolder folder_{L"http-client-redirect"};
};
std::unique_ptr<LocalServer> RedirectTest::server_;

}  // namespace

TEST_F(RedirectTest, SocketClientTakesAbsoluteOnANewConnectionAndPathsOnTheSame) {
    struct Case {
        const char* path;
        bool sameConnection;
    };
    const Case cases[] = {
        {"/redirect?status=301&to=http%3A%2F%2F127.0.0.44%2Fbody%3Flen%3D700", false},
        {"/redirect?status=302&to=%2Fbody%3Flen%3D700", true},
        {"/redirect?status=302&to=body%3Flen%3D700", true},
    };
    for (const Case& c : cases) {
        for (bool toFile : {true, false}) {
            server_->ClearRequests();
            ClientPtr client = MakeClient(kHttpClientSocket);
            const std::wstring url = PlainUrl(kRedirectAddress, c.path);
            const std::wstring file = folder_.path() + L"redirected.bin";
            const std::string body =
                toFile ? (client->DownloadToFile(url.c_str(), file.c_str()) ? ReadFileBytes(file)
                                                                            : "failed")
                       : DownloadBuffer(*client, url).body;
            EXPECT_TRUE(body == ScriptedBody(700))
                << c.path << " code " << client->GetLastErrorCode();
            const auto requests = RecordedRequests(*server_);
            ASSERT_EQ(requests.size(), 2u) << c.path;
            EXPECT_EQ(requests[1].target, "/body?len=700");
            EXPECT_EQ(requests[0].connection == requests[1].connection, c.sameConnection) << c.path;
        }
        // The WinINet client follows redirects itself too (WinHTTP leaves them to the platform).
        ClientPtr wininet = MakeClient(kHttpClientWininet);
        EXPECT_TRUE(DownloadBuffer(*wininet, PlainUrl(kRedirectAddress, c.path)).body ==
                    ScriptedBody(700))
            << c.path;
    }
}

TEST_F(RedirectTest, EndlessChainsEndWithAFailure) {
    const std::wstring url = PlainUrl(kRedirectAddress, "/loop");
    ClientPtr socketClient = MakeClient(kHttpClientSocket);
    const std::wstring file = folder_.path() + L"loop.bin";
    EXPECT_FALSE(socketClient->DownloadToFile(url.c_str(), file.c_str()));
    EXPECT_EQ(socketClient->GetLastErrorCode(), kHttpErrorTooManyRedirects);
    EXPECT_EQ(RecordedRequests(*server_).size(), 11u);  // the first request and 10 redirects
    EXPECT_FALSE(DownloadBuffer(*socketClient, url).ok);
    EXPECT_EQ(socketClient->GetLastErrorCode(), kHttpErrorTooManyRedirects);

    for (int kind : {kHttpClientWininet, kHttpClientWinHttp}) {
        server_->ClearRequests();
        ClientPtr client = MakeClient(kind);
        EXPECT_EQ(static_cast<IWininetHttp&>(*client).Request(url.c_str(), 0, nullptr, nullptr),
                  "");
        EXPECT_EQ(client->GetLastErrorCode(), kHttpErrorTooManyRedirects) << KindName(kind);
        EXPECT_EQ(RecordedRequests(*server_).size(), 11u) << KindName(kind);
    }
}
