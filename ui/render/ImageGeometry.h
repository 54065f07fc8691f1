// Where the pieces of a skin image go: the destination inside its control, the clamped
// source, nine-grid and tile pieces, and the progress bar's fill. Pure arithmetic.
#pragma once

#include <vector>

#include "ui/render/ImageDescriptor.h"
#include "ui/render/SkinValues.h"

namespace SkinUI {

// The descriptor's "dest" placed at the control's top-left corner and clamped to the
// control; the whole control without one. Empty when nothing of it lies inside.
IntRect ResolveDestRect(const IntRect& control, const ImageDescriptor& d);

// The descriptor's "source" clamped to the image; the whole image without one.
IntRect ResolveSourceRect(const ImageDescriptor& d, int imageWidth, int imageHeight);

// One blit: |source| (image pixels) stretched onto |dest|.
struct ImagePiece {
    IntRect dest;
    IntRect source;
};

// The nine pieces of |source| drawn onto |dest| with the |corner| widths kept unscaled
// (shrunk proportionally when they do not fit), minus the centre with |hole|. Without
// corners this is the single piece source -> dest. Empty pieces are left out.
std::vector<ImagePiece> NineGridPieces(const IntRect& dest, const IntRect& source,
                                       const IntRect& corner, bool hole);

// Splits one piece into unscaled tiles along the tiled axes (the last tile cut short); an axis
// that is not tiled stays stretched. A piece that would need more than |maxTiles| tiles is
// returned stretched instead.
std::vector<ImagePiece> TilePiece(const ImagePiece& piece, bool xtiled, bool ytiled,
                                  int maxTiles = 4096);

// The filled part of a progress bar: min..max (max becomes min + 1 when min is not below it),
// value clamped into it; a horizontal bar fills from the left edge, a vertical one from the
// bottom.
IntRect ProgressFillRect(const IntRect& control, int value, int min, int max,
                         bool horizontal = true);

}  // namespace SkinUI
