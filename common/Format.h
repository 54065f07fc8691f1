// printf-style formatting into strings with the C runtime's Windows semantics: in wide formats
// "%s" takes a wide string. The text is measured first and formatted into exactly its size.
#pragma once

#include <cstdarg>
#include <string>

std::string FormatString(const char* format, ...);
std::wstring FormatString(const wchar_t* format, ...);
std::string FormatStringV(const char* format, va_list args);
std::wstring FormatStringV(const wchar_t* format, va_list args);
