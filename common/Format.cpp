#include "common/Format.h"

#include <stdio.h>

// _vscprintf/_vsnprintf and their wide forms come from msvcrt and keep Microsoft's format
// rules whatever __USE_MINGW_ANSI_STDIO says, so "%s" in a wide format stays a wide string.

std::string FormatStringV(const char* format, va_list args) {
    if (format == nullptr) {
        return std::string();
    }
    va_list measure;
    va_copy(measure, args);
    const int length = _vscprintf(format, measure);
    va_end(measure);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    _vsnprintf(&text[0], text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::wstring FormatStringV(const wchar_t* format, va_list args) {
    if (format == nullptr) {
        return std::wstring();
    }
    va_list measure;
    va_copy(measure, args);
    const int length = _vscwprintf(format, measure);
    va_end(measure);
    if (length <= 0) {
        return std::wstring();
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    _vsnwprintf(&text[0], text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string FormatString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatStringV(format, args);
    va_end(args);
    return text;
}

std::wstring FormatString(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring text = FormatStringV(format, args);
    va_end(args);
    return text;
}
