#include "ui/SkinPackage.h"

#include <utility>

#include "ui/SkinFile.h"
#include "ui/SkinMarkup.h"
#include "ui/SkinAttributes.h"

namespace SkinUI {

CSkinPackage& CSkinPackage::Instance() {
    static CSkinPackage package;
    return package;
}

void CSkinPackage::SetResourcePath(const std::wstring& folder) {
    resourcePath_ = folder;
    if (!resourcePath_.empty() && resourcePath_.back() != L'\\' && resourcePath_.back() != L'/') {
        resourcePath_ += L'\\';
    }
}

bool CSkinPackage::OpenZip(const void* data, size_t size) {
    if (zip_.IsOpen()) {
        return true;
    }
    if (data == nullptr || size == 0) {
        return false;
    }
    return Adopt(std::string(static_cast<const char*>(data), size));
}

bool CSkinPackage::OpenZipFile(const std::wstring& fileName) {
    if (zip_.IsOpen()) {
        return true;
    }
    std::string bytes;
    if (ReadSkinFile(resourcePath_ + fileName, kMaxArchiveSize, bytes) != SkinFileRead::kOk ||
        bytes.empty()) {
        return false;
    }
    return Adopt(std::move(bytes));
}

bool CSkinPackage::Adopt(std::string bytes) {
    bytes_ = std::move(bytes);
    if (!zip_.Open(bytes_.data(), bytes_.size())) {
        bytes_.clear();
        return false;
    }
    return true;
}

int CSkinPackage::FindEntry(const std::wstring& name) const {
    if (!zip_.IsOpen() || name.empty() || name.size() >= 256) {
        return -1;
    }
    return zip_.FindEntry(EncodeUtf8(name));
}

bool CSkinPackage::ReadFile(const std::wstring& name, std::vector<uint8_t>& bytes) const {
    bytes.clear();
    if (!zip_.IsOpen()) {
        std::string file;
        if (kind_ != SkinSource::kFiles ||
            ReadSkinFile(resourcePath_ + name, kMaxEntrySize, file) != SkinFileRead::kOk) {
            return false;
        }
        bytes.assign(file.begin(), file.end());
        return true;
    }
    const int index = FindEntry(name);
    ZipEntryInfo info;
    if (index < 0 || !zip_.GetEntryInfo(index, info) || info.uncompressedSize > kMaxEntrySize) {
        return false;
    }
    bytes.resize(info.uncompressedSize);
    if (!zip_.Inflate(index, bytes.data(), bytes.size())) {
        bytes.clear();
        return false;
    }
    return true;
}

bool CSkinPackage::LoadMarkup(CSkinMarkup& markup, const std::wstring& name) const {
    switch (kind_) {
        case SkinSource::kZipFile:
        case SkinSource::kZipResource:
            return markup.LoadFromZip(zip_.IsOpen() ? &zip_ : nullptr, name);
        case SkinSource::kXmlResource: {
            std::string bytes;
            if (!xmlReader_ || !xmlReader_(ParseSkinInt(name), bytes)) {
                return markup.SetLoadError("Error opening file");
            }
            return markup.Load(bytes.data(), bytes.size());
        }
        case SkinSource::kFiles:
            break;
    }
    return markup.LoadFromFile(resourcePath_ + name);
}

}  // namespace SkinUI
