// Small text rules of the HTTP client family shared by its narrow and wide code: C-style
// decimal reading without overflow. No Windows header.
#pragma once

#include <climits>
#include <string>

namespace http_text {

// Reads like atoi: leading blanks, an optional sign, then digits up to the first non-digit;
// no digits give 0. Unlike atoi it never overflows: the value is clamped to the int range.
template <typename Char>
int LeadingDecimal(const std::basic_string<Char>& text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        if (value <= INT_MAX) {
            value = value * 10 + (text[at] - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

}  // namespace http_text
