// Colours, borders, clips, fonts and text drawn into real GDI canvases under Wine, left to
// right and mirrored.
#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "ui/render/BackBuffer.h"
#include "ui/render/ColorDraw.h"
#include "ui/render/MarkupDraw.h"
#include "ui/render/SkinFont.h"

using namespace SkinUI;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;

bool IsInk(uint32_t p) {
    return Rgb(p) != kWhite;
}

UniqueFont TestFont(int size = 16) {
    return CreateSkinFont({L"Tahoma", size});
}

// Pixels whose ink differs between the box |ra| of |a| and the box of the same size at the
// top-left corner of |rb| in |b|.
int InkDifferences(const DibSurface& a, const RECT& ra, const DibSurface& b, const RECT& rb) {
    int different = 0;
    for (int y = 0; y < ra.bottom - ra.top; ++y) {
        for (int x = 0; x < ra.right - ra.left; ++x) {
            different +=
                IsInk(a.Pixel(ra.left + x, ra.top + y)) != IsInk(b.Pixel(rb.left + x, rb.top + y));
        }
    }
    return different;
}

}  // namespace

TEST(ColorDrawTest, BackgroundHonoursAlphaBordersIgnoreIt) {
    const struct {
        bool border;
        ArgbColor color;
        uint32_t expected;
    } cases[] = {
        {false, 0x00CCCCCC, kWhite},
        {false, 0xFF336699, 0x336699},
        {false, 0x80000000, 0x7F7F7F},
        {true, 0x00CCCCCC, 0xCCCCCC},  // an opaque light grey line
        {true, 0, kWhite},             // not set
    };
    for (const auto& c : cases) {
        DibSurface canvas;
        MakeCanvas(canvas, 10, 10, kWhite);
        if (c.border) {
            DrawBorder(canvas.Dc(), {0, 0, 10, 10}, {5, 5, 5, 5}, c.color);
        } else {
            FillColor(canvas.Dc(), {0, 0, 10, 10}, c.color);
        }
        EXPECT_TRUE(Near(canvas.Pixel(4, 4), c.expected)) << std::hex << c.color;
    }

    // Per-side widths: left 1, top 2, right 3, bottom 0.
    DibSurface canvas;
    MakeCanvas(canvas, 10, 10, kWhite);
    DrawBorder(canvas.Dc(), {0, 0, 10, 10}, {1, 2, 3, 0}, 0xFF000000 | kBlack);
    const RECT inside = {1, 2, 7, 10};
    EXPECT_EQ(0, CountPixels(canvas, inside, IsInk));
    EXPECT_EQ(100 - 6 * 8, CountPixels(canvas, {0, 0, 10, 10}, IsInk));
}

TEST(ColorDrawTest, RoundClipAndRoundBorderStayInsideTheCorners) {
    for (const DWORD layout : {DWORD{0}, DWORD{LAYOUT_RTL}}) {
        DibSurface canvas;
        MakeCanvas(canvas, 60, 30, kWhite, layout);
        {
            ScopedRoundClip clip(canvas.Dc(), {0, 0, 30, 30}, {16, 16});
            FillColor(canvas.Dc(), {0, 0, 60, 30}, 0xFF000000);
        }
        FillColor(canvas.Dc(), {40, 10, 50, 20}, 0xFF000000);  // the clip is gone again
        // Logical x 0-30 is the physical left half, or the right half when mirrored.
        const int left = layout == 0 ? 0 : 30;
        EXPECT_EQ(kWhite, Rgb(canvas.Pixel(left, 0))) << layout;
        EXPECT_EQ(kWhite, Rgb(canvas.Pixel(left + 29, 29))) << layout;
        EXPECT_EQ(kBlack, Rgb(canvas.Pixel(left + 15, 15))) << layout;
        EXPECT_EQ(kBlack, Rgb(canvas.Pixel(left + 15, 0))) << layout;
        EXPECT_EQ(kWhite, Rgb(canvas.Pixel(30 - left + 5, 2))) << layout;
        EXPECT_EQ(kBlack, Rgb(canvas.Pixel(layout == 0 ? 45 : 14, 15))) << layout;
    }
    DibSurface canvas;
    MakeCanvas(canvas, 30, 30, kWhite);
    DrawRoundBorder(canvas.Dc(), {0, 0, 30, 30}, 2, {16, 16}, 0x00CC0000);
    EXPECT_EQ(kWhite, Rgb(canvas.Pixel(0, 0)));
    EXPECT_EQ(0xCC0000u, Rgb(canvas.Pixel(15, 0)));
    EXPECT_EQ(0xCC0000u, Rgb(canvas.Pixel(15, 1)));
    EXPECT_EQ(kWhite, Rgb(canvas.Pixel(15, 2)));
    EXPECT_EQ(0xCC0000u, Rgb(canvas.Pixel(29, 15)));
}

TEST(SkinFontTest, FontsFollowTheSkinAndUnknownIdsUseTheDefault) {
    LOGFONTW base = {}, lf = {};
    GetObjectW(DefaultGuiFont(), sizeof(base), &base);
    UniqueFont font = CreateSkinFont({L"Segoe UI Semibold", 26, true, true, true});
    ASSERT_EQ(static_cast<int>(sizeof(lf)), GetObjectW(font.get(), sizeof(lf), &lf));
    EXPECT_STREQ(L"Segoe UI Semibold", lf.lfFaceName);
    EXPECT_EQ(-26, lf.lfHeight);
    EXPECT_EQ(std::min<LONG>(base.lfWeight + 700, 1000), lf.lfWeight);
    EXPECT_TRUE(lf.lfCharSet == DEFAULT_CHARSET && lf.lfUnderline && lf.lfItalic);

    CFontTable fonts;  // the skin's fonts 0 and 1; "2" falls back to the default
    EXPECT_TRUE(fonts.Add(0, {L"Segoe UI Semibold", 26}) && fonts.Add(1, {L"Segoe UI", 14}));
    EXPECT_EQ(DefaultGuiFont(), fonts.Get(2));
    EXPECT_NE(fonts.Get(0), fonts.Get(1));
    EXPECT_TRUE(fonts.Add(3, {L"Tahoma", 9}, true));
    EXPECT_EQ(fonts.Get(3), fonts.Get(2));
}

TEST(TextDrawTest, AlignmentColourAndLineModesPlaceTheInk) {
    UniqueFont font = TestFont();
    const struct {
        TextAlign align;
        bool wrap;
        int x;  // where the ink's left edge (Left), centre (Center) or right edge (Right) is
    } cases[] = {
        {TextAlign::Left, false, 10},
        {TextAlign::Center, false, 100},
        {TextAlign::Right, false, 190},
        {TextAlign::Left, true, 10},
    };
    for (const auto& c : cases) {
        DibSurface canvas;
        MakeCanvas(canvas, 200, 100, kBlack);
        TextStyle style;
        style.font = font.get();
        style.color = 0x00FFFFFF;  // alpha ignored: white
        style.align = c.align;
        style.wrap = c.wrap;
        style.padding = {10, 5, 10, 5};
        DrawPlainText(canvas.Dc(), {0, 0, 200, 100}, L"Hi", style);
        const RECT ink = FindPixels(canvas, [](uint32_t p) { return Rgb(p) == kWhite; });
        ASSERT_GT(ink.right, ink.left) << "no white text";
        const LONG x = c.align == TextAlign::Left    ? ink.left
                       : c.align == TextAlign::Right ? ink.right
                                                     : (ink.left + ink.right) / 2;
        EXPECT_NEAR(c.x, x, 3);
        if (c.wrap) {
            EXPECT_LT(ink.top, 12);  // from the top
        } else {
            EXPECT_NEAR(50, (ink.top + ink.bottom) / 2, 4);  // vertically centred
        }
    }
    DibSurface canvas;
    MakeCanvas(canvas, 10, 10, kWhite);
    TextStyle style;
    style.font = font.get();
    EXPECT_GT(MeasurePlainText(canvas.Dc(), L"a&b", style, 0).cx,
              MeasurePlainText(canvas.Dc(), L"ab", style, 0).cx);  // "&" is drawn, not a prefix
}

TEST(TextDrawTest, RightToLeftReadingMovesNeutralsWithoutRespacingTheGlyphs) {
    // Read right to left, the trailing backslash of a path stands at the left end: the same
    // picture as the reordered text read left to right, every glyph at its own advance.
    UniqueFont font = TestFont();
    TextStyle style;
    style.font = font.get();
    style.color = 0xFF000000;
    DibSurface rtl, moved;
    MakeCanvas(rtl, 240, 30, kWhite);
    MakeCanvas(moved, 240, 30, kWhite);
    style.rtlReading = true;
    DrawPlainText(rtl.Dc(), {0, 0, 240, 30}, L"C:\\Program Files (x86)\\", style);
    style.rtlReading = false;
    DrawPlainText(moved.Dc(), {0, 0, 240, 30}, L"\\C:\\Program Files (x86)", style);
    const RECT a = FindPixels(rtl, IsInk);
    const RECT b = FindPixels(moved, IsInk);
    ASSERT_EQ(b.right - b.left, a.right - a.left);
    ASSERT_EQ(b.top, a.top);
    EXPECT_EQ(0, InkDifferences(rtl, a, moved, b));
}

TEST(TextDrawTest, MirroredCanvasKeepsTextReadable) {
    UniqueFont font = TestFont();
    TextStyle style;
    style.font = font.get();
    style.color = 0xFF000000;
    DibSurface ltr, rtl;
    MakeCanvas(ltr, 120, 30, kWhite);
    MakeCanvas(rtl, 120, 30, kWhite, LAYOUT_RTL);
    DrawPlainText(ltr.Dc(), {0, 0, 120, 30}, L"Lp", style);
    DrawPlainText(rtl.Dc(), {0, 0, 120, 30}, L"Lp", style);
    const RECT a = FindPixels(ltr, IsInk);
    const RECT b = FindPixels(rtl, IsInk);
    // Left-aligned in a mirrored DC means at the right edge, with the same, unmirrored glyphs.
    EXPECT_EQ(0, a.left);
    EXPECT_NEAR(120, b.right, 3);
    ASSERT_EQ(a.right - a.left, b.right - b.left);
    ASSERT_EQ(a.top, b.top);
    EXPECT_EQ(0, InkDifferences(ltr, a, rtl, b));

    // Markup runs follow each other from the right.
    MarkupDrawStyle markupStyle;
    markupStyle.text = style;
    MakeCanvas(rtl, 200, 30, kWhite, LAYOUT_RTL);
    DrawMarkup(rtl.Dc(), {0, 0, 200, 30}, ParseMarkup(L"{c #FF0000}first{/c} {c #0000FF}next{/c}"),
               markupStyle);
    const RECT first = FindPixels(rtl, [](uint32_t p) { return Rgb(p) == 0xFF0000; });
    const RECT next = FindPixels(rtl, [](uint32_t p) { return Rgb(p) == 0x0000FF; });
    EXPECT_NEAR(200, first.right, 5);  // the glyphs' side bearings
    EXPECT_LT(next.right, first.left);
}

TEST(MarkupDrawTest, ColoursLinksAndBreaksOfTheMarkup) {
    UniqueFont font = TestFont(14);
    MarkupDrawStyle style;
    style.text.font = font.get();
    DibSurface canvas;
    MakeCanvas(canvas, 300, 60, kWhite);
    const MarkupText markup = ParseMarkup(
        L"Read <c #33C08D>green</c> {u}{a https://l.example}License{/a}{/u}{n}"
        L"second {a x}line{/a}");
    std::vector<LinkArea> links;
    style.hoverLink = 1;
    DrawMarkup(canvas.Dc(), {0, 0, 300, 60}, markup, style, &links);

    const RECT green = FindPixels(canvas, [](uint32_t p) { return Rgb(p) == 0x33C08D; });
    const RECT link = FindPixels(canvas, [](uint32_t p) { return Rgb(p) == 0x0000FF; });
    const RECT hover = FindPixels(canvas, [](uint32_t p) { return Rgb(p) == 0xD3215F; });
    ASSERT_GT(green.right, green.left);
    ASSERT_GT(link.right, link.left);
    ASSERT_GT(hover.right, hover.left);
    EXPECT_LT(green.right, link.left);      // same line, after the green word
    EXPECT_GE(hover.top, link.bottom - 2);  // the second link is on the next line

    ASSERT_EQ(2u, links.size());
    EXPECT_EQ(0, links[0].link);
    // The link's area is where its letters are (an underline may reach a pixel or two further).
    EXPECT_NEAR(link.left, links[0].rect.left, 2);
    EXPECT_NEAR(link.right, links[0].rect.right, 3);
    EXPECT_LE(links[0].rect.top, link.top);
    EXPECT_GE(links[0].rect.bottom, link.bottom);
    EXPECT_EQ(0, HitTestLinks(links, {(link.left + link.right) / 2, link.bottom - 1}));
    EXPECT_EQ(1, HitTestLinks(links, {(hover.left + hover.right) / 2, hover.bottom - 1}));
    EXPECT_EQ(-1, HitTestLinks(links, {2, 2}));
    // Links are underlined: a full row of link colour under the letters.
    EXPECT_GE(CountPixels(canvas, {link.left, link.bottom - 1, link.right, link.bottom},
                          [](uint32_t p) { return Rgb(p) == 0x0000FF; }),
              (link.right - link.left) * 9 / 10);

    // Wrapping keeps every word inside the width.
    style.text.wrap = true;
    DibSurface narrow;
    MakeCanvas(narrow, 70, 100, kWhite);
    DrawMarkup(narrow.Dc(), {0, 0, 60, 100}, ParseMarkup(L"{b}one two{/b} three four"), style);
    const RECT ink = FindPixels(narrow, IsInk);
    EXPECT_LE(ink.right, 60);
    EXPECT_GT(ink.bottom - ink.top, 40);  // at least three lines
}

TEST(TextAlphaTest, TextDrawnIntoALayerSurvivesPerPixelBlending) {
    UniqueFont font = TestFont();
    TextStyle style;
    style.font = font.get();
    DibSurface layer;  // transparent
    layer.Create(80, 30);
    {
        ScopedTextAlpha fix(layer.Dc(), {0, 0, 80, 30});
        DrawPlainText(layer.Dc(), {0, 0, 80, 30}, L"Text", style);
    }
    EXPECT_EQ(0u, layer.Pixel(79, 29));  // untouched pixels keep their alpha
    DibSurface target;
    MakeCanvas(target, 80, 30, kWhite);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(target.Dc(), 0, 0, 80, 30, layer.Dc(), 0, 0, 80, 30, blend);
    EXPECT_GT(CountPixels(target, {0, 0, 80, 30}, [](uint32_t p) { return Rgb(p) == kBlack; }), 10);
}
