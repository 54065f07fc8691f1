// A 32-bit top-down DIB section selected into its own memory DC: the pixels of decoded images,
// back buffers and test canvases, with direct access to the B, G, R, A bytes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/render/GdiHandles.h"

namespace SkinUI {

class DibSurface {
  public:
    DibSurface() = default;
    ~DibSurface() { Reset(); }
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    // A new surface of |width| x |height| pixels, all bytes 0, its DC in |layout|
    // (0 or LAYOUT_RTL). False, and empty, on failure.
    bool Create(int width, int height, DWORD layout = 0);
    void Reset();

    bool Valid() const { return dc_.valid(); }
    HDC Dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Row-major, top row first; one 0xAARRGGBB value per pixel, in device (physical) order.
    // Reading them waits for GDI's queued drawing first.
    uint32_t* Pixels() const {
        ::GdiFlush();
        return pixels_;
    }
    uint32_t Pixel(int x, int y) const { return Pixels()[static_cast<size_t>(y) * width_ + x]; }

    // Fills every pixel with |value| (premultiplied 0xAARRGGBB).
    void Fill(uint32_t value);

  private:
    UniqueBitmap bitmap_;
    UniqueMemoryDc dc_;
    HGDIOBJ oldBitmap_ = nullptr;
    uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// A top-down 32-bit DIB section without a DC: the storage of a decoded image.
UniqueBitmap CreateDibSection(int width, int height, uint32_t** pixels);

}  // namespace SkinUI
