#include "common/TextConvert.h"

#include <windows.h>

#include <clocale>
#include <cstdlib>
#include <vector>

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
    std::setlocale(LC_CTYPE, "");
    // Twice the input length in wide characters is always enough for a multibyte text.
    std::vector<wchar_t> buffer(text.size() * 2 + 1, L'\0');
    const size_t count = std::mbstowcs(buffer.data(), text.c_str(), buffer.size() - 1);
    if (count == static_cast<size_t>(-1)) {
        return std::wstring();
    }
    return std::wstring(buffer.data(), count);
}

std::string WideToLocale(const std::wstring& text) {
    std::setlocale(LC_CTYPE, "");
    std::vector<char> buffer(text.size() * 4 + 1, '\0');
    const size_t count = std::wcstombs(buffer.data(), text.c_str(), buffer.size() - 1);
    if (count == static_cast<size_t>(-1)) {
        return std::string();
    }
    return std::string(buffer.data(), count);
}
