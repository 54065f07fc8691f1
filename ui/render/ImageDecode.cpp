#include "ui/render/ImageDecode.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

// The decoder itself: only the formats a skin uses, no file access, no failure strings
// (process-wide state shared by threads), and a size limit checked by the decoder too.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>

namespace SkinUI {
namespace {

struct StbFree {
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

// PNG chunks whose declared length runs past the bytes are refused up front: the decoder
// would first reserve the declared size (up to 2 GiB) for them.
bool PngChunksFit(const uint8_t* data, size_t size) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || std::memcmp(data, kSignature, 8) != 0) {
        return true;  // not a PNG: nothing to check here
    }
    size_t pos = 8;
    while (size - pos >= 8) {
        const size_t length = size_t{data[pos]} << 24 | size_t{data[pos + 1]} << 16 |
                              size_t{data[pos + 2]} << 8 | data[pos + 3];
        if (length > size - pos - 8) {
            return false;
        }
        if (std::memcmp(data + pos + 4, "IEND", 4) == 0) {
            return true;
        }
        pos += 8 + length + std::min<size_t>(4, size - pos - 8 - length);
    }
    return true;
}

}  // namespace

void ConvertRgbaPixels(const uint8_t* rgba, size_t pixelCount, const ArgbColor* mask, uint8_t* bgra,
                       bool& hasAlpha) {
    ArgbColor maskValue = 0;
    if (mask != nullptr) {
        maskValue = (*mask >> 24) == 0 ? (*mask | 0xFF000000u) : *mask;
    }
    for (size_t i = 0; i < pixelCount; ++i) {
        const uint8_t* src = rgba + i * 4;
        uint8_t* dst = bgra + i * 4;
        const unsigned a = src[3];
        if (a == 255) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        } else {
            dst[0] = static_cast<uint8_t>(src[2] * a / 255);
            dst[1] = static_cast<uint8_t>(src[1] * a / 255);
            dst[2] = static_cast<uint8_t>(src[0] * a / 255);
            hasAlpha = true;
        }
        dst[3] = static_cast<uint8_t>(a);
        if (mask != nullptr) {
            const ArgbColor value = (ArgbColor{dst[3]} << 24) | (ArgbColor{dst[2]} << 16) |
                                    (ArgbColor{dst[1]} << 8) | dst[0];
            if (value == maskValue) {
                std::memset(dst, 0, 4);
                hasAlpha = true;
            }
        }
    }
}

bool DecodeImage(const uint8_t* data, size_t size, const ArgbColor* mask, DecodedImage& out) {
    out = DecodedImage{};
    if (data == nullptr || size == 0 || size > static_cast<size_t>(INT_MAX)) {
        return false;
    }
    if (!PngChunksFit(data, size)) {
        return false;
    }
    const int length = static_cast<int>(size);
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(data, length, &w, &h, &channels) || w <= 0 || h <= 0 ||
        static_cast<int64_t>(w) * h > kMaxImagePixels) {
        return false;
    }
    std::unique_ptr<stbi_uc, StbFree> pixels(
        stbi_load_from_memory(data, length, &w, &h, &channels, 4));
    if (!pixels || w <= 0 || h <= 0 || static_cast<int64_t>(w) * h > kMaxImagePixels) {
        return false;
    }
    const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
    out.bgra.resize(count * 4);
    ConvertRgbaPixels(pixels.get(), count, mask, out.bgra.data(), out.hasAlpha);
    out.width = w;
    out.height = h;
    return true;
}

}  // namespace SkinUI
