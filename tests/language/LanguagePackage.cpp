#include "language/LanguagePackage.h"

#include "common/ZipExtract.h"

UnpackedPackage::UnpackedPackage() : folder_(L"language") {
    const std::string package = ReadFileBytes(UnixToWindowsPath(TANDREL_LANGUAGE_ZIP));
    ok_ = !package.empty() && ExtractZipToFolder(package.data(), package.size(), root());
}

const std::vector<std::wstring>& PackageLanguages() {
    static const std::vector<std::wstring> languages = {
        L"English", L"Chinese",  L"ChineseTW", L"Dutch",      L"French", L"German",
        L"Italian", L"Japanese", L"Spanish",   L"Portuguese", L"Korean", L"Arabic"};
    return languages;
}

bool WriteUtf16File(const std::wstring& path, const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return WriteFileBytes(path, bytes);
}

std::map<std::wstring, std::wstring> ParseUtf16Ini(const std::wstring& path) {
    std::map<std::wstring, std::wstring> entries;
    const std::string bytes = ReadFileBytes(path);
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE") != 0) {
        return entries;
    }
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    bool inSection = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        const std::wstring line = text.substr(start, end - start);
        start = end + 2;
        if (!line.empty() && line[0] == L'[') {
            inSection = true;
        } else if (inSection && !line.empty()) {
            const size_t equals = line.find(L'=');
            entries[line.substr(0, equals)] =
                equals == std::wstring::npos ? L"" : line.substr(equals + 1);
        }
    }
    return entries;
}

std::multiset<std::wstring> PlaceholderTokens(const std::wstring& text) {
    // Longest first, so that "{c COLOR}" is not also counted as "COLOR".
    static const wchar_t* const kTokens[] = {L"{c COLOR}", L"{/c}", L"PRODUCT", L"COLOR", L"BRAND"};
    std::multiset<std::wstring> found;
    size_t pos = 0;
    while (pos < text.size()) {
        bool matched = false;
        for (const wchar_t* token : kTokens) {
            if (text.compare(pos, wcslen(token), token) == 0) {
                found.insert(token);
                pos += wcslen(token);
                matched = true;
                break;
            }
        }
        if (!matched) {
            ++pos;
        }
    }
    return found;
}
