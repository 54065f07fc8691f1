// Conversions between narrow and wide text through the Windows code pages (ANSI, OEM, UTF-8).
// They change no process-wide state, so any thread may convert at any time.
#pragma once

#include <string>

std::wstring AnsiToWide(const std::string& text);
std::wstring Utf8ToWide(const std::string& text);
std::string WideToOem(const std::wstring& text);
std::string WideToAnsi(const std::wstring& text);
std::string WideToUtf8(const std::wstring& text);

// The system's multibyte text (the ANSI code page), as the C runtime's default user locale
// would read it, but without touching the runtime's process-wide locale.
std::wstring LocaleToWide(const std::string& text);
std::string WideToLocale(const std::wstring& text);
