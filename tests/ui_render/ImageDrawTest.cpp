// Skin images decoded into DIB sections and drawn into real GDI canvases under Wine: the
// pixels that land where the descriptor says, blending, nine-grid, tiling and mirroring.
#include <gtest/gtest.h>

#include "../portable/TestPng.h"
#include "RenderTestSupport.h"
#include "support/TestFolders.h"
#include "ui/render/ImageDraw.h"

using namespace SkinUI;

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// Pixels given as 0xRRGGBBAA, row by row.
std::string Png(int w, int h, std::initializer_list<uint32_t> pixels) {
    std::vector<uint8_t> rgba;
    for (uint32_t p : pixels) {
        rgba.insert(rgba.end(), {static_cast<uint8_t>(p >> 24), static_cast<uint8_t>(p >> 16),
                                 static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)});
    }
    return EncodeTestPng(w, h, rgba);
}

// A 9 x 9 picture: 3 x 3 corners red, green, blue, yellow; edges grey; centre magenta.
std::string GridPng() {
    std::vector<uint8_t> rgba;
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            const int col = x / 3, row = y / 3;
            uint32_t c = 0x808080FF;
            if (col != 1 && row != 1) {
                c = row == 0 ? (col == 0 ? 0xFF0000FF : 0x00FF00FF)
                             : (col == 0 ? 0x0000FFFF : 0xFFFF00FF);
            } else if (col == 1 && row == 1) {
                c = 0xFF00FFFF;
            }
            rgba.insert(rgba.end(), {static_cast<uint8_t>(c >> 24), static_cast<uint8_t>(c >> 16),
                                     static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
        }
    }
    return EncodeTestPng(9, 9, rgba);
}

class ImageDrawTest : public ::testing::Test {
  protected:
    void SetUp() override {
        package.Add(L"img/checked.png", SolidTestPng(14, 14, 0x00FF00FF));
        package.Add(L"red.png", SolidTestPng(4, 4, 0xFF0000FF));
        package.Add(L"half.png", SolidTestPng(4, 4, 0xFF000080));
        package.Add(L"grid.png", GridPng());
        package.Add(L"stripe.png", Png(2, 1, {0xFF0000FF, 0x0000FFFF}));
        package.Add(L"split.png", Png(4, 1, {0xFF0000FF, 0xFF0000FF, 0x0000FFFF, 0x0000FFFF}));
        package.Add(L"broken.png", SolidTestPng(4, 4, 0xFF0000FF).substr(0, 40));
    }

    uint32_t DrawOnePixel(uint32_t background, const wchar_t* descriptor) {
        DibSurface canvas;
        MakeCanvas(canvas, 8, 8, background);
        EXPECT_TRUE(DrawImage(canvas.Dc(), images, {0, 0, 8, 8}, descriptor));
        return Rgb(canvas.Pixel(4, 4));
    }

    MemoryImageSource package;
    CImageCache images{&package};
};

}  // namespace

TEST_F(ImageDrawTest, CacheHoldsPremultipliedImagesFromThePackageOrAFile) {
    const SkinImage* half = images.Get(L"half.png");
    ASSERT_NE(nullptr, half);
    EXPECT_EQ(4, half->width);
    EXPECT_TRUE(half->hasAlpha);
    EXPECT_EQ(0x80800000u, half->pixels[0]);  // B, G, R, A = 0, 0, 0x80, 0x80
    EXPECT_EQ(half, images.Get(L"half.png"));
    EXPECT_EQ(1, package.reads);

    const ArgbColor green = 0xFF00FF00;
    const SkinImage* masked = images.Get(L"img/checked.png", {}, &green);
    ASSERT_NE(nullptr, masked);
    EXPECT_EQ(0u, masked->pixels[5]);
    EXPECT_TRUE(masked->hasAlpha);
    EXPECT_FALSE(images.Get(L"img/checked.png")->hasAlpha);

    EXPECT_EQ(nullptr, images.Get(L"broken.png"));
    EXPECT_EQ(nullptr, images.Get(L"missing.png"));

    // Not in the package: the name is opened as a path.
    ScopedTempFolder folder(L"render");
    const std::wstring path = folder.path() + L"banner.png";
    ASSERT_TRUE(WriteFileBytes(path, SolidTestPng(3, 2, 0x0000FFFF)));
    const SkinImage* file = images.Get(path);
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(0xFF0000FFu, file->pixels[0]);
    images.Remove(path);
    EXPECT_EQ(3u, images.Size());
}

TEST_F(ImageDrawTest, DestinationSourceAndColourPlaceTheImage) {
    const struct {
        const wchar_t* descriptor;
        RECT control;
        RECT greenArea;
        bool drawn;
    } cases[] = {
        // The agreement box: 20 x 30 at (10, 5); the mark at x 0-14, y 8-22 of it.
        {L"file='img/checked.png' dest='0,8,14,22'", {10, 5, 30, 35}, {10, 13, 24, 27}, true},
        {L"img/checked.png", {10, 5, 30, 35}, {10, 5, 30, 35}, true},
        {L"file='img/checked.png' dest='182,8,196,22'", {0, 0, 200, 30}, {182, 8, 196, 22}, true},
        {L"file='img/checked.png' dest='10,8,40,22'", {10, 5, 30, 35}, {20, 13, 30, 27}, true},
        {L"file='img/checked.png' source='0,0,7,14' dest='0,0,7,14'",
         {0, 0, 30, 30},
         {0, 0, 7, 14},
         true},
        {L"color='#FF00FF00' dest='1,1,3,3'", {0, 0, 30, 30}, {1, 1, 3, 3}, true},
        {L"color='#0000FF00'", {0, 0, 30, 30}, {}, true},
        {L"missing.png", {0, 0, 30, 30}, {}, false},
        {L"file='missing.png' dest='0,0,5,5'", {0, 0, 30, 30}, {}, false},
    };
    for (const auto& c : cases) {
        DibSurface canvas;
        MakeCanvas(canvas, 220, 40, kWhite);
        EXPECT_EQ(c.drawn, DrawImage(canvas.Dc(), images, c.control, c.descriptor)) << c.descriptor;
        const RECT found = FindPixels(canvas, [](uint32_t p) { return Rgb(p) == kGreen; });
        EXPECT_TRUE(EqualRect(&c.greenArea, &found))
            << c.descriptor << ": " << found.left << "," << found.top << "," << found.right << ","
            << found.bottom;
    }
}

TEST_F(ImageDrawTest, NineGridKeepsCornersAndHoleLeavesTheCentre) {
    for (const bool hole : {false, true}) {
        DibSurface canvas;
        MakeCanvas(canvas, 40, 30, kWhite);
        DrawImage(canvas.Dc(), images, {0, 0, 40, 30},
                  hole ? L"file='grid.png' corner='3,3,3,3' hole='true'"
                       : L"file='grid.png' corner='3,3,3,3'");
        const struct {
            uint32_t rgb;
            RECT area;
        } expected[] = {
            {kRed, {0, 0, 3, 3}},
            {kGreen, {37, 0, 40, 3}},
            {kBlue, {0, 27, 3, 30}},
            {0xFFFF00, {37, 27, 40, 30}},
            {hole ? kWhite : 0xFF00FF, {3, 3, 37, 27}},
        };
        for (const auto& e : expected) {
            const RECT found = FindPixels(canvas, [&](uint32_t p) { return Rgb(p) == e.rgb; });
            EXPECT_TRUE(EqualRect(&e.area, &found)) << std::hex << e.rgb << " hole " << hole;
        }
    }
}

TEST_F(ImageDrawTest, FadeAndPerPixelAlphaBlendWithTheBackground) {
    const struct {
        uint32_t background;
        const wchar_t* descriptor;
        uint32_t expected;
    } cases[] = {
        {kWhite, L"red.png", kRed},
        {kWhite, L"file='red.png' fade='128'", 0xFF7F7F},
        {0x000000, L"file='red.png' fade='128'", 0x800000},
        {kWhite, L"half.png", 0xFF7F7F},
        {0x000000, L"half.png", 0x800000},
        {kWhite, L"file='half.png' fade='0'", kWhite},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Near(DrawOnePixel(c.background, c.descriptor), c.expected))
            << c.descriptor << " on " << std::hex << c.background << ": "
            << DrawOnePixel(c.background, c.descriptor);
    }
}

TEST_F(ImageDrawTest, TilingRepeatsInsteadOfStretching) {
    DibSurface canvas;
    MakeCanvas(canvas, 8, 2, kWhite);
    DrawImage(canvas.Dc(), images, {0, 0, 8, 2}, L"file='stripe.png' xtiled='true'");
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(x % 2 == 0 ? kRed : kBlue, Rgb(canvas.Pixel(x, 1))) << x;
    }
    DrawImage(canvas.Dc(), images, {0, 0, 8, 2}, L"stripe.png");
    EXPECT_EQ(kRed, Rgb(canvas.Pixel(3, 0)));
    EXPECT_EQ(kBlue, Rgb(canvas.Pixel(4, 0)));
}

TEST_F(ImageDrawTest, MirroredCanvasMirrorsPlacementAndPicture) {
    // Opaque images take BitBlt, faded ones AlphaBlend: both must mirror alike.
    for (const wchar_t* descriptor :
         {L"file='split.png' dest='0,0,8,2'", L"file='split.png' dest='0,0,8,2' fade='254'"}) {
        DibSurface canvas;
        MakeCanvas(canvas, 40, 4, kWhite, LAYOUT_RTL);
        DrawImage(canvas.Dc(), images, {0, 0, 20, 4}, descriptor);
        const RECT red = FindPixels(canvas, [](uint32_t p) { return Near(p, kRed, 3); });
        const RECT blue = FindPixels(canvas, [](uint32_t p) { return Near(p, kBlue, 3); });
        const RECT expectedRed = {36, 0, 40, 2}, expectedBlue = {32, 0, 36, 2};
        EXPECT_TRUE(EqualRect(&expectedRed, &red))
            << descriptor << " red " << red.left << "-" << red.right;
        EXPECT_TRUE(EqualRect(&expectedBlue, &blue))
            << descriptor << " blue " << blue.left << "-" << blue.right;
    }
}
