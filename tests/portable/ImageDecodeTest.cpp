// Decoding PNG bytes into premultiplied B, G, R, A pixels, the mask colour, and damaged or
// hostile files that must fail without reading outside the buffer.
#include <gtest/gtest.h>

#include <random>

#include "TestPng.h"
#include "ui/render/ImageDecode.h"

using namespace SkinUI;

namespace {

uint32_t PixelAt(const DecodedImage& image, int index) {
    const uint8_t* p = &image.bgra[static_cast<size_t>(index) * 4];
    return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

bool Decode(const std::string& bytes, DecodedImage& out, const ArgbColor* mask = nullptr) {
    return DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), mask, out);
}

}  // namespace

TEST(ImageDecodeTest, PremultipliesAndSwapsToBgra) {
    // R, G, B, A per pixel.
    const std::vector<uint8_t> rgba = {
        0x33, 0xC0, 0x8D, 0xFF,  // opaque: copied
        200,  100,  50,   128,   // half: each colour x 128 / 255
        255,  255,  255,  0,     // transparent: all zero
    };
    DecodedImage image;
    ASSERT_TRUE(Decode(EncodeTestPng(3, 1, rgba), image));
    EXPECT_EQ(3, image.width);
    EXPECT_EQ(1, image.height);
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(0xFF33C08Du, PixelAt(image, 0));
    EXPECT_EQ(0x80643219u, PixelAt(image, 1));
    EXPECT_EQ(0x00000000u, PixelAt(image, 2));

    ASSERT_TRUE(Decode(SolidTestPng(2, 2, 0x11223344 | 0xFF), image));
    EXPECT_FALSE(image.hasAlpha);
}

TEST(ImageDecodeTest, MaskColourBecomesTransparent) {
    const std::vector<uint8_t> rgba = {255, 0, 255, 255, 1, 2, 3, 255};
    const struct {
        ArgbColor mask;
        bool firstCleared;
    } cases[] = {
        {0xFFFF00FF, true},   // exact value
        {0x00FF00FF, true},   // written without alpha: an opaque colour
        {0xFFFF00FE, false},  // a different colour
        {0x80FF00FF, false},  // a different alpha
    };
    for (const auto& c : cases) {
        DecodedImage image;
        ASSERT_TRUE(Decode(EncodeTestPng(2, 1, rgba), image, &c.mask));
        EXPECT_EQ(c.firstCleared ? 0u : 0xFFFF00FFu, PixelAt(image, 0)) << std::hex << c.mask;
        EXPECT_EQ(c.firstCleared, image.hasAlpha);
        EXPECT_EQ(0xFF010203u, PixelAt(image, 1));
    }
}

TEST(ImageDecodeTest, RefusesDamagedTruncatedAndOversizedFiles) {
    const std::string good = SolidTestPng(16, 16, 0x80FF0000);
    DecodedImage image;
    const size_t pixelDataEnd = good.size() - 12 - 4;  // before IDAT's CRC and IEND
    for (size_t n = 0; n < good.size(); ++n) {
        // Exact-size copies, so that the sanitizer sees any read past the end.
        const std::vector<uint8_t> cut(good.begin(), good.begin() + n);
        const bool decoded = DecodeImage(cut.data(), cut.size(), nullptr, image);
        if (n < pixelDataEnd) {
            EXPECT_FALSE(decoded) << n;
            EXPECT_TRUE(image.bgra.empty());
        }
    }
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> bytes(good.begin(), good.end());
        for (int k = 0; k < 4; ++k) {
            bytes[8 + random() % (bytes.size() - 8)] = static_cast<uint8_t>(random());
        }
        DecodeImage(bytes.data(), bytes.size(), nullptr, image);
    }
    // A header that claims 20000 x 20000 pixels is refused before anything is allocated.
    std::string huge = SolidTestPng(1, 1, 0xFFFFFFFF);
    huge.replace(16, 8, std::string("\x00\x00\x4E\x20\x00\x00\x4E\x20", 8));
    EXPECT_FALSE(Decode(huge, image));
    EXPECT_FALSE(DecodeImage(nullptr, 0, nullptr, image));
}
