// Conversions between narrow and wide text: through the ANSI and OEM code pages, and through
// the C runtime's locale set to the user's default.
#pragma once

#include <string>

std::wstring AnsiToWide(const std::string& text);
std::wstring Utf8ToWide(const std::string& text);
std::string WideToOem(const std::wstring& text);
std::string WideToAnsi(const std::wstring& text);
std::string WideToUtf8(const std::wstring& text);

// Both set the C runtime's character-type locale to the user's default for the whole process.
std::wstring LocaleToWide(const std::string& text);
std::string WideToLocale(const std::wstring& text);
