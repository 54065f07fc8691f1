// Geometry and text-style values of the toolkit's model: points and sizes next to the
// drawing engine's IntRect, and the text style bits. No Windows header.
#pragma once

#include <cstdint>

#include "ui/render/SkinValues.h"

namespace SkinUI {

struct SkinPoint {
    int x = 0;
    int y = 0;
};

struct SkinSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const SkinSize& other) const { return cx == other.cx && cy == other.cy; }
};

// Right and bottom are exclusive, as in a Windows RECT.
inline bool RectContains(const IntRect& r, SkinPoint p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
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
