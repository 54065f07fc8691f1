// Decodes image bytes (PNG, JPEG, BMP) into top-down 32-bit pixels with premultiplied alpha in
// B, G, R, A byte order, ready for a DIB section. No Windows header: also built natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/render/SkinValues.h"

namespace SkinUI {

struct DecodedImage {
    int width = 0;
    int height = 0;
    // Some pixel is not fully opaque (or was made transparent by the mask).
    bool hasAlpha = false;
    std::vector<uint8_t> bgra;
};

// Images larger than this many pixels are refused before any pixel is decoded.
constexpr int64_t kMaxImagePixels = 4 * 1024 * 1024;

// Converts 8-bit RGBA to premultiplied BGRA. With |mask|, a pixel whose converted value (read
// as 0xAARRGGBB) equals it becomes all zero. A mask without an alpha byte names an opaque
// colour, since no premultiplied pixel of alpha 0 has a colour.
void ConvertRgbaPixels(const uint8_t* rgba, size_t pixelCount, const ArgbColor* mask, uint8_t* bgra,
                       bool& hasAlpha);

// False for bytes that are no image of a supported kind, are damaged or too large.
bool DecodeImage(const uint8_t* data, size_t size, const ArgbColor* mask, DecodedImage& out);

}  // namespace SkinUI
