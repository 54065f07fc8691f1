#include "ui/render/ImageDescriptor.h"

#include <algorithm>

namespace SkinUI {
namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

void ApplyPair(ImageDescriptor& d, std::wstring_view key, std::wstring_view value) {
    if (key == L"file" || key == L"res") {
        d.file.assign(value);
    } else if (key == L"restype") {
        d.resourceType.assign(value);
    } else if (key == L"color") {
        d.hasColor = true;
        d.color = ParseSkinColor(value);
    } else if (key == L"dest") {
        d.hasDest = true;
        d.dest = ParseSkinRect(value);
    } else if (key == L"source") {
        d.hasSource = true;
        d.source = ParseSkinRect(value);
    } else if (key == L"corner" || key == L"scale9") {
        d.corner = ParseSkinRect(value);
    } else if (key == L"mask") {
        d.hasMask = true;
        d.mask = ParseSkinColor(value);
    } else if (key == L"fade") {
        d.fade = std::clamp(ParseSkinInt(value), 0, 255);
    } else if (key == L"hole") {
        d.hole = ParseSkinBool(value);
    } else if (key == L"xtiled") {
        d.xtiled = ParseSkinBool(value);
    } else if (key == L"ytiled") {
        d.ytiled = ParseSkinBool(value);
    } else if (key == L"hsl") {
        d.hsl = ParseSkinBool(value);
    }
}

}  // namespace

ImageDescriptor ParseImageDescriptor(std::wstring_view text) {
    ImageDescriptor d;
    d.file.assign(text);
    bool firstPair = true;
    size_t i = 0;
    const size_t n = text.size();
    auto skipBlanks = [&] {
        while (i < n && IsBlank(text[i])) {
            ++i;
        }
    };
    for (;;) {
        skipBlanks();
        const size_t keyStart = i;
        while (i < n && text[i] != L'=' && !IsBlank(text[i])) {
            ++i;
        }
        const std::wstring_view key = text.substr(keyStart, i - keyStart);
        skipBlanks();
        if (i >= n || text[i] != L'=') {
            break;
        }
        ++i;
        skipBlanks();
        if (i >= n || text[i] != L'\'') {
            break;
        }
        const size_t valueStart = ++i;
        while (i < n && text[i] != L'\'') {
            ++i;
        }
        if (i >= n) {
            break;
        }
        const std::wstring_view value = text.substr(valueStart, i - valueStart);
        ++i;
        if (firstPair) {
            // A descriptor made of pairs names its image only through "file" or "res".
            d.file.clear();
            firstPair = false;
        }
        if (!value.empty()) {
            ApplyPair(d, key, value);
        }
        if (i + 1 >= n || !IsBlank(text[i])) {
            break;
        }
    }
    return d;
}

}  // namespace SkinUI
