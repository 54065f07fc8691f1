// Small text rules of the HTTP client family shared by its narrow and wide code: C-style
// decimal reading without overflow and case-insensitive ASCII prefixes. No Windows header.
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

// |prefix| is lower-case ASCII.
template <typename Char>
bool StartsWithNoCase(const std::basic_string<Char>& text, const char* prefix) {
    size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= text.size()) {
            return false;
        }
        Char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<Char>(c - 'A' + 'a');
        }
        if (c != static_cast<Char>(prefix[i])) {
            return false;
        }
    }
    return true;
}

template <typename Char>
bool EqualsNoCase(const std::basic_string<Char>& text, const char* lower) {
    return text.size() == std::char_traits<char>::length(lower) && StartsWithNoCase(text, lower);
}

}  // namespace http_text
