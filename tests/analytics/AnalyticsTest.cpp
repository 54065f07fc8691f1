// Usage analytics under Wine: the client identity in the prefix's registry, the exact report
// that reaches the collector with its headers and log lines, reports that cannot be delivered,
// and two reports at once. The sender is process-wide, so each case runs in a child process.
#include <windows.h>

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <regex>
#include <set>

#include "LocalServer.h"
#include "common/GA.h"
#include "common/Log.h"
#include "common/StringUtil.h"
#include "common/TextConvert.h"
#include "common/WinHandle.h"
#include "support/TestFolders.h"

namespace {

constexpr char kCollectorAddress[] = "127.0.0.12";
constexpr wchar_t kIdentityKey[] = L"SOFTWARE\\WOW6432Node\\Tandrel\\TandrelDown";
constexpr wchar_t kTitle[] = L"Orbitane R\u00e9pavio \u4e2d";
// The title through the ANSI code page (1252 here): the CJK character is not in it.
constexpr char kCategory[] = "Orbitane R\xc3\xa9pavio ? (Windows version)";

struct Report {
    std::string path;
    std::string query;
    std::string body;
    std::vector<std::string> headers;  // "Name: value"
};

// Waits (up to 30 s) for |count| reports and returns all the collector has recorded.
std::vector<Report> WaitForReports(const LocalServer& collector, size_t count) {
    std::vector<Report> reports;
    for (int attempt = 0; attempt < 300 && reports.size() < count; ++attempt, ::Sleep(100)) {
        std::vector<std::string> lines;
        SplitAll(ReadFileBytes(collector.RequestLogPath()), "\n", lines);
        reports.clear();
        for (const std::string& line : lines) {
            rapidjson::Document record;
            if (record.Parse(line.c_str()).HasParseError()) {
                continue;
            }
            Report report{record["path"].GetString(),
                          record["query"].GetString(),
                          record["body"].GetString(),
                          {}};
            for (const auto& header : record["headers"].GetArray()) {
                report.headers.push_back(std::string(header[0].GetString()) + ": " +
                                         header[1].GetString());
            }
            reports.push_back(report);
        }
    }
    return reports;
}

// The report text for one event, laid out as the pretty writer does.
std::string ExpectedReport(const std::string& id, const std::string& event) {
    return "{\n    \"client_id\": \"" + id +
           "\",\n    \"user_properties\": {\n        \"uid\": {\n            \"value\": \"" + id +
           "\"\n        }\n    },\n    \"events\": [\n        {\n            \"name\": \"" + event +
           "\",\n            \"params\": {\n                \"event_category\": \"" + kCategory +
           "\",\n                \"event_label\": \"" + id +
           "\"\n            }\n        }\n    ]\n}";
}

void DeleteIdentityKey() {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kIdentityKey);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kIdentityKey);
}

void StoreIdentity(const std::wstring& text) {
    HKEY raw = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kIdentityKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    UniqueRegKey key(raw);
    ::RegSetValueExW(key.get(), L"GUID", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// The stored identity's bytes as text; |size| and |type| as the registry reports them.
std::string ReadIdentity(DWORD& size, DWORD& type) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kIdentityKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) {
        return std::string();
    }
    UniqueRegKey key(raw);
    wchar_t buffer[512] = {};
    size = sizeof(buffer) - sizeof(wchar_t);
    type = 0;
    if (::RegQueryValueExW(key.get(), L"GUID", nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                           &size) != ERROR_SUCCESS) {
        return std::string();
    }
    return WideToAnsi(buffer);
}

// "%08X-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X": only the third group is lower case.
bool IsGuidText(const std::string& id) {
    return std::regex_match(
        id, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-[0-9a-f]{4}-[0-9A-F]{4}-[0-9A-F]{12}"));
}

// Child arguments are "<folder>|<answer>": the folder gets the identity file and the log;
// the collector answers as the answer says (204 when empty).
std::wstring Argument(const std::wstring& folder, const char* answer = "") {
    return L"\"" + folder + L"|" + AnsiToWide(answer) + L"\"";
}

// The sender of a child process, set up as the main window does, logging into |folder|.
CGA* PrepareSender(const std::wstring& argument, std::wstring& folder) {
    std::wstring answer;
    SplitFirst(argument, L"|", folder, answer);
    LogInit(L"ga.log", folder.c_str());
    CGA* ga = CGA::GetInstance();
    ga->SetCollectUrl(CGA::BuildCollectUrl() + (answer.empty() ? L"" : L"&answer=" + answer));
    ga->SetEventCategory(CGA::EventCategoryFor(kTitle));
    return ga;
}

TANDREL_CHILD_SCENARIO(ga_identity) {
    std::wstring folder;
    const std::string id = PrepareSender(argument, folder)->GetClientId();
    return WriteFileBytes(folder + L"identity.txt", id) ? 0 : 1;
}

TANDREL_CHILD_SCENARIO(ga_send) {
    std::wstring folder;
    return PrepareSender(argument, folder)->SendStartInstall() ? 0 : 1;
}

// Two reports on their own threads; the child lives until both have logged their status.
TANDREL_CHILD_SCENARIO(ga_two_threads) {
    std::wstring folder;
    PrepareSender(argument, folder);
    StartGAEventThread(kGAEventStartInstall);
    StartGAEventThread(kGAEventDownloaderInstalled);
    for (int attempt = 0; attempt < 300; ++attempt, ::Sleep(100)) {
        std::vector<std::string> lines;
        SplitAll(ReadFileBytes(folder + L"ga.log"), "request ret Code:", lines);
        if (lines.size() == 3) {
            return 0;
        }
    }
    return 1;
}

class AnalyticsTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        collector_ = std::make_unique<LocalServer>();
        LocalServerOptions options;
        options.address = kCollectorAddress;
        options.script = "collector_server.py";
        std::string error;
        ASSERT_TRUE(collector_->Start(options, error)) << error;
    }
    static void TearDownTestSuite() { collector_.reset(); }
    void SetUp() override { collector_->ClearRequests(); }

    std::string ChildIdentity() {
        ::DeleteFileW((folder_.path() + L"identity.txt").c_str());
        EXPECT_EQ(RunChildScenario("ga_identity", Argument(folder_.path())), 0);
        return ReadFileBytes(folder_.path() + L"identity.txt");
    }
    std::string Log() const { return ReadFileBytes(folder_.path() + L"ga.log"); }

    static std::unique_ptr<LocalServer> collector_;
    ScopedTempFolder folder_{L"analytics"};
};
std::unique_ptr<LocalServer> AnalyticsTest::collector_;

}  // namespace

TEST_F(AnalyticsTest, IdentityIsCreatedKeptAcceptedOrReplaced) {
    struct Case {
        const wchar_t* stored;  // null: no key at all; "keep": what the last case left
        bool fresh;             // a new identity is expected (and stored)
    };
    const Case cases[] = {
        {nullptr, true},    {L"keep", false},   {L"abc-123", false},
        {L"abc 123", true}, {L"abc_123", true}, {L"", true},
    };
    std::string previous;
    for (const Case& c : cases) {
        if (c.stored == nullptr) {
            DeleteIdentityKey();
        } else if (std::wstring(c.stored) != L"keep") {
            StoreIdentity(c.stored);
        }
        const std::string before = c.stored == nullptr ? "" : WideToAnsi(c.stored);
        const std::string id = ChildIdentity();
        DWORD size = 0;
        DWORD type = 0;
        EXPECT_EQ(ReadIdentity(size, type), id);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        if (c.fresh) {
            EXPECT_TRUE(IsGuidText(id)) << id;
            EXPECT_EQ(size, 72u);  // 36 characters, no terminator
            EXPECT_NE(id, previous);
        } else {
            EXPECT_EQ(id, before == "keep" ? previous : before);
        }
        previous = id;
    }
}

TEST_F(AnalyticsTest, ReportTextHeadersAndLogLinesOfOneEvent) {
    DeleteIdentityKey();
    ASSERT_EQ(RunChildScenario("ga_send", Argument(folder_.path())), 0);
    DWORD size = 0;
    DWORD type = 0;
    const std::string id = ReadIdentity(size, type);
    ASSERT_TRUE(IsGuidText(id)) << id;
    const auto reports = WaitForReports(*collector_, 1);
    ASSERT_EQ(reports.size(), 1u);
    const std::string json = ExpectedReport(id, "Downloader_Start_Install");
    EXPECT_EQ(reports[0].body, json);

    const std::string url = WideToAnsi(CGA::BuildCollectUrl());
    EXPECT_EQ(url, "https://127.0.0.12" + reports[0].path + "?" + reports[0].query);
    EXPECT_EQ(reports[0].path, "/mp/collect");
    EXPECT_EQ(reports[0].query.rfind("measurement_id=G-", 0), 0u) << reports[0].query;
    EXPECT_NE(reports[0].query.find("&api_secret="), std::string::npos);
    const std::set<std::string> headers(reports[0].headers.begin(), reports[0].headers.end());
    for (const char* header :
         {"Content-Type: application/json; charset=utf-8", "Accept: */*", "Connection: Keep-Alive",
          "Accept-Language: zh-CN,zh;q=0.9",
          "User-Agent: Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like "
          "Gecko) Chrome/80.0.4044.92 Safari/537.36"}) {
        EXPECT_EQ(headers.count(header), 1u) << header;
    }
    // The log lines are the report's only record on the machine: in this order.
    const std::string log = Log();
    size_t at = 0;
    for (const std::string& line :
         {"tran code guid:" + id, "request url: " + url, "request info: " + json,
          std::string("request ret Code: 204")}) {
        at = log.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << "\nin\n" << log;
    }
}

TEST_F(AnalyticsTest, UndeliveredReportsStillCountAsSent) {
    const struct {
        const char* answer;
        int status;
    } cases[] = {{"404", 404}, {"500", 500}, {"silent", 0}};
    for (const auto& c : cases) {
        collector_->ClearRequests();
        ScopedTempFolder folder(L"analytics-answer");
        // The silent collector holds the request for minutes: only the client's time-outs
        // (5 s) end the wait, well within the child's limit.
        EXPECT_EQ(RunChildScenario("ga_send", Argument(folder.path(), c.answer), 30000), 0)
            << c.answer;
        EXPECT_EQ(WaitForReports(*collector_, 1).size(), 1u) << c.answer;
        EXPECT_NE(ReadFileBytes(folder.path() + L"ga.log")
                      .find("request ret Code: " + std::to_string(c.status)),
                  std::string::npos)
            << c.answer;
    }
}

TEST_F(AnalyticsTest, TwoReportsAtOnceBothArriveIntact) {
    StoreIdentity(L"abc-123");
    ASSERT_EQ(RunChildScenario("ga_two_threads", Argument(folder_.path())), 0);
    const auto reports = WaitForReports(*collector_, 2);
    ASSERT_EQ(reports.size(), 2u);
    const std::set<std::string> bodies = {reports[0].body, reports[1].body};
    EXPECT_EQ(bodies, (std::set<std::string>{ExpectedReport("abc-123", "Downloader_Start_Install"),
                                             ExpectedReport("abc-123", "Downloader_Installed")}));
}
