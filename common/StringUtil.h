// Plain string helpers shared by every subsystem: replacement and splitting.
// No Windows header here: this file is also built natively under the sanitizers.
#pragma once

#include <string>
#include <vector>

// Replaces every occurrence of |pattern| left to right; the search resumes after the inserted
// text, so a replacement that contains the pattern is never searched again.
void ReplaceAll(std::wstring& text, const std::wstring& pattern, const std::wstring& replacement);
void ReplaceAll(std::string& text, const std::string& pattern, const std::string& replacement);

// Splits at the first |separator|: false (left = text, right empty) when there is none.
bool SplitFirst(const std::wstring& text, const std::wstring& separator, std::wstring& left,
                std::wstring& right);

// Splits at every |separator|, keeping empty pieces in the middle; a trailing separator
// adds no empty last piece.
void SplitAll(const std::string& text, const std::string& separator, std::vector<std::string>& out);

// "http://host/path" or "https://host/path" -> host and path (without the slash). The scheme
// counts only at the start of the address, in any letter case. An address without either
// scheme leaves both outputs untouched and returns true; a host without a following "/" returns
// false with |host| set to the rest.
bool SplitHostAndPath(const std::wstring& address, std::wstring& host, std::wstring& path);

// Case-insensitive for ASCII letters only, so that no locale changes the comparison: schemes,
// header fields and skin names are ASCII. Narrow or wide text against a narrow or wide literal.
template <typename Char>
Char FoldAsciiCase(Char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <typename Char, typename OtherChar>
bool StartsWithNoCase(const std::basic_string<Char>& text, const OtherChar* prefix) {
    for (size_t i = 0; prefix[i] != 0; ++i) {
        if (i >= text.size() ||
            FoldAsciiCase(text[i]) != FoldAsciiCase(static_cast<Char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

template <typename Char, typename OtherChar>
bool EqualsNoCase(const std::basic_string<Char>& text, const OtherChar* other) {
    return text.size() == std::char_traits<OtherChar>::length(other) &&
           StartsWithNoCase(text, other);
}
