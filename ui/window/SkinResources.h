// The fonts and images one skinned window draws with: the skin's Font entries made into GDI
// fonts through the engine's font table, and images decoded once through the engine's cache
// (skin package first, then the name as a plain path).
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "ui/render/ImageDescriptor.h"
#include "ui/render/SkinFont.h"
#include "ui/render/SkinImage.h"

namespace SkinUI {

class CSkinManagerUI;
class CSkinPackage;

class CSkinResources : private IImageSource {
  public:
    CSkinResources(const CSkinManagerUI& manager, const CSkinPackage& package);
    CSkinResources(const CSkinResources&) = delete;
    CSkinResources& operator=(const CSkinResources&) = delete;

    // The font of a skin font identifier; the skin's default font (or the system's default
    // GUI font) for -1 and for identifiers the skin does not define.
    HFONT Font(int id);
    CImageCache& Images() { return images_; }
    // An image attribute parsed, with what an Image element of the skin says about its file
    // (resource type, mask) filled in.
    ImageDescriptor Describe(const std::wstring& descriptor) const;
    // Drops every font and image (the skin changed, or the window is gone).
    void Clear();

  private:
    bool ReadImageFile(const std::wstring& name, std::vector<uint8_t>& bytes) override;
    void LoadDefaultFont();

    const CSkinManagerUI& manager_;
    const CSkinPackage& package_;
    CFontTable fonts_;
    std::set<int> looked_;  // identifiers already looked up in the skin
    bool defaultLoaded_ = false;
    CImageCache images_;
};

}  // namespace SkinUI
