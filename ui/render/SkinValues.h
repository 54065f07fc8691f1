// Plain geometry and colour values of the skin, and the readers of their attribute syntax.
// No Windows header: the descriptor and markup parsers built on this also run natively.
#pragma once

#include <cstdint>
#include <string_view>

namespace SkinUI {

// Colour as 0xAARRGGBB: alpha in the top byte, then red, green, blue.
using ArgbColor = uint32_t;

struct IntRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const IntRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

IntRect Intersect(const IntRect& a, const IntRect& b);

// Leading blanks, an optional sign, then decimal digits up to the first other character; no
// digits read as 0. Values beyond int saturate. |consumed| receives the characters used.
int ParseSkinInt(std::wstring_view text, size_t* consumed = nullptr);

// Only the exact lower-case "true" is true.
bool ParseSkinBool(std::wstring_view text);

// Optional leading blanks and "#", then up to eight hexadecimal digits: fewer digits give a
// smaller number, so "#33C08D" has alpha 0.
ArgbColor ParseSkinColor(std::wstring_view text);

// "left,top,right,bottom": each separator is exactly one arbitrary character. Missing
// numbers read as 0.
IntRect ParseSkinRect(std::wstring_view text);

}  // namespace SkinUI
