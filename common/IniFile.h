// Reading ini files through the platform's profile functions, which accept the ASCII files and
// the UTF-16LE files with a byte-order mark alike. Paths must be full: the platform looks a bare
// file name up in the Windows folder.
#pragma once

#include <map>
#include <string>

using IniMap = std::map<std::wstring, std::wstring>;

// Reads the whole section (at most 4096 characters; the platform cuts longer sections) into
// |entries|: key = text before the first "=", value = the rest; a line without "=" is a key with
// an empty value. Existing keys are overwritten, others kept. Always returns true: a missing file
// or section simply adds nothing.
bool ReadIniSection(const std::wstring& file, const std::wstring& section, IniMap& entries);

// One value of at most 255 characters; empty when the file, section or key is missing.
std::wstring ReadIniValue(const std::wstring& file, const std::wstring& section,
                          const std::wstring& key);
