#include "ui/render/SkinImage.h"

#include <algorithm>
#include <cstring>

#include "common/Resource.h"
#include "ui/SkinFile.h"
#include "ui/render/DibSurface.h"

namespace SkinUI {
namespace {

// Image files bigger than this are no skin art.
constexpr size_t kMaxImageFileBytes = 64u * 1024 * 1024;

LPCWSTR ResourceName(const std::wstring& name) {
    const bool numeric =
        !name.empty() && name.size() <= 5 &&
        std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    if (numeric) {
        const unsigned long id = std::wcstoul(name.c_str(), nullptr, 10);
        if (id > 0 && id <= 0xFFFF) {
            return MAKEINTRESOURCEW(id);
        }
    }
    return name.c_str();
}

}  // namespace

std::unique_ptr<SkinImage> CreateSkinImage(const DecodedImage& decoded) {
    auto image = std::make_unique<SkinImage>();
    image->bitmap = CreateDibSection(decoded.width, decoded.height, &image->pixels);
    if (!image->bitmap ||
        decoded.bgra.size() != static_cast<size_t>(decoded.width) * decoded.height * 4) {
        return nullptr;
    }
    std::memcpy(image->pixels, decoded.bgra.data(), decoded.bgra.size());
    image->width = decoded.width;
    image->height = decoded.height;
    image->hasAlpha = decoded.hasAlpha;
    return image;
}

std::unique_ptr<SkinImage> LoadSkinImage(const std::wstring& name, const std::wstring& resourceType,
                                         const ArgbColor* mask, IImageSource* source,
                                         HMODULE module) {
    if (name.empty()) {
        return nullptr;
    }
    // Resources are decoded in place; files are read whole first.
    const void* data = nullptr;
    size_t size = 0;
    std::vector<uint8_t> packaged;
    std::string file;
    if (!resourceType.empty()) {
        FindResourceBytes(module != nullptr ? module : ::GetModuleHandleW(nullptr),
                          ResourceName(name), ResourceName(resourceType), data, size);
    } else if (source != nullptr && source->ReadImageFile(name, packaged)) {
        data = packaged.data();
        size = packaged.size();
    } else if (ReadSkinFile(name, kMaxImageFileBytes, file) == SkinFileRead::kOk) {
        data = file.data();
        size = file.size();
    }
    DecodedImage decoded;
    if (!DecodeImage(static_cast<const uint8_t*>(data), size, mask, decoded)) {
        return nullptr;
    }
    return CreateSkinImage(decoded);
}

const SkinImage* CImageCache::Get(const std::wstring& name, const std::wstring& resourceType,
                                  const ArgbColor* mask) {
    if (name.empty()) {
        return nullptr;
    }
    Key key{name, resourceType, mask != nullptr, mask != nullptr ? *mask : 0};
    auto it = images_.find(key);
    if (it != images_.end()) {
        return it->second.get();
    }
    std::unique_ptr<SkinImage> image = LoadSkinImage(name, resourceType, mask, source_, module_);
    if (!image) {
        return nullptr;
    }
    return images_.emplace(std::move(key), std::move(image)).first->second.get();
}

void CImageCache::Remove(const std::wstring& name) {
    for (auto it = images_.begin(); it != images_.end();) {
        it = std::get<0>(it->first) == name ? images_.erase(it) : std::next(it);
    }
}

}  // namespace SkinUI
