// Whole-file reads for the skin: skin files, the skin zip file and images on disk. Portable
// (wide paths on Windows, UTF-8 paths elsewhere) and bounded by a size limit.
#pragma once

#include <cstddef>
#include <string>

namespace SkinUI {

enum class SkinFileRead { kOk, kOpenFailed, kReadFailed, kTooLarge };

// Reads at most |limit| bytes; a longer file gives kTooLarge and leaves |bytes| empty.
SkinFileRead ReadSkinFile(const std::wstring& path, size_t limit, std::string& bytes);

}  // namespace SkinUI
