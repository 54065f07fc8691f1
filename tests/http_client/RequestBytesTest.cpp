// What reaches the server: the socket client's exact request text, and the header lines and
// bodies that the WinINet and WinHTTP clients send, caller fields included.
#include <gtest/gtest.h>

#include <algorithm>

#include "ClientTestSupport.h"

namespace {

constexpr char kBrowserAgent[] =
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/80.0.4044.92 Safari/537.36";

class RequestBytesTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartScriptedServer(kBytesAddress, server_)); }
    static void TearDownTestSuite() { server_.reset(); }
    void SetUp() override { server_->ClearRequests(); }

    // The lines of the only request the server saw since the last clear.
    static std::vector<std::string> OnlyRequestLines(RecordedRequest& request) {
        const auto requests = RecordedRequests(*server_);
        EXPECT_EQ(requests.size(), 1u);
        if (requests.empty()) {
            return {};
        }
        request = requests[0];
        return HeaderLines(request.bytes);
    }

    static std::unique_ptr<LocalServer> server_;
};
std::unique_ptr<LocalServer> RequestBytesTest::server_;

size_t CountPrefixed(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST_F(RequestBytesTest, SocketClientSendsFieldsInByteOrderAndOneMoreLineEnd) {
    {
        ClientPtr client = MakeClient(kHttpClientSocket);
        client->AddRequestHeader("X-Caller", "yes");
        client->AddRequestHeader("Accept", "text/plain");
        client->AddRequestHeader("X-Empty", "");
        client->AddRequestHeader(nullptr, "value");
        const BufferResult result =
            DownloadBuffer(*client, PlainUrl(kBytesAddress, "/body?len=10"));
        ASSERT_TRUE(result.ok) << result.code;
        EXPECT_EQ(static_cast<ISocketHttp&>(*client).GetServerAddress(), L"127.0.0.40");
    }  // released: the connection ends and the server records every byte it received
    const auto requests = RecordedRequests(*server_);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(ConnectionBytes(*server_, requests[0].connection),
              std::string("GET /body?len=10 HTTP/1.1\r\n"
                          "Accept: text/plain\r\n"
                          "Accept-Language: zh-CN,zh;q=0.9\r\n"
                          "Connection: Keep-Alive\r\n"
                          "Host: 127.0.0.40\r\n"
                          "User-Agent: ") +
                  kBrowserAgent +
                  "\r\n"
                  "X-Caller: yes\r\n"
                  "\r\n\r\n");
}

// A GET with the caller's own "User-Agent", then a JSON POST with the defaults.
TEST_F(RequestBytesTest, PlatformClientsSendDefaultFieldsCallerFieldsAndJson) {
    const std::string json = "{\n    \"client_id\": \"abc-123\"\n}";
    const std::string url = std::string("http://") + kBytesAddress + "/body?len=4";
    for (int kind : {kHttpClientWininet, kHttpClientWinHttp}) {
        for (bool post : {false, true}) {
            server_->ClearRequests();
            ClientPtr client = MakeClient(kind);
            if (!post) {
                client->AddRequestHeader("User-Agent", "Caller/1.0");
            }
            EXPECT_EQ(static_cast<IWininetHttp&>(*client).Request(
                          url.c_str(), post, post ? json.c_str() : nullptr,
                          post ? "Content-Type: application/json; charset=utf-8" : nullptr),
                      ScriptedBody(4));
            RecordedRequest request;
            const auto lines = OnlyRequestLines(request);
            const std::string agent = post ? kBrowserAgent : "Caller/1.0";
            EXPECT_EQ(request.method, post ? "POST" : "GET") << KindName(kind);
            EXPECT_EQ(CountPrefixed(lines, "User-Agent:"), 1u) << KindName(kind);
            for (const std::string& line : {"User-Agent: " + agent, std::string("Accept: */*"),
                                            std::string("Connection: Keep-Alive"),
                                            std::string("Accept-Language: zh-CN,zh;q=0.9")}) {
                EXPECT_TRUE(Contains(lines, line)) << KindName(kind) << ": " << line;
            }
            if (post) {
                EXPECT_TRUE(Contains(lines, "Content-Type: application/json; charset=utf-8"));
                EXPECT_TRUE(Contains(lines, "Content-Length: " + std::to_string(json.size())));
                EXPECT_EQ(request.bytes.substr(request.bytes.find("\r\n\r\n") + 4), json);
            }
        }
    }
}
