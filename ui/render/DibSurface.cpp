#include "ui/render/DibSurface.h"

#include <algorithm>

namespace SkinUI {

UniqueBitmap CreateDibSection(int width, int height, uint32_t** pixels) {
    *pixels = nullptr;
    if (width <= 0 || height <= 0) {
        return UniqueBitmap();
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        return UniqueBitmap();
    }
    *pixels = static_cast<uint32_t*>(bits);
    return bitmap;
}

bool DibSurface::Create(int width, int height, DWORD layout) {
    Reset();
    uint32_t* pixels = nullptr;
    UniqueBitmap bitmap = CreateDibSection(width, height, &pixels);
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc) {
        return false;
    }
    // The mirroring of a DC is computed from the bitmap selected when the layout is set.
    oldBitmap_ = ::SelectObject(dc.get(), bitmap.get());
    ::SetLayout(dc.get(), layout);
    bitmap_ = std::move(bitmap);
    dc_ = std::move(dc);
    pixels_ = pixels;
    width_ = width;
    height_ = height;
    Fill(0);
    return true;
}

void DibSurface::Reset() {
    if (dc_ && oldBitmap_ != nullptr) {
        ::SelectObject(dc_.get(), oldBitmap_);
    }
    oldBitmap_ = nullptr;
    dc_.reset();
    bitmap_.reset();
    pixels_ = nullptr;
    width_ = height_ = 0;
}

void DibSurface::Fill(uint32_t value) {
    if (pixels_ != nullptr) {
        ::GdiFlush();
        std::fill(pixels_, pixels_ + static_cast<size_t>(width_) * height_, value);
    }
}

}  // namespace SkinUI
