#include "common/Log.h"

#include <windows.h>

#include <spdlog/logger.h>
#include <spdlog/pattern_formatter.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "common/FaultGuard.h"
#include "common/FileUtil.h"
#include "common/Format.h"
#include "common/PathUtil.h"
#include "common/RollingFileSink.h"
#include "common/SystemInfo.h"
#include "common/TextConvert.h"

namespace {

constexpr long long kMaxLogBytes = 10 * 1024 * 1024;
constexpr char kFatalText[] = "***Fatal Error Check,Please Fix it!***";
constexpr wchar_t kFatalTextW[] = L"***Fatal Error Check,Please Fix it!***";

// Developer switches, read by every thread that logs.
std::atomic<bool> g_alwaysLocate{false};
std::atomic<bool> g_debuggerEcho{false};

// The log's objects are created on first use and intentionally never destroyed: detached worker
// threads may still log while exit() runs the destructors of static objects, so nothing they
// reach may be one of those.
std::mutex& SetupLock() {
    static std::mutex* const lock = new std::mutex;
    return *lock;
}

// Set once under SetupLock and never replaced; read without the lock afterwards.
std::shared_ptr<spdlog::logger>& Logger() {
    static std::shared_ptr<spdlog::logger>* const logger = new std::shared_ptr<spdlog::logger>;
    return *logger;
}

// The executable's file name cut before its first dot, computed once.
const std::string& LogName() {
    static const std::string* const name = new std::string([] {
        HMODULE self = nullptr;
        ::GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&LogName), &self);
        char path[MAX_PATH + 1] = {};
        ::GetModuleFileNameA(self, path, MAX_PATH);
        return GetFileTitle(path, false);
    }());
    return *name;
}

void InitLocked(const wchar_t* fileName, const wchar_t* folder) {
    if (Logger()) {
        return;
    }
    std::wstring dir = (folder != nullptr && *folder != L'\0')
                           ? std::wstring(folder)
                           : FormatString(L"%s\\Log", GetModuleFolder().c_str());
    CreateFolderTree(dir);
    std::wstring name = (fileName != nullptr && *fileName != L'\0')
                            ? std::wstring(fileName)
                            : FormatString(L"%s.log", AnsiToWide(LogName()).c_str());
    const std::wstring path = FormatString(L"%s\\%s", dir.c_str(), name.c_str());

    auto sink = std::make_shared<RollingFileSink>(path, kMaxLogBytes);
    // Time stamp, blank, message, line break, then the blank that opens the next record.
    sink->set_formatter(std::make_unique<spdlog::pattern_formatter>(
        "%Y-%m-%d %H:%M:%S,%e %v", spdlog::pattern_time_type::local, "\n "));
    auto logger = std::make_shared<spdlog::logger>(LogName(), sink);
    logger->set_level(spdlog::level::debug);
    logger->flush_on(spdlog::level::debug);
    logger->set_error_handler([](const std::string&) {});
    Logger() = logger;
}

const char* BareFileName(const char* path) {
    if (path == nullptr) {
        return "";
    }
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/') {
            name = p + 1;
        }
    }
    return name;
}

const wchar_t* BareFileName(const wchar_t* path) {
    if (path == nullptr) {
        return L"";
    }
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/') {
            name = p + 1;
        }
    }
    return name;
}

// Formats under the fault guard; false when an argument made the C runtime fault.
template <typename Char>
bool SafeFormat(const Char* format, va_list args, std::basic_string<Char>& text) {
    va_list measureArgs;
    va_copy(measureArgs, args);
    int length = 0;
    const bool measured = GuardedMeasure(format, measureArgs, length);
    va_end(measureArgs);
    if (!measured) {
        return false;
    }
    if (length <= 0) {
        text.clear();
        return true;
    }
    text.assign(static_cast<size_t>(length) + 1, Char());
    va_list printArgs;
    va_copy(printArgs, args);
    const bool printed = GuardedPrint(&text[0], text.size(), format, printArgs);
    va_end(printArgs);
    text.resize(static_cast<size_t>(length));
    return printed;
}

void WriteLine(bool withLocation, const char* function, const char* sourceFile, int line, int level,
               const char* message) {
    LogLine(withLocation, function, sourceFile, line, level, message);
}

void WriteLine(bool withLocation, const wchar_t* function, const wchar_t* sourceFile, int line,
               int level, const wchar_t* message) {
    LogLineW(withLocation, function, sourceFile, line, level, message);
}

// Formats and writes one record; a fault while formatting, or an exception while writing,
// becomes the fatal text with the location prefix and never reaches the caller.
template <typename Char>
void FormatAndLog(const Char* function, const Char* sourceFile, int line, int level,
                  const Char* format, va_list args, const Char* fatalText) {
    bool ok = false;
    try {
        std::basic_string<Char> text;
        ok = SafeFormat(format, args, text);
        if (ok) {
            WriteLine(false, function, sourceFile, line, level, text.c_str());
        }
    } catch (...) {
        ok = false;
    }
    if (!ok) {
        WriteLine(true, function, sourceFile, line, level, fatalText);
    }
}

}  // namespace

void LogInit(const wchar_t* fileName, const wchar_t* folder) {
    std::lock_guard<std::mutex> lock(SetupLock());
    InitLocked(fileName, folder);
}

void LogWrite(int level, const char* message) {
    if (message == nullptr) {
        message = "";
    }
    if (g_debuggerEcho) {
        ::OutputDebugStringA(FormatString("[log] %s\n", message).c_str());
    }
    {
        std::lock_guard<std::mutex> lock(SetupLock());
        InitLocked(nullptr, nullptr);
    }
    if (*message == '\0') {
        return;
    }
    static const spdlog::level::level_enum kLevels[] = {spdlog::level::debug, spdlog::level::info,
                                                        spdlog::level::warn, spdlog::level::err};
    if (level < kLogDebug || level > kLogError) {
        return;
    }
    Logger()->log(kLevels[level], spdlog::string_view_t(message));
}

void LogLine(bool withLocation, const char* function, const char* sourceFile, int line, int level,
             const char* message) {
    if (message == nullptr) {
        message = "";
    }
    if (withLocation || g_alwaysLocate) {
        const std::string located =
            FormatString("[%s:%d][%s] %s", BareFileName(sourceFile), line, function, message);
        LogWrite(level, located.c_str());
    } else {
        LogWrite(level, message);
    }
}

void LogLineW(bool withLocation, const wchar_t* function, const wchar_t* sourceFile, int line,
              int level, const wchar_t* message) {
    if (message == nullptr) {
        message = L"";
    }
    std::wstring text = message;
    if (withLocation || g_alwaysLocate) {
        text = FormatString(L"[%s:%d][%s] %s", BareFileName(sourceFile), line, function, message);
    }
    LogWrite(level, WideToOem(text).c_str());
}

void LogFormat(const char* function, const char* sourceFile, int line, int level,
               const char* format, ...) {
    if (format == nullptr || *format == '\0') {
        return;
    }
    va_list args;
    va_start(args, format);
    FormatAndLog(function, sourceFile, line, level, format, args, kFatalText);
    va_end(args);
}

void LogFormatW(const wchar_t* function, const wchar_t* sourceFile, int line, int level,
                const wchar_t* format, ...) {
    if (format == nullptr || *format == L'\0') {
        return;
    }
    va_list args;
    va_start(args, format);
    FormatAndLog(function, sourceFile, line, level, format, args, kFatalTextW);
    va_end(args);
}

void LogSetAlwaysLocate(bool on) {
    g_alwaysLocate = on;
}

void LogSetDebuggerEcho(bool on) {
    g_debuggerEcho = on;
}

void DebugTrace(const char* format, ...) {
    if (format == nullptr || *format == '\0') {
        return;
    }
    va_list args;
    va_start(args, format);
    const std::string text = FormatStringV(format, args);
    va_end(args);
    std::printf("%s", text.c_str());
    ::OutputDebugStringA(text.c_str());
}

void AssertReport(const char* expression, const char* function, int line, const char* extra) {
    const std::string message =
        FormatString("Assert(%s);\n (in function %s,at line %d)\n is Debug?\n%s\n", expression,
                     function, line, extra != nullptr ? extra : "");
    if (::MessageBoxA(nullptr, message.c_str(), "AssertError!", MB_YESNO) == IDYES &&
        ::IsDebuggerPresent()) {
        ::DebugBreak();
    }
}

void AssertCheck(bool condition, const char* expression, const char* function, int line) {
    if (!condition) {
        AssertReport(expression, function, line, "");
    }
}

void AssertCheckFormat(bool condition, const char* expression, const char* function, int line,
                       const char* format, ...) {
    if (condition) {
        return;
    }
    va_list args;
    va_start(args, format);
    const std::string extra = FormatStringV(format, args);
    va_end(args);
    AssertReport(expression, function, line, extra.c_str());
}
