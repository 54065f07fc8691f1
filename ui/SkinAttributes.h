// Readers for the parts of the skin's attribute syntax the builder and the controls add to
// the drawing engine's value readers: sizes, alignments, attribute lists, names. No Windows header.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/StringUtil.h"
#include "ui/SkinTypes.h"

namespace SkinUI {

using SkinAttributeList = std::vector<std::pair<std::wstring, std::wstring>>;

// Integers, booleans, colours and rectangles are read by ui/render/SkinValues.h.

// Two decimal numbers (width, height) separated by exactly one character of any kind.
SkinSize ParseSkinSize(const std::wstring& text);

// Looks for "left", "center" and "right" in this order; each one found sets that alignment,
// so the last found wins. Returns |current| when none is present.
uint32_t ParseSkinAlign(const std::wstring& text, uint32_t current);

// name="value" pairs separated by exactly one blank; reading stops at the first pair that
// does not fit. Returns the pairs read so far.
SkinAttributeList ParseSkinAttributeList(const std::wstring& text);

std::wstring ToLowerAscii(std::wstring text);

// UTF-8 for file names in the package and on Linux paths. Lone surrogates become U+FFFD.
std::string EncodeUtf8(const std::wstring& text);

}  // namespace SkinUI
