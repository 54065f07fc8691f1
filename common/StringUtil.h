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
