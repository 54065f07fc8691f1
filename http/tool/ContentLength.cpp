#include "http/tool/ContentLength.h"

#include <cstdint>

namespace {

template <typename Char>
bool ParseLength(const Char* text, int64_t& value) {
    if (text == nullptr) {
        return false;
    }
    const Char* p = text;
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    int64_t result = 0;
    int digits = 0;
    for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
        const int digit = *p - '0';
        if (result > (INT64_MAX - digit) / 10) {
            return false;
        }
        result = result * 10 + digit;
    }
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    if (digits == 0 || *p != '\0') {
        return false;
    }
    value = result;
    return true;
}

}  // namespace

bool ParseContentLength(const wchar_t* text, int64_t& value) {
    return ParseLength(text, value);
}

bool ParseContentLength(const char* text, int64_t& value) {
    return ParseLength(text, value);
}
