// The placement arithmetic of the layouts as pure functions: box layouts (vertical and
// horizontal), a single child in an area (stacks and tab pages) and floating children.
// Integer arithmetic only, no Windows header, no control classes.
#pragma once

#include <vector>

#include "ui/SkinTypes.h"

namespace SkinUI {

constexpr int kNoMaximum = 0x7FFFFFFF;

// Sizes and offsets read from a skin are kept within this many pixels either way, so that no
// sum of them can overflow.
constexpr int kMaxLength = 1 << 20;
inline int ClampLength(int value) {
    return value > kMaxLength ? kMaxLength : value < -kMaxLength ? -kMaxLength : value;
}
// Widths, paddings and sizes: 0 to kMaxLength.
inline int ClampNonNegative(int value) {
    return value < 0 ? 0 : ClampLength(value);
}
inline IntRect ClampRect(const IntRect& r) {
    return IntRect{ClampLength(r.left), ClampLength(r.top), ClampLength(r.right),
                   ClampLength(r.bottom)};
}
inline SkinSize ClampSize(const SkinSize& s) {
    return SkinSize{ClampNonNegative(s.cx), ClampNonNegative(s.cy)};
}

// What a layout needs to know about one child.
struct LayoutItem {
    bool visible = true;
    bool floating = false;
    int fixedWidth = 0;  // 0: the layout decides
    int fixedHeight = 0;
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = kNoMaximum;
    int maxHeight = kNoMaximum;
};

enum class LayoutAxis { kVertical, kHorizontal };

// Placement across the layout's axis: start (left or top), centre, end (right or bottom).
enum class CrossAlign { kStart, kCenter, kEnd };

struct BoxLayoutParams {
    IntRect rect;
    IntRect inset;
    int childPadding = 0;  // negative counts as 0
    LayoutAxis axis = LayoutAxis::kVertical;
    CrossAlign crossAlign = CrossAlign::kStart;
};

// The rectangle minus its inset; never inverted.
IntRect ShrinkRect(const IntRect& rect, const IntRect& inset);

// One rectangle per item; hidden and floating items get an empty rectangle and take no space.
// Fixed sizes are clamped to the item's minimum and maximum; the other items share what the
// fixed ones and the paddings leave equally (integer quotient), the last of them taking the
// remainder; no share is negative.
std::vector<IntRect> LayoutBox(const BoxLayoutParams& params, const std::vector<LayoutItem>& items);

// An item placed at the top-left of |area| with its fixed size (or the area's), clamped to its
// minimum and maximum and to the area.
IntRect PlaceInArea(const IntRect& area, const LayoutItem& item);

// Relative placement of a floating item: each edge lies at a fraction of the parent's width
// or height, plus the offset of the matching edge of |pos|.
struct FloatAnchors {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// A floating item: |pos| relative to the parent's top-left corner; a fixed width or height
// replaces the one of |pos|. With |anchors| the edges follow the parent's size.
IntRect PlaceFloating(const IntRect& parent, const IntRect& pos, const LayoutItem& item,
                      const FloatAnchors* anchors);

}  // namespace SkinUI
