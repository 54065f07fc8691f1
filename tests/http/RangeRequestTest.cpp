// The range request objects and the remote size query against the local test server: TLS
// first then plain, the two back-ends' ports, and where the size comes from.
#include <gtest/gtest.h>

#include <memory>

#include "HttpTestSupport.h"
#include "http/tool/BaseRequest.h"
#include "http/tool/ContentLength.h"
#include "http/tool/InternetRequest.h"
#include "http/tool/RemoteFile.h"
#include "http/tool/WinHttpRequest.h"
#include "support/TestFolders.h"

namespace {

constexpr int64_t kFileSize = 4321;

class RangeRequestTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StartSuiteServer(kRequestAddress, server_));
        ASSERT_TRUE(MakeTestFile(server_->RootWindows() + L"file.bin", kFileSize, 7));
    }
    static void TearDownTestSuite() { server_.reset(); }
    void SetUp() override { server_->ClearRequests(); }

    static std::unique_ptr<LocalServer> server_;
};
std::unique_ptr<LocalServer> RangeRequestTest::server_;

std::string ReadBody(CBaseRequest& request) {
    std::string body;
    char buffer[1000];
    int count = 0;
    while ((count = request.HttpRead(buffer, sizeof(buffer))) > 0) {
        body.append(buffer, count);
    }
    EXPECT_EQ(count, 0);
    return body;
}

}  // namespace

TEST(SplitRequestUrlTest, HostAndPathWithoutTheSlash) {
    std::wstring host, path;
    EXPECT_TRUE(CBaseRequest::SplitRequestUrl(L"https://example.test/a/b.exe?x=1", host, path));
    EXPECT_EQ(host, L"example.test");
    EXPECT_EQ(path, L"a/b.exe?x=1");
    EXPECT_TRUE(CBaseRequest::SplitRequestUrl(L"http://127.0.0.1:8080/f", host, path));
    EXPECT_EQ(host, L"127.0.0.1:8080");  // no port syntax: the port stays in the host
    EXPECT_EQ(path, L"f");
    EXPECT_FALSE(CBaseRequest::SplitRequestUrl(L"https://example.test", host, path));
    EXPECT_TRUE(CBaseRequest::SplitRequestUrl(L"example.test/f", host, path));
    EXPECT_TRUE(host.empty());
    EXPECT_TRUE(path.empty());
    // The scheme is only ever the prefix, in any letter case.
    EXPECT_TRUE(CBaseRequest::SplitRequestUrl(L"HTTPS://Example.test/f", host, path));
    EXPECT_EQ(host, L"Example.test");
    EXPECT_TRUE(
        CBaseRequest::SplitRequestUrl(L"https://a.test/f?next=http://b.test/x", host, path));
    EXPECT_EQ(host, L"a.test");
    EXPECT_EQ(path, L"f?next=http://b.test/x");
    EXPECT_TRUE(CBaseRequest::SplitRequestUrl(L"ftp://a.test/?u=https://b.test/x", host, path));
    EXPECT_TRUE(host.empty());
}

TEST_F(RangeRequestTest, BothBackEndsReadTheRequestedRangeOverTls) {
    const std::string expected = ReadFileBytes(server_->RootWindows() + L"file.bin");
    for (int type : {CBaseRequest::kWinHttp, CBaseRequest::kInternet}) {
        std::unique_ptr<CBaseRequest> request(CBaseRequest::CreateInstance(type));
        ASSERT_NE(request, nullptr);
        request->SetExtraHeaders(L"Range:bytes=1000-1999");
        request->SetMaxConnections(50);
        ASSERT_TRUE(request->RequestUrl(server_->Url("file.bin"))) << request->GetTypeName();
        EXPECT_EQ(request->GetStatusCode(), 206);
        int64_t length = 0;
        EXPECT_TRUE(request->GetUrlFileSize(length));
        EXPECT_EQ(length, 1000);
        EXPECT_EQ(ReadBody(*request), expected.substr(1000, 1000)) << request->GetTypeName();
    }
    const auto requests = server_->WaitForRequests(2);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].port, 443);
    EXPECT_EQ(BackendOf(requests[0]), "WinHttp");
    EXPECT_EQ(requests[1].port, 443);
    EXPECT_EQ(BackendOf(requests[1]), "Internet");
    EXPECT_EQ(requests[1].range, "bytes=1000-1999");
    // The connection limit is process-wide WinINet state, read back after it was set.
    unsigned long value = 0;
    EXPECT_TRUE(CBaseRequest::QueryInternetOpt(73, value));
    EXPECT_EQ(value, 50u);
}

TEST_F(RangeRequestTest, MalformedUrlsFailWithoutReachingTheServer) {
    const LogMark mark;
    CWinHttpRequest noSlash;
    EXPECT_FALSE(noSlash.RequestUrl(L"https://127.0.0.20"));
    CInternetRequest noSlashInternet;
    EXPECT_FALSE(noSlashInternet.RequestUrl(L"https://127.0.0.20"));
    // The port is part of the host name, which names no host.
    CWinHttpRequest withPort;
    EXPECT_FALSE(withPort.RequestUrl(L"https://127.0.0.20:443/file.bin"));
    CWinHttpRequest noScheme;
    EXPECT_FALSE(noScheme.RequestUrl(L"127.0.0.20/file.bin"));
    EXPECT_TRUE(server_->Requests().empty());
    EXPECT_NE(mark.NewText().find("[CWinHttpRequest::"), std::string::npos);
}

TEST_F(RangeRequestTest, SizeComesFromWinHttpHead) {
    EXPECT_EQ(GetRemoteFileSize(server_->Url("file.bin")), kFileSize);
    const auto requests = server_->WaitForRequests(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "HEAD");
    EXPECT_EQ(requests[0].port, 443);
    EXPECT_EQ(BackendOf(requests[0]), "WinHttp");
}

TEST_F(RangeRequestTest, UrlQueryNamingAnotherHostDoesNotMoveTheRequest) {
    CWinHttpRequest request;
    ASSERT_TRUE(request.RequestUrl(server_->Url("file.bin?next=http://127.0.0.29/x")));
    EXPECT_EQ(request.GetStatusCode(), 200);
    const auto requests = server_->WaitForRequests(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].path, "/file.bin?next=http://127.0.0.29/x");
}

TEST_F(RangeRequestTest, SizeComesFromTheFirstByteWhenHeadGivesNone) {
    struct Case {
        const char* modes;
        int64_t size;
        std::vector<std::string> asked;  // method and range of each request, in order
    };
    const Case cases[] = {
        {"no-length-head", kFileSize, {"HEAD ", "GET bytes=0-0"}},
        {"head-status:405", kFileSize, {"HEAD ", "GET bytes=0-0"}},
        // No Content-Length anywhere: the Content-Range total still tells.
        {"no-length", kFileSize, {"HEAD ", "GET bytes=0-0"}},
        // Nor a range: the last resort, WinINet's GET, has no length either.
        {"no-length,ignore-range:*:always", 0, {"HEAD ", "GET bytes=0-0", "GET "}},
        // An error page's own length is not the file's size.
        {"status:404", 0, {"HEAD ", "GET bytes=0-0", "GET "}},
    };
    for (const Case& c : cases) {
        server_->ClearRequests();
        EXPECT_EQ(GetRemoteFileSize(server_->Url(std::string("x/") + c.modes + "/file.bin")),
                  c.size)
            << c.modes;
        std::vector<std::string> asked;
        for (const ServedRequest& request : server_->Requests()) {
            asked.push_back(request.method + " " + request.range);
            EXPECT_EQ(BackendOf(request), asked.size() < 3 ? "WinHttp" : "Internet");
        }
        EXPECT_EQ(asked, c.asked) << c.modes;
    }
}

TEST_F(RangeRequestTest, SilentConnectionEndsTheReadOnBothBackEnds) {
    // The server stops for 20 s after 1000 bytes, far longer than the 1 s time-out.
    for (int type : {CBaseRequest::kWinHttp, CBaseRequest::kInternet}) {
        std::unique_ptr<CBaseRequest> request(CBaseRequest::CreateInstance(type));
        request->SetReceiveTimeout(1000);
        request->SetExtraHeaders(L"Range:bytes=0-3999");
        ASSERT_TRUE(
            request->RequestUrl(server_->Url("x/stall:0:1000:20:1," + UniqueTag() + "/file.bin")));
        std::string body;
        char buffer[1000];
        int count = 0;
        while ((count = request->HttpRead(buffer, sizeof(buffer))) > 0) {
            body.append(buffer, count);
        }
        EXPECT_EQ(count, -1) << request->GetTypeName();
        EXPECT_EQ(body.size(), 1000u) << request->GetTypeName();
    }
}

TEST(PlainOnlyServerTest, OnlyAnHttpUrlFallsBackToPort80) {
    LocalServer server;
    LocalServerOptions options;
    options.address = kPlainOnlyAddress;
    options.https = false;
    std::string error;
    ASSERT_TRUE(server.Start(options, error)) << error;
    ASSERT_TRUE(MakeTestFile(server.RootWindows() + L"plain.bin", 5000, 3));

    // An "https://" URL is never fetched in the clear.
    CWinHttpRequest secureOnly;
    EXPECT_FALSE(secureOnly.RequestUrl(server.Url("plain.bin")));
    EXPECT_EQ(GetRemoteFileSize(server.Url("plain.bin")), 0);
    EXPECT_TRUE(server.Requests().empty());

    CWinHttpRequest winHttp;
    winHttp.SetExtraHeaders(L"Range:bytes=0-99");
    ASSERT_TRUE(winHttp.RequestUrl(server.PlainUrl("plain.bin")));
    EXPECT_EQ(ReadBody(winHttp).size(), 100u);
    auto requests = server.WaitForRequests(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].port, 80);

    // WinINet always asks for TLS on port 443, whatever the URL says.
    const LogMark mark;
    CInternetRequest internet;
    EXPECT_FALSE(internet.RequestUrl(server.PlainUrl("plain.bin")));
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(CountOccurrences(mark.NewText(),
                               "] [CInternetRequest::SendRequest]call HttpSendRequest fail "),
              2u);

    // The size query takes the same way: WinHTTP's HEAD on port 80.
    server.ClearRequests();
    EXPECT_EQ(GetRemoteFileSize(server.PlainUrl("plain.bin")), 5000);
    requests = server.WaitForRequests(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "HEAD");
    EXPECT_EQ(requests[0].port, 80);
}

TEST(UntrustedServerTest, HttpsUrlFailsWithoutAnyRequestInTheClear) {
    LocalServer server;
    LocalServerOptions options;
    options.address = kUntrustedAddress;
    options.untrusted = true;  // port 80 is served too, and must stay unasked
    std::string error;
    ASSERT_TRUE(server.Start(options, error)) << error;
    ASSERT_TRUE(MakeTestFile(server.RootWindows() + L"file.bin", 5000, 5));
    for (int type : {CBaseRequest::kWinHttp, CBaseRequest::kInternet}) {
        std::unique_ptr<CBaseRequest> request(CBaseRequest::CreateInstance(type));
        EXPECT_FALSE(request->RequestUrl(server.Url("file.bin"))) << request->GetTypeName();
    }
    ScopedTempFolder folder(L"http-untrusted");
    EXPECT_EQ(RunDownload(server.Url("file.bin"), folder.path() + L"file.bin", 5), -3);
    EXPECT_TRUE(server.Requests().empty());
}

TEST(ContentLengthTest, OnlyOneNonNegativeDecimalNumberIsALength) {
    int64_t value = -1;
    EXPECT_TRUE(ParseContentLength(L"0", value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(ParseContentLength(L" 4294967296 ", value));
    EXPECT_EQ(value, 4294967296LL);
    EXPECT_TRUE(ParseContentLength(L"9223372036854775807", value));
    EXPECT_EQ(value, INT64_MAX);
    value = 7;
    for (const wchar_t* bad : {L"", L" ", L"-1", L"+1", L"12a", L"1 2", L"0x10", L"1.5",
                               L"9223372036854775808", L"99999999999999999999"}) {
        EXPECT_FALSE(ParseContentLength(bad, value)) << testing::PrintToString(std::wstring(bad));
    }
    EXPECT_EQ(value, 7);  // untouched by a failure
}
