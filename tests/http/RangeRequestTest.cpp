// The range request objects and the remote size query against the local test server: TLS
// first then plain, the two back-ends' ports, and where the size comes from.
#include <gtest/gtest.h>

#include <memory>

#include "HttpTestSupport.h"
#include "http/tool/BaseRequest.h"
#include "http/tool/ContentLength.h"
#include "http/tool/InternetRequest.h"
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
    const auto requests = server_->Requests();
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
    const auto requests = server_->Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "HEAD");
    EXPECT_EQ(requests[0].port, 443);
    EXPECT_EQ(BackendOf(requests[0]), "WinHttp");
}

TEST_F(RangeRequestTest, SizeFallsBackToWinInetGetWhenHeadHasNoLength) {
    const LogMark mark;
    EXPECT_EQ(GetRemoteFileSize(server_->Url("x/no-length-head/file.bin")), kFileSize);
    const auto requests = server_->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "HEAD");
    EXPECT_EQ(BackendOf(requests[0]), "WinHttp");
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_EQ(BackendOf(requests[1]), "Internet");
    EXPECT_NE(mark.NewText().find("[CWinHttpRequest::GetUrlFileSize]call WinHttpQueryHeaders fail "
                                  "12150, "),
              std::string::npos);
}

TEST_F(RangeRequestTest, SizeIsZeroWithoutAnyLengthOrForAnErrorPage) {
    EXPECT_EQ(GetRemoteFileSize(server_->Url("x/no-length/file.bin")), 0);
    EXPECT_EQ(server_->Requests().size(), 2u);
    // The error page's own length is not the file's size.
    EXPECT_EQ(GetRemoteFileSize(server_->Url("x/status:404/file.bin")), 0);
    EXPECT_EQ(GetRemoteFileSize(server_->Url("x/status:500/file.bin")), 0);
    int64_t size = -1;
    EXPECT_FALSE(QueryRemoteFileSize(server_->Url("x/status:500/file.bin"), size));
}

TEST(PlainOnlyServerTest, WinHttpFallsBackToPort80AndWinInetFailsBothAttempts) {
    LocalServer server;
    LocalServerOptions options;
    options.address = kPlainOnlyAddress;
    options.https = false;
    std::string error;
    ASSERT_TRUE(server.Start(options, error)) << error;
    ASSERT_TRUE(MakeTestFile(server.RootWindows() + L"plain.bin", 5000, 3));
    const std::wstring url = L"https://127.0.0.21/plain.bin";
    const LogMark mark;

    CWinHttpRequest winHttp;
    winHttp.SetExtraHeaders(L"Range:bytes=0-99");
    ASSERT_TRUE(winHttp.RequestUrl(url));
    EXPECT_EQ(ReadBody(winHttp).size(), 100u);
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].port, 80);

    CInternetRequest internet;
    EXPECT_FALSE(internet.RequestUrl(url));
    EXPECT_EQ(server.Requests().size(), 1u);  // both of its attempts went to port 443

    const std::string log = mark.NewText();
    EXPECT_EQ(
        CountOccurrences(log, "] [CWinHttpRequest::SendRequest]call WinHttpSendRequest fail "), 1u);
    EXPECT_EQ(CountOccurrences(log, "] [CInternetRequest::SendRequest]call HttpSendRequest fail "),
              2u);

    // The size query takes the same way: WinHTTP's HEAD on port 80.
    server.ClearRequests();
    EXPECT_EQ(GetRemoteFileSize(url), 5000);
    requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "HEAD");
    EXPECT_EQ(requests[0].port, 80);
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
