#include "FlowTestLog.h"

#include <windows.h>

#include "support/TestFolders.h"

namespace {

std::wstring TestLogPath() {
    // Where the test executables' main function points the log.
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"tandrel-tests\\logs\\tests.log";
}

}  // namespace

LogTail::LogTail() : offset_(ReadFileBytes(TestLogPath()).size()) {}

std::string LogTail::NewText() const {
    const std::string text = ReadFileBytes(TestLogPath());
    return text.size() >= offset_ ? text.substr(offset_) : text;
}

std::string FirstMissingInOrder(const std::string& text, const std::vector<std::string>& markers) {
    size_t at = 0;
    for (const std::string& marker : markers) {
        at = text.find(marker, at);
        if (at == std::string::npos) {
            return marker;
        }
        at += marker.size();
    }
    return std::string();
}
