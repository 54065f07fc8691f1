#include "common/ProgressFile.h"

#include <windows.h>

#include <climits>

#include "common/WinHandle.h"

namespace {

// Only the start of the file matters; a longer file is a malformed one.
constexpr DWORD kProgressBytes = 10;

}  // namespace

int ParseProgressText(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) {
            magnitude = static_cast<long long>(INT_MAX) + 1;  // already out of range; stop growing
        }
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX) {
        return INT_MAX;
    }
    if (signedValue < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(signedValue);
}

bool ReadProgressValue(const std::wstring& path, int& value) {
    // The installer may be rewriting or replacing the file at this very moment: share everything
    // so that this reader never makes its write fail.
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    char buffer[kProgressBytes + 1] = {};
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer, kProgressBytes, &read, nullptr)) {
        return false;
    }
    buffer[read] = '\0';
    value = ParseProgressText(buffer);
    return true;
}

int MapInstallProgress(int ratio, int value) {
    const int held = value < 0 ? 0 : (value > 100 ? 100 : value);
    return ratio + (100 - ratio) * held / 100;
}
