#include "common/TextConvert.h"

#include <windows.h>

namespace {

std::wstring ToWide(UINT codePage, const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(text.size());
    const int count = ::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (count <= 0) {
        return std::wstring();
    }
    std::wstring out(static_cast<size_t>(count), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), size, &out[0], count);
    return out;
}

std::string FromWide(UINT codePage, const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(text.size());
    const int count =
        ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (count <= 0) {
        return std::string();
    }
    std::string out(static_cast<size_t>(count), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), size, &out[0], count, nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring AnsiToWide(const std::string& text) {
    return ToWide(CP_ACP, text);
}

std::wstring Utf8ToWide(const std::string& text) {
    return ToWide(CP_UTF8, text);
}

std::string WideToOem(const std::wstring& text) {
    return FromWide(CP_OEMCP, text);
}

std::string WideToAnsi(const std::wstring& text) {
    return FromWide(CP_ACP, text);
}

std::string WideToUtf8(const std::wstring& text) {
    return FromWide(CP_UTF8, text);
}

std::wstring LocaleToWide(const std::string& text) {
    return ToWide(CP_ACP, text);
}

std::string WideToLocale(const std::wstring& text) {
    return FromWide(CP_ACP, text);
}
