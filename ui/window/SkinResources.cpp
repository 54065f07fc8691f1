#include "ui/window/SkinResources.h"

#include "ui/SkinManager.h"
#include "ui/SkinPackage.h"

namespace SkinUI {

namespace {

// The skin's default font sits in the table under an identifier no skin can use.
constexpr int kDefaultFontSlot = 0x7FFFFFFF;

FontInfo ToFontInfo(const SkinFontEntry& entry) {
    FontInfo info;
    info.face = entry.face;
    info.size = entry.size;
    info.bold = entry.bold;
    info.underline = entry.underline;
    info.italic = entry.italic;
    return info;
}

}  // namespace

CSkinResources::CSkinResources(const CSkinManagerUI& manager, const CSkinPackage& package)
    : manager_(manager), package_(package), images_(this) {}

void CSkinResources::LoadDefaultFont() {
    defaultLoaded_ = true;
    if (const SkinFontEntry* entry = manager_.GetDefaultFont()) {
        // Kept under an identifier of its own, so that it never replaces a numbered font.
        fonts_.Add(kDefaultFontSlot, ToFontInfo(*entry), true);
    }
}

HFONT CSkinResources::Font(int id) {
    if (!defaultLoaded_) {
        LoadDefaultFont();
    }
    if (id >= 0 && looked_.insert(id).second) {
        if (const SkinFontEntry* entry = manager_.GetFont(id)) {
            fonts_.Add(id, ToFontInfo(*entry));
        }
    }
    return id >= 0 ? fonts_.Get(id) : fonts_.Default();
}

ImageDescriptor CSkinResources::Describe(const std::wstring& descriptor) const {
    ImageDescriptor d = ParseImageDescriptor(descriptor);
    if (!d.file.empty() && d.resourceType.empty() && !d.hasMask) {
        if (const SkinImageEntry* entry = manager_.GetImage(d.file)) {
            d.resourceType = entry->resourceType;
            d.hasMask = entry->mask != 0;
            d.mask = entry->mask;
        }
    }
    return d;
}

void CSkinResources::Clear() {
    fonts_.Clear();
    looked_.clear();
    defaultLoaded_ = false;
    images_.Clear();
}

bool CSkinResources::ReadImageFile(const std::wstring& name, std::vector<uint8_t>& bytes) {
    return package_.ReadFile(name, bytes);
}

}  // namespace SkinUI
