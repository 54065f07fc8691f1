#include "common/PathUtil.h"

#include <vector>

#include "common/StringUtil.h"

namespace {

template <typename String>
void NormalizeImpl(String& path, const String& slash, const String& backslash) {
    if (path.find(slash[0]) != String::npos) {
        ReplaceAll(path, slash, backslash);
    }
    // A leading pair names a network share ("\\server\share") or a device path; it stays.
    // After it, one left-to-right pass drops the second backslash of each pair.
    const String doubled = backslash + backslash;
    const size_t start = path.compare(0, doubled.size(), doubled) == 0 ? doubled.size() : 0;
    for (size_t pos = path.find(doubled, start); pos != String::npos;
         pos = path.find(doubled, pos + 1)) {
        path.erase(pos, 1);
    }
}

}  // namespace

void NormalizePath(std::wstring& path) {
    NormalizeImpl<std::wstring>(path, L"/", L"\\");
}

void NormalizePath(std::string& path) {
    NormalizeImpl<std::string>(path, "/", "\\");
}

void TrimTrailingBackslash(std::wstring& path) {
    NormalizePath(path);
    if (path.size() >= 2 && path.back() == L'\\') {
        path.pop_back();
    }
}

bool GetParentFolder(const std::wstring& path, std::wstring& parent) {
    std::wstring normalized = path;
    NormalizePath(normalized);
    const auto pos = normalized.rfind(L'\\');
    if (pos == std::wstring::npos) {
        return false;
    }
    parent = normalized.substr(0, pos);
    return true;
}

std::wstring GetFileNamePart(const std::wstring& path) {
    std::wstring text = path;
    ReplaceAll(text, L"/", L"\\");
    const auto pos = text.rfind(L'\\');
    return pos == std::wstring::npos ? text : text.substr(pos + 1);
}

std::string GetFileTitle(const std::string& path, bool keepExtension) {
    std::string normalized = path;
    NormalizePath(normalized);
    const auto pos = normalized.rfind('\\');
    if (pos == std::string::npos) {
        return std::string();
    }
    std::string name = normalized.substr(pos + 1);
    if (!keepExtension) {
        std::vector<std::string> pieces;
        SplitAll(name, ".", pieces);
        if (pieces.size() >= 2) {
            name = pieces[0];
        }
    }
    return name;
}

std::wstring StripLastExtension(const std::wstring& fileName) {
    const auto dot = fileName.rfind(L'.');
    return dot == std::wstring::npos ? fileName : fileName.substr(0, dot);
}
