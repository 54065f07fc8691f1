#include "http/tool/ContentLength.h"

#include <cstdint>

bool ParseContentLength(const wchar_t* text, int64_t& value) {
    if (text == nullptr) {
        return false;
    }
    const wchar_t* p = text;
    while (*p == L' ' || *p == L'\t') {
        ++p;
    }
    int64_t result = 0;
    int digits = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p, ++digits) {
        const int digit = *p - L'0';
        if (result > (INT64_MAX - digit) / 10) {
            return false;
        }
        result = result * 10 + digit;
    }
    while (*p == L' ' || *p == L'\t') {
        ++p;
    }
    if (digits == 0 || *p != L'\0') {
        return false;
    }
    value = result;
    return true;
}
