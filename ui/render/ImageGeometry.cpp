#include "ui/render/ImageGeometry.h"

#include <algorithm>
#include <cstdint>

namespace SkinUI {
namespace {

// Border widths |a| + |b| squeezed into |space|, keeping their ratio.
void FitBorders(int space, int& a, int& b) {
    a = std::max(a, 0);
    b = std::max(b, 0);
    if (a + b <= space) {
        return;
    }
    const int total = a + b;
    a = static_cast<int>(static_cast<int64_t>(std::max(space, 0)) * a / total);
    b = std::max(space, 0) - a;
}

// extent * part / whole without overflow, for 0 <= part <= whole and whole > 0.
int64_t ScaleExact(int64_t extent, int64_t part, int64_t whole) {
    const uint64_t q = static_cast<uint64_t>(extent) / static_cast<uint64_t>(whole);
    const uint64_t r = static_cast<uint64_t>(extent) % static_cast<uint64_t>(whole);
    return static_cast<int64_t>(q * part + r * static_cast<uint64_t>(part) / whole);
}

void AddPiece(std::vector<ImagePiece>& out, const IntRect& dest, const IntRect& source) {
    if (!dest.IsEmpty() && !source.IsEmpty()) {
        out.push_back({dest, source});
    }
}

}  // namespace

IntRect ResolveDestRect(const IntRect& control, const ImageDescriptor& d) {
    if (!d.hasDest) {
        return control.IsEmpty() ? IntRect{} : control;
    }
    const IntRect placed{control.left + d.dest.left, control.top + d.dest.top,
                         control.left + d.dest.right, control.top + d.dest.bottom};
    return Intersect(placed, control);
}

IntRect ResolveSourceRect(const ImageDescriptor& d, int imageWidth, int imageHeight) {
    const IntRect image{0, 0, imageWidth, imageHeight};
    if (!d.hasSource) {
        return image.IsEmpty() ? IntRect{} : image;
    }
    return Intersect(d.source, image);
}

std::vector<ImagePiece> NineGridPieces(const IntRect& dest, const IntRect& source,
                                       const IntRect& corner, bool hole) {
    std::vector<ImagePiece> pieces;
    if (dest.IsEmpty() || source.IsEmpty()) {
        return pieces;
    }
    int sl = corner.left, sr = corner.right, st = corner.top, sb = corner.bottom;
    FitBorders(source.Width(), sl, sr);
    FitBorders(source.Height(), st, sb);
    if (sl == 0 && sr == 0 && st == 0 && sb == 0) {
        if (!hole) {
            pieces.push_back({dest, source});
        }
        return pieces;
    }
    int dl = sl, dr = sr, dt = st, db = sb;
    FitBorders(dest.Width(), dl, dr);
    FitBorders(dest.Height(), dt, db);

    const int dx[4] = {dest.left, dest.left + dl, dest.right - dr, dest.right};
    const int dy[4] = {dest.top, dest.top + dt, dest.bottom - db, dest.bottom};
    const int sx[4] = {source.left, source.left + sl, source.right - sr, source.right};
    const int sy[4] = {source.top, source.top + st, source.bottom - sb, source.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (hole && row == 1 && col == 1) {
                continue;
            }
            AddPiece(pieces, {dx[col], dy[row], dx[col + 1], dy[row + 1]},
                     {sx[col], sy[row], sx[col + 1], sy[row + 1]});
        }
    }
    return pieces;
}

std::vector<ImagePiece> TilePiece(const ImagePiece& piece, bool xtiled, bool ytiled, int maxTiles) {
    const IntRect& d = piece.dest;
    const IntRect& s = piece.source;
    if (d.IsEmpty() || s.IsEmpty()) {
        return {};
    }
    const int64_t columns = xtiled ? (d.Width() + s.Width() - 1) / s.Width() : 1;
    const int64_t rows = ytiled ? (d.Height() + s.Height() - 1) / s.Height() : 1;
    if (columns * rows > maxTiles) {
        return {piece};
    }
    std::vector<ImagePiece> tiles;
    tiles.reserve(static_cast<size_t>(columns * rows));
    for (int y = d.top; y < d.bottom;) {
        const int h = ytiled ? std::min(s.Height(), d.bottom - y) : d.Height();
        const int srcH = ytiled ? h : s.Height();
        for (int x = d.left; x < d.right;) {
            const int w = xtiled ? std::min(s.Width(), d.right - x) : d.Width();
            const int srcW = xtiled ? w : s.Width();
            tiles.push_back({{x, y, x + w, y + h}, {s.left, s.top, s.left + srcW, s.top + srcH}});
            x += w;
        }
        y += h;
    }
    return tiles;
}

IntRect ProgressFillRect(const IntRect& control, int value, int min, int max, bool horizontal) {
    const int64_t low = min;
    const int64_t high = (min < max) ? max : low + 1;
    const int64_t v = std::clamp<int64_t>(value, low, high);
    IntRect fill = control;
    if (horizontal) {
        const int64_t width = std::max(control.Width(), 0);
        fill.right = control.left + static_cast<int>(ScaleExact(width, v - low, high - low));
    } else {
        const int64_t height = std::max(control.Height(), 0);
        fill.top = control.bottom - static_cast<int>(ScaleExact(height, v - low, high - low));
    }
    return fill;
}

}  // namespace SkinUI
