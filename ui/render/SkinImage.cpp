#include "ui/render/SkinImage.h"

#include <algorithm>
#include <cstring>

#include "common/Resource.h"
#include "ui/render/DibSurface.h"

namespace SkinUI {
namespace {

// Image files bigger than this are no skin art.
constexpr DWORD kMaxImageFileBytes = 64u * 1024 * 1024;

bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        size.QuadPart > kMaxImageFileBytes) {
        return false;
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    return ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
           read == bytes.size();
}

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

bool ReadResource(HMODULE module, const std::wstring& name, const std::wstring& type,
                  std::vector<uint8_t>& bytes) {
    const void* data = nullptr;
    size_t size = 0;
    if (!FindResourceBytes(module, ResourceName(name), ResourceName(type), data, size)) {
        return false;
    }
    const auto* begin = static_cast<const uint8_t*>(data);
    bytes.assign(begin, begin + size);
    return true;
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
    std::vector<uint8_t> bytes;
    bool found;
    if (!resourceType.empty()) {
        found = ReadResource(module != nullptr ? module : ::GetModuleHandleW(nullptr), name,
                             resourceType, bytes);
    } else {
        found =
            (source != nullptr && source->ReadImageFile(name, bytes)) || ReadWholeFile(name, bytes);
    }
    DecodedImage decoded;
    if (!found || !DecodeImage(bytes.data(), bytes.size(), mask, decoded)) {
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
