#include "ui/SkinFile.h"

#include <cstdio>
#include <memory>

#include "ui/SkinAttributes.h"

namespace SkinUI {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::FILE* OpenForReading(const std::wstring& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(EncodeUtf8(path).c_str(), "rb");
#endif
}

}  // namespace

SkinFileRead ReadSkinFile(const std::wstring& path, size_t limit, std::string& bytes) {
    bytes.clear();
    std::unique_ptr<std::FILE, FileCloser> file(OpenForReading(path));
    if (!file) {
        return SkinFileRead::kOpenFailed;
    }
    // One byte more than allowed tells a file over the limit apart.
    char chunk[65536];
    while (bytes.size() <= limit) {
        const size_t read = std::fread(chunk, 1, sizeof(chunk), file.get());
        bytes.append(chunk, read);
        if (read < sizeof(chunk)) {
            break;
        }
    }
    if (std::ferror(file.get())) {
        bytes.clear();
        return SkinFileRead::kReadFailed;
    }
    if (bytes.size() > limit) {
        bytes.clear();
        return SkinFileRead::kTooLarge;
    }
    return SkinFileRead::kOk;
}

}  // namespace SkinUI
