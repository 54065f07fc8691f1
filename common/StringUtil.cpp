#include "common/StringUtil.h"

namespace {

template <typename String>
void ReplaceAllImpl(String& text, const String& pattern, const String& replacement) {
    // An empty pattern matches everywhere and would never advance: nothing to replace.
    if (pattern.empty() || pattern == replacement) {
        return;
    }
    typename String::size_type pos = 0;
    while ((pos = text.find(pattern, pos)) != String::npos) {
        text.replace(pos, pattern.size(), replacement);
        pos += replacement.size();
    }
}

}  // namespace

void ReplaceAll(std::wstring& text, const std::wstring& pattern, const std::wstring& replacement) {
    ReplaceAllImpl(text, pattern, replacement);
}

void ReplaceAll(std::string& text, const std::string& pattern, const std::string& replacement) {
    ReplaceAllImpl(text, pattern, replacement);
}

bool SplitFirst(const std::wstring& text, const std::wstring& separator, std::wstring& left,
                std::wstring& right) {
    const auto pos = separator.empty() ? std::wstring::npos : text.find(separator);
    if (pos == std::wstring::npos) {
        left = text;
        right.clear();
        return false;
    }
    left = text.substr(0, pos);
    right = text.substr(pos + separator.size());
    return true;
}

void SplitAll(const std::string& text, const std::string& separator,
              std::vector<std::string>& out) {
    out.clear();
    if (separator.empty() || text.find(separator) == std::string::npos) {
        out.push_back(text);
        return;
    }
    std::string::size_type begin = 0;
    std::string::size_type pos;
    while ((pos = text.find(separator, begin)) != std::string::npos) {
        out.push_back(text.substr(begin, pos - begin));
        begin = pos + separator.size();
    }
    if (begin < text.size()) {
        out.push_back(text.substr(begin));
    }
}

bool SplitHostAndPath(const std::wstring& address, std::wstring& host, std::wstring& path) {
    std::wstring rest;
    if (StartsWithNoCase(address, L"http://")) {
        rest = address.substr(7);
    } else if (StartsWithNoCase(address, L"https://")) {
        rest = address.substr(8);
    } else {
        return true;
    }
    host = rest;
    const auto slash = rest.find(L'/');
    if (slash == std::wstring::npos) {
        return false;
    }
    path = rest.substr(slash + 1);
    host = rest.substr(0, slash);
    return true;
}
