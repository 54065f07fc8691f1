// Readers for the value syntax of skin attributes: integers, booleans, colours, rectangles,
// sizes, alignments and attribute lists. Lenient by design; no Windows header.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui/SkinTypes.h"

namespace SkinUI {

using SkinAttributeList = std::vector<std::pair<std::wstring, std::wstring>>;

// Leading blanks, an optional sign, then digits up to the first other character; no digits
// read as 0. Out-of-range values saturate. |end| (optional) receives the first unread position.
int ParseSkinInt(const wchar_t* text, const wchar_t** end = nullptr);
int ParseSkinInt(const std::wstring& text);

// Only the exact lower-case "true" is true.
bool ParseSkinBool(const std::wstring& text);

// "#AARRGGBB" with the "#" optional; fewer digits give a smaller number, digits after the
// eighth are ignored. |skipBlanks| also skips leading blanks (the background colour allows
// them).
uint32_t ParseSkinColour(const std::wstring& text, bool skipBlanks = false);

// Four (or two) decimal numbers, each separated from the next by exactly one character of
// any kind; missing numbers read as 0.
SkinRect ParseSkinRect(const std::wstring& text);
SkinSize ParseSkinSize(const std::wstring& text);

// Looks for "left", "center" and "right" in this order; each one found sets that alignment,
// so the last found wins. Returns |current| when none is present.
uint32_t ParseSkinAlign(const std::wstring& text, uint32_t current);

// name="value" pairs separated by exactly one blank; reading stops at the first pair that
// does not fit. Returns the pairs read so far.
SkinAttributeList ParseSkinAttributeList(const std::wstring& text);

// ASCII case-insensitive comparison, for element and window attribute names.
bool EqualsNoCase(const std::wstring& a, const wchar_t* b);
std::wstring ToLowerAscii(std::wstring text);

// UTF-8 for file names in the package and on Linux paths. Lone surrogates become U+FFFD.
std::string EncodeUtf8(const std::wstring& text);

}  // namespace SkinUI
