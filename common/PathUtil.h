// Path text handling: separators, parents, file names and titles. Pure string work, no file
// system access and no Windows header (built natively under the sanitizers as well).
#pragma once

#include <string>

// "/" becomes "\", then one left-to-right pass collapses each "\\" pair into one "\"; a leading
// "\\" (a network share or device path) is kept.
void NormalizePath(std::wstring& path);
void NormalizePath(std::string& path);

// Normalises, then drops one trailing backslash from a path of two or more characters.
void TrimTrailingBackslash(std::wstring& path);

// Normalises a copy of |path|; the parent is the text before its last backslash.
// False (and |parent| untouched) when there is none.
bool GetParentFolder(const std::wstring& path, std::wstring& parent);

// The text after the last "\" or "/" (the whole text when there is none).
std::wstring GetFileNamePart(const std::wstring& path);

// The file name of a path, cut before its first dot unless |keepExtension|; empty when the
// path has no backslash or ends with one.
std::string GetFileTitle(const std::string& path, bool keepExtension);

// A file name without everything from its last dot on ("setup.new.exe" -> "setup.new").
std::wstring StripLastExtension(const std::wstring& fileName);
