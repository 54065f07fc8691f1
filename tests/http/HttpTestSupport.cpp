#include "HttpTestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>

#include "common/Format.h"
#include "common/WinHandle.h"
#include "support/TestFolders.h"

bool StartSuiteServer(const char* address, std::unique_ptr<LocalServer>& server) {
    server = std::make_unique<LocalServer>();
    LocalServerOptions options;
    options.address = address;
    std::string error;
    const bool started = server->Start(options, error);
    EXPECT_TRUE(started) << error;
    return started;
}

bool MakeTestFile(const std::wstring& path, int64_t size, uint32_t seed) {
    UniqueFile file(::_wfopen(path.c_str(), L"wb"));
    if (!file) {
        return false;
    }
    uint64_t state = 0x9E3779B97F4A7C15ull ^ (static_cast<uint64_t>(seed) << 17) ^ 1;
    std::vector<uint64_t> block(1 << 17);  // 1 MiB
    for (int64_t done = 0; done < size;) {
        for (uint64_t& word : block) {
            state ^= state >> 12;
            state ^= state << 25;
            state ^= state >> 27;
            word = state * 0x2545F4914F6CDD1Dull;
        }
        const size_t count =
            static_cast<size_t>(std::min<int64_t>(size - done, block.size() * sizeof(uint64_t)));
        if (std::fwrite(block.data(), 1, count, file.get()) != count) {
            return false;
        }
        done += count;
    }
    return std::fclose(file.release()) == 0;
}

std::string CompareFiles(const std::wstring& expected, const std::wstring& actual) {
    UniqueFile a(::_wfopen(expected.c_str(), L"rb"));
    UniqueFile b(::_wfopen(actual.c_str(), L"rb"));
    if (!a || !b) {
        return !a ? "cannot open the expected file" : "cannot open the downloaded file";
    }
    std::vector<char> bufferA(1 << 20), bufferB(1 << 20);
    int64_t offset = 0;
    for (;;) {
        const size_t countA = std::fread(bufferA.data(), 1, bufferA.size(), a.get());
        const size_t countB = std::fread(bufferB.data(), 1, bufferB.size(), b.get());
        const size_t common = std::min(countA, countB);
        for (size_t i = 0; i < common; ++i) {
            if (bufferA[i] != bufferB[i]) {
                return FormatString("first difference at byte %I64d", offset + int64_t(i));
            }
        }
        if (countA != countB) {
            return FormatString("sizes differ: %I64d vs %I64d bytes so far",
                                offset + int64_t(countA), offset + int64_t(countB));
        }
        if (countA == 0) {
            return std::string();
        }
        offset += countA;
    }
}

void EventRecorder::Callback(int event, int64_t a, int64_t b, void* userData) {
    auto* recorder = static_cast<EventRecorder*>(userData);
    std::lock_guard<std::mutex> lock(recorder->lock_);
    recorder->events_.push_back({event, a, b});
}

std::vector<RecordedEvent> EventRecorder::Events() const {
    std::lock_guard<std::mutex> lock(lock_);
    return events_;
}

std::vector<int64_t> EventRecorder::Progress() const {
    std::vector<int64_t> values;
    for (const RecordedEvent& e : Events()) {
        if (e.event == kDownloadEventProgress) {
            values.push_back(e.a);
        }
    }
    return values;
}

PauseFunction PauseRecorder::Function() {
    return [this](unsigned ms) {
        {
            std::lock_guard<std::mutex> lock(lock_);
            pauses_.push_back(ms);
        }
        ::Sleep(std::min(ms, 50u));
    };
}

std::vector<unsigned> PauseRecorder::Pauses() const {
    std::lock_guard<std::mutex> lock(lock_);
    return pauses_;
}

int RunDownload(const std::wstring& url, const std::wstring& savePath, int threads,
                EventRecorder* recorder, PauseRecorder* pauses, unsigned receiveTimeoutMs) {
    EventRecorder local;
    EventRecorder* events = recorder != nullptr ? recorder : &local;
    PauseRecorder localPauses;
    DownloadParam param;
    param.pause = (pauses != nullptr ? pauses : &localPauses)->Function();
    param.receiveTimeoutMs = receiveTimeoutMs;
    param.nDownloadThread = threads;
    param.pUserData = events;
    param.strDownloadUrl = url;
    param.strSavePath = savePath;
    const bool ok = StartHttpDownload(param, &EventRecorder::Callback);
    int result = -100;
    for (const RecordedEvent& e : events->Events()) {
        if (e.event == kDownloadEventEnd) {
            result = static_cast<int>(e.a);
        }
    }
    EXPECT_EQ(ok, result == 0);
    return result;
}

std::wstring TestLogPath() {
    // Where the test executables' main function points the log.
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"tandrel-tests\\logs\\tests.log";
}

LogMark::LogMark() : offset_(ReadFileBytes(TestLogPath()).size()) {}

std::string LogMark::NewText() const {
    const std::string text = ReadFileBytes(TestLogPath());
    // A smaller file has rolled over to its backup since the mark: all of it is new.
    return text.size() >= offset_ ? text.substr(offset_) : text;
}

size_t CountOccurrences(const std::string& text, const std::string& pattern) {
    size_t count = 0;
    for (size_t at = text.find(pattern); at != std::string::npos;
         at = text.find(pattern, at + pattern.size())) {
        ++count;
    }
    return count;
}

std::string BackendOf(const ServedRequest& request) {
    const std::string names = "," + request.headerNames + ",";
    if (names.find(",User-Agent,") != std::string::npos) {
        return "Internet";
    }
    if (names.find(",Pragma,") != std::string::npos) {
        return "WinHttp";
    }
    return "?";
}

std::vector<ServedRequest> GetRequests(const std::vector<ServedRequest>& all) {
    std::vector<ServedRequest> gets;
    for (const ServedRequest& request : all) {
        if (request.method == "GET") {
            gets.push_back(request);
        }
    }
    return gets;
}

std::string UniqueTag() {
    static std::atomic<int> counter{0};
    return FormatString("tag:%lu-%d", ::GetCurrentProcessId(), counter++);
}
