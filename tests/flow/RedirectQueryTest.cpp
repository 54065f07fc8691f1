// The download-address query against the local stand-in of the API: which answers give a new
// download address, that a redirect is read and never followed, and what the API receives.
#include <gtest/gtest.h>

#include <memory>

#include "AddressApiServer.h"
#include "FlowTestLog.h"
#include "common/TextConvert.h"
#include "Window/RedirectQuery.h"

namespace {

constexpr char kApiAddress[] = "127.0.0.30";
constexpr wchar_t kApiHost[] = L"127.0.0.30";
constexpr wchar_t kSilentHost[] = L"127.0.0.39";  // nothing ever listens here
constexpr wchar_t kApiUrl[] = L"http://127.0.0.30/api/download?key=1";

class RedirectQueryTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<AddressApiServer>();
        std::string error;
        ASSERT_TRUE(server_->Start(kApiAddress, error)) << error;
    }
    static void TearDownTestSuite() { server_.reset(); }

    static std::unique_ptr<AddressApiServer> server_;
};
std::unique_ptr<AddressApiServer> RedirectQueryTest::server_;

struct RedirectCase {
    const char* what;
    std::string path;  // as SplitHostAndPath gives it: no leading slash
    bool result;
    std::string url;  // empty: the URL stays unchanged
};

}  // namespace

TEST_F(RedirectQueryTest, AnswersOfTheApi) {
    const std::string longTarget = "http://127.0.0.10/" + std::string(1000, 'a') + ".exe";
    // Redirect targets on the API itself: a followed redirect would show as a second request.
    const RedirectCase cases[] = {
        {"302 gives its location", "answer/302?location=http://127.0.0.30/answer/200/setup.exe",
         true, "http://127.0.0.30/answer/200/setup.exe"},
        {"302 to a path on the API's host", "answer/302?location=/get?from=http://x/", true,
         "http://127.0.0.30/get?from=http://x/"},
        {"302 relative to the requested folder", "dl/answer/302?location=setup.exe", true,
         "http://127.0.0.30/dl/answer/setup.exe"},
        {"302 with a long location", "answer/302?location=" + longTarget, true, longTarget},
        {"302 without a location", "answer/302?location=", false, ""},
        {"301 is not taken", "answer/301?location=http://127.0.0.30/answer/200/setup.exe", false,
         ""},
        {"200", "answer/200", false, ""},
        {"404", "answer/404", false, ""},
        {"no answer keeps the API's address", "answer/close", true, ""},
    };
    for (const RedirectCase& c : cases) {
        SCOPED_TRACE(c.what);
        server_->ClearRequests();
        std::wstring url = kApiUrl;
        EXPECT_EQ(c.result, GetRedirectUrl(kApiHost, AnsiToWide(c.path), url));
        EXPECT_EQ(c.url.empty() ? kApiUrl : AnsiToWide(c.url), url);

        const std::vector<ApiRequest> requests = server_->Requests();
        ASSERT_EQ(1u, requests.size());
        EXPECT_EQ("GET", requests[0].method);
        EXPECT_EQ("/" + c.path, requests[0].path);
        EXPECT_EQ("127.0.0.30", requests[0].host);  // port 80: no port in the Host header
        EXPECT_EQ("", requests[0].userAgent);
    }
}

TEST_F(RedirectQueryTest, MissingAnswerIsLoggedWithItsError) {
    LogTail log;
    std::wstring url = kApiUrl;
    EXPECT_TRUE(GetRedirectUrl(kApiHost, L"answer/close", url));
    const std::string text = log.NewText();
    const size_t at = text.find("Error ");
    ASSERT_NE(std::string::npos, at) << text;
    EXPECT_GT(std::atoi(text.c_str() + at + 6), 0) << text;
    EXPECT_NE(std::string::npos, text.find(" has occurred.\n", at)) << text;
}

TEST(RedirectQueryNoServerTest, UnreachableApiGivesFalse) {
    const wchar_t* const hosts[] = {kSilentHost, L""};
    for (const wchar_t* host : hosts) {
        std::wstring url = kApiUrl;
        EXPECT_FALSE(GetRedirectUrl(host, L"api/download", url));
        EXPECT_EQ(kApiUrl, url);
    }
}
