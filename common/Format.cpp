#include "common/Format.h"

#include <stdio.h>

// _vscprintf/_vsnprintf and their wide forms come from msvcrt and keep Microsoft's format
// rules whatever __USE_MINGW_ANSI_STDIO says, so "%s" in a wide format stays a wide string.

namespace {

int Measure(const char* format, va_list args) {
    return _vscprintf(format, args);
}
int Measure(const wchar_t* format, va_list args) {
    return _vscwprintf(format, args);
}
void Print(char* buffer, size_t size, const char* format, va_list args) {
    _vsnprintf(buffer, size, format, args);
}
void Print(wchar_t* buffer, size_t size, const wchar_t* format, va_list args) {
    _vsnwprintf(buffer, size, format, args);
}

template <typename Char>
std::basic_string<Char> FormatImpl(const Char* format, va_list args) {
    if (format == nullptr) {
        return std::basic_string<Char>();
    }
    va_list measure;
    va_copy(measure, args);
    const int length = Measure(format, measure);
    va_end(measure);
    if (length <= 0) {
        return std::basic_string<Char>();
    }
    std::basic_string<Char> text(static_cast<size_t>(length) + 1, Char());
    Print(&text[0], text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

std::string FormatStringV(const char* format, va_list args) {
    return FormatImpl(format, args);
}

std::wstring FormatStringV(const wchar_t* format, va_list args) {
    return FormatImpl(format, args);
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
