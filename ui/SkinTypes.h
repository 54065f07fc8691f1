// Plain geometry and text-style values of the toolkit's model (rectangles, points, sizes).
// No Windows header: the model is also built natively under the sanitizers.
#pragma once

#include <cstdint>

namespace SkinUI {

struct SkinPoint {
    int x = 0;
    int y = 0;
};

struct SkinSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const SkinSize& other) const { return cx == other.cx && cy == other.cy; }
    bool operator!=(const SkinSize& other) const { return !(*this == other); }
};

// Same meaning as a Windows RECT: right and bottom are exclusive.
struct SkinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(SkinPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool operator==(const SkinRect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
    bool operator!=(const SkinRect& other) const { return !(*this == other); }
};

// The common part of two rectangles; empty (all zero) when they do not overlap.
inline SkinRect IntersectRects(const SkinRect& a, const SkinRect& b) {
    SkinRect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
               a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    return r.IsEmpty() ? SkinRect{} : r;
}

// Text style bits. They have the values of the matching DrawText flags, so the drawing side
// can hand them on unchanged.
enum SkinTextStyle : uint32_t {
    kTextLeft = 0x0,
    kTextCenter = 0x1,
    kTextRight = 0x2,
    kTextHAlignMask = 0x3,
    kTextVCenter = 0x4,
    kTextBottom = 0x8,
    kTextWordBreak = 0x10,
    kTextSingleLine = 0x20,
    kTextNoPrefix = 0x800,
    kTextEndEllipsis = 0x8000,
};

}  // namespace SkinUI
