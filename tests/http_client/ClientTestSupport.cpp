#include "ClientTestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

#include "common/StringUtil.h"
#include "common/TextConvert.h"
#include "support/TestFolders.h"

namespace {

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16));
    }
    return bytes;
}

std::vector<std::vector<std::string>> LogRecords(const LocalServer& server) {
    std::vector<std::string> lines;
    SplitAll(ReadFileBytes(server.RequestLogPath()), "\n", lines);
    std::vector<std::vector<std::string>> records;
    for (const std::string& line : lines) {
        std::vector<std::string> fields;
        SplitAll(line, "\t", fields);
        records.push_back(fields);
    }
    return records;
}

}  // namespace

bool StartScriptedServer(const char* address, std::unique_ptr<LocalServer>& server,
                         bool untrusted) {
    server = std::make_unique<LocalServer>();
    LocalServerOptions options;
    options.address = address;
    options.script = "scripted_server.py";
    options.untrusted = untrusted;
    std::string error;
    const bool started = server->Start(options, error);
    EXPECT_TRUE(started) << error;
    return started;
}

std::wstring PlainUrl(const char* address, const std::string& path) {
    return AnsiToWide(std::string("http://") + address + path);
}

std::wstring TlsUrl(const char* address, const std::string& path) {
    return AnsiToWide(std::string("https://") + address + path);
}

std::vector<RecordedRequest> RecordedRequests(const LocalServer& server) {
    std::vector<RecordedRequest> requests;
    for (const auto& fields : LogRecords(server)) {
        if (fields.size() == 6 && fields[0] == "req") {
            requests.push_back({atoi(fields[1].c_str()), atoi(fields[2].c_str()), fields[3],
                                fields[4], FromHex(fields[5])});
        }
    }
    return requests;
}

std::string ConnectionBytes(const LocalServer& server, int connection) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (const auto& fields : LogRecords(server)) {
            if (fields.size() == 4 && fields[0] == "conn" &&
                atoi(fields[1].c_str()) == connection) {
                return FromHex(fields[3]);
            }
        }
        ::Sleep(100);
    }
    return std::string();
}

std::vector<std::string> HeaderLines(const std::string& request) {
    std::vector<std::string> lines;
    SplitAll(request.substr(0, request.find("\r\n\r\n")), "\r\n", lines);
    if (!lines.empty()) {
        lines.erase(lines.begin());
    }
    return lines;
}

std::string ScriptedBody(size_t length) {
    std::string body(length, '\0');
    for (size_t i = 0; i < length; ++i) {
        body[i] = static_cast<char>(i % 251);
    }
    return body;
}

ClientPtr MakeClient(int kind) {
    IHttpBase* client = nullptr;
    EXPECT_TRUE(CreateHttpInstance(&client, kind));
    return ClientPtr(client);
}

const char* KindName(int kind) {
    return kind == kHttpClientSocket    ? "socket"
           : kind == kHttpClientWininet ? "WinINet"
                                        : "WinHTTP";
}

void RecordingObserver::OnProgress(int context, int event, double total, double done) {
    events_.push_back({context, event, total, done});
    if (event == kHttpEventProgress) {
        ++progressCount_;
    }
}

bool RecordingObserver::IsCancelled() {
    return cancelAfter_ >= 0 && progressCount_ >= cancelAfter_;
}

std::vector<int> RecordingObserver::Shape() const {
    std::vector<int> shape;
    for (const ObservedEvent& e : events_) {
        if (shape.empty() || e.event != kHttpEventProgress || shape.back() != kHttpEventProgress) {
            shape.push_back(e.event);
        }
    }
    return shape;
}

BufferResult DownloadBuffer(IHttpBase& client, const std::wstring& url) {
    BufferResult result;
    char* buffer = nullptr;
    int length = -1;
    result.ok = client.DownloadToBuffer(url.c_str(), &buffer, &length);
    if (result.ok) {
        result.body.assign(buffer, static_cast<size_t>(length));
    }
    std::free(buffer);
    result.code = client.GetLastErrorCode();
    return result;
}

void ExpectReturnsWithin(const std::function<void()>& work, unsigned limitMs) {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([work, done] {
        work();
        done->set_value();
    }).detach();
    if (finished.wait_for(std::chrono::milliseconds(limitMs)) != std::future_status::ready) {
        std::fprintf(stderr, "FAILED: still waiting after %u ms; ending the test program\n",
                     limitMs);
        std::fflush(stderr);
        std::_Exit(3);
    }
}
