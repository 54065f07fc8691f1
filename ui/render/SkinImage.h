// Decoded skin images as premultiplied DIB sections, where they come from (the skin package
// through IImageSource, a plain file, the executable's resources) and the per-window cache.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "ui/render/GdiHandles.h"
#include "ui/render/ImageDecode.h"
#include "ui/render/ImageDescriptor.h"

namespace SkinUI {

struct SkinImage {
    UniqueBitmap bitmap;  // 32-bit top-down, premultiplied B, G, R, A
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
};

// Where image files come from before the plain file system: the skin package.
class IImageSource {
  public:
    // The bytes of |name| ("img\x.png" or "img/x.png"); false when there is no such file.
    virtual bool ReadImageFile(const std::wstring& name, std::vector<uint8_t>& bytes) = 0;

  protected:
    ~IImageSource() = default;
};

// A DIB section holding |decoded|; nullptr when GDI refuses it.
std::unique_ptr<SkinImage> CreateSkinImage(const DecodedImage& decoded);

// Reads and decodes one image. With a |resourceType| the name (decimal digits: an integer
// identifier) is a resource of |module|; otherwise |source| is asked first and the name is
// then opened as a file path. nullptr when it is found nowhere or cannot be decoded.
std::unique_ptr<SkinImage> LoadSkinImage(const std::wstring& name, const std::wstring& resourceType,
                                         const ArgbColor* mask, IImageSource* source,
                                         HMODULE module);

// Images decoded on first use and held until the owner clears the cache or is destroyed.
// Failures are not remembered, so a file that appears later is found. GUI thread only.
class CImageCache {
  public:
    explicit CImageCache(IImageSource* source = nullptr, HMODULE module = nullptr)
        : source_(source), module_(module) {}

    const SkinImage* Get(const std::wstring& name, const std::wstring& resourceType = {},
                         const ArgbColor* mask = nullptr);
    const SkinImage* Get(const ImageDescriptor& d) {
        return Get(d.file, d.resourceType, d.hasMask ? &d.mask : nullptr);
    }
    // Drops every record of |name| (any type and mask).
    void Remove(const std::wstring& name);
    void Clear() { images_.clear(); }
    size_t Size() const { return images_.size(); }

  private:
    // name, resource type, has mask, mask
    using Key = std::tuple<std::wstring, std::wstring, bool, ArgbColor>;

    IImageSource* source_;
    HMODULE module_;
    std::map<Key, std::unique_ptr<SkinImage>> images_;
};

}  // namespace SkinUI
