// The process-wide diagnostic log: printf-style narrow and wide entry points, one rolling file
// (10 MiB, one ".1" backup), plus the developer aids DebugTrace and the assertion dialog.
// Logging never fails or stops the caller.
#pragma once

#include <cstdarg>

enum LogLevel { kLogDebug = 0, kLogInfo = 1, kLogWarn = 2, kLogError = 3 };

#if defined(__GNUC__)
#define TANDREL_PRINTF_LIKE(fmt, args) __attribute__((format(ms_printf, fmt, args)))
#else
#define TANDREL_PRINTF_LIKE(fmt, args)
#endif

// First call wins for the rest of the process. Null or empty arguments take the defaults:
// "<log name>.log" in the "Log" sub-folder of the executable's folder.
void LogInit(const wchar_t* fileName, const wchar_t* folder);

// A null message counts as an empty one: nothing is written.
void LogWrite(int level, const char* message);
void LogLine(bool withLocation, const char* function, const char* sourceFile, int line, int level,
             const char* message);
void LogLineW(bool withLocation, const wchar_t* function, const wchar_t* sourceFile, int line,
              int level, const wchar_t* message);

void LogFormat(const char* function, const char* sourceFile, int line, int level,
               const char* format, ...) TANDREL_PRINTF_LIKE(5, 6);
// In the wide format "%s" takes a wide string.
void LogFormatW(const wchar_t* function, const wchar_t* sourceFile, int line, int level,
                const wchar_t* format, ...);

// Developer switches, off unless a developer turns them on.
void LogSetAlwaysLocate(bool on);
void LogSetDebuggerEcho(bool on);

// Formats to standard output and to the debugger output.
void DebugTrace(const char* format, ...) TANDREL_PRINTF_LIKE(1, 2);

void AssertReport(const char* expression, const char* function, int line, const char* extra);
void AssertCheck(bool condition, const char* expression, const char* function, int line);
void AssertCheckFormat(bool condition, const char* expression, const char* function, int line,
                       const char* format, ...) TANDREL_PRINTF_LIKE(5, 6);

// Call-site helpers: the caller names itself ("Class::Method"); file and line are filled in.
#define TLOG(function, ...) LogFormat(function, __FILE__, __LINE__, kLogInfo, __VA_ARGS__)
#define TLOGW(function, ...) LogFormatW(L"" function, L"" __FILE__, __LINE__, kLogInfo, __VA_ARGS__)
