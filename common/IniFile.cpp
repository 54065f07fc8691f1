#include "common/IniFile.h"

#include <windows.h>

#include "common/StringUtil.h"

namespace {

constexpr DWORD kSectionBufferChars = 4096;
constexpr DWORD kValueBufferChars = 256;

}  // namespace

bool ReadIniSection(const std::wstring& file, const std::wstring& section, IniMap& entries) {
    std::wstring buffer(kSectionBufferChars, L'\0');
    const DWORD length =
        ::GetPrivateProfileSectionW(section.c_str(), &buffer[0], kSectionBufferChars, file.c_str());
    // The buffer holds "key=value\0key=value\0\0"; |length| excludes the final terminator.
    const wchar_t* line = buffer.c_str();
    const wchar_t* end = line + length;
    while (line < end && *line != L'\0') {
        const std::wstring text(line);
        std::wstring key, value;
        SplitFirst(text, L"=", key, value);
        entries[key] = value;
        line += text.size() + 1;
    }
    return true;
}

std::wstring ReadIniValue(const std::wstring& file, const std::wstring& section,
                          const std::wstring& key) {
    wchar_t value[kValueBufferChars] = {};
    ::GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", value, kValueBufferChars,
                               file.c_str());
    return value;
}
