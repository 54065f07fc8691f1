#include "SetupOptions.h"

#include <cwchar>

namespace {

bool ReadNumber(const wchar_t* name, unsigned long& value) {
    wchar_t text[32] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, text, 32);
    if (length == 0 || length >= 32) {
        return false;
    }
    wchar_t* end = nullptr;
    const unsigned long parsed = std::wcstoul(text, &end, 10);
    if (end == text) {
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace

SetupOptions ReadSetupOptions() {
    SetupOptions options;
    unsigned long number = 0;
    if (ReadNumber(L"REPAVIO_SETUP_DURATION_MS", number)) {
        options.durationMs = number;
    }
    if (ReadNumber(L"REPAVIO_SETUP_STEP", number) && number >= 1 && number <= 100) {
        options.stepPercent = static_cast<int>(number);
    }
    if (ReadNumber(L"REPAVIO_SETUP_FAIL_AT", number) && number <= 100) {
        options.fail = true;
        options.failAtPercent = static_cast<int>(number);
    }
    if (ReadNumber(L"REPAVIO_SETUP_EXIT_CODE", number)) {
        options.hasExitCode = true;
        options.exitCode = number;
    }
    if (ReadNumber(L"REPAVIO_SETUP_LINGER_MS", number)) {
        options.lingerMs = number;
    }
    return options;
}
