// Where images and progress fills land: destination and source clamping, nine-grid and tile
// pieces, the progress bar's fill width.
#include <gtest/gtest.h>

#include "ui/render/ImageGeometry.h"

using namespace SkinUI;

TEST(ImageGeometryTest, ProgressFillWidthFollowsValueWithinRange) {
    const struct {
        int width, value, min, max, expectedRight;
    } cases[] = {
        {300, 30, 0, 100, 90},  // the skin's bar
        {300, 0, 0, 100, 0},
        {300, 100, 0, 100, 300},
        {300, 150, 0, 100, 300},
        {300, -5, 0, 100, 0},
        {101, 50, 0, 100, 50},  // integer arithmetic rounds down
        {200, 15, 10, 20, 100},
        {200, 7, 7, 7, 0},  // max becomes min + 1
        {200, 9, 9, 3, 0},
        {200, 10, 9, 3, 200},
        {1000, 1000000000, -2000000000, 2000000000, 750},  // no overflow
    };
    for (const auto& c : cases) {
        const IntRect fill = ProgressFillRect({10, 5, 10 + c.width, 11}, c.value, c.min, c.max);
        EXPECT_EQ(10 + c.expectedRight, fill.right) << c.width << " " << c.value;
        EXPECT_EQ(10, fill.left);
        EXPECT_EQ(5, fill.top);
        EXPECT_EQ(11, fill.bottom);
    }
    EXPECT_EQ(16, ProgressFillRect({0, 0, 10, 20}, 20, 0, 100, false).top);
}

TEST(ImageGeometryTest, DestinationIsRelativeToTheControlAndClampedToIt) {
    ImageDescriptor d;
    EXPECT_EQ((IntRect{40, 50, 60, 80}), ResolveDestRect({40, 50, 60, 80}, d));
    d.hasDest = true;
    const struct {
        IntRect dest, expected;
    } cases[] = {
        {{0, 8, 14, 22}, {40, 58, 54, 72}},
        {{5, 5, 100, 100}, {45, 55, 60, 80}},
        {{-5, -5, 4, 4}, {40, 50, 44, 54}},
        {{25, 0, 30, 10}, {}},
        {{10, 10, 5, 20}, {}},
    };
    for (const auto& c : cases) {
        d.dest = c.dest;
        EXPECT_EQ(c.expected, ResolveDestRect({40, 50, 60, 80}, d)) << c.dest.left;
    }

    ImageDescriptor s;
    EXPECT_EQ((IntRect{0, 0, 14, 10}), ResolveSourceRect(s, 14, 10));
    s.hasSource = true;
    s.source = {2, -3, 20, 8};
    EXPECT_EQ((IntRect{2, 0, 14, 8}), ResolveSourceRect(s, 14, 10));
}

TEST(ImageGeometryTest, NineGridCornersShrinkWhenTheyDoNotFit) {
    // A 12-pixel-wide destination gets 6 + 6 of the 10 + 10 corners and no middle column.
    const auto narrow = NineGridPieces({0, 0, 12, 50}, {0, 0, 30, 30}, {10, 10, 10, 10}, false);
    ASSERT_EQ(6u, narrow.size());
    EXPECT_EQ((IntRect{0, 0, 6, 10}), narrow[0].dest);
    EXPECT_EQ((IntRect{0, 0, 10, 10}), narrow[0].source);
    EXPECT_EQ((IntRect{6, 0, 12, 10}), narrow[1].dest);
    // Too many tiles: stretched instead.
    EXPECT_EQ(1u, TilePiece({{0, 0, 5000, 5000}, {0, 0, 1, 1}}, true, true).size());
}
