// The image attribute of a skin control: a plain file name, or key='value' pairs that choose
// the file, the part of it, where it goes and how it is stretched. Parsing only; no drawing.
#pragma once

#include <string>
#include <string_view>

#include "ui/render/SkinValues.h"

namespace SkinUI {

struct ImageDescriptor {
    // Package entry or plain path ("file" or "res"); empty when the pairs named none.
    std::wstring file;
    // With a type the name is looked up among the executable's resources instead.
    std::wstring resourceType;
    bool hasColor = false;
    ArgbColor color = 0;
    // Relative to the control's top-left corner.
    bool hasDest = false;
    IntRect dest;
    bool hasSource = false;
    IntRect source;
    // Widths of the nine-grid borders that keep their size: left, top, right, bottom.
    IntRect corner;
    bool hasMask = false;
    ArgbColor mask = 0;
    int fade = 255;
    bool hole = false;
    bool xtiled = false;
    bool ytiled = false;
    bool hsl = false;
};

// Reads pairs from the start and stops at the first one that does not fit; what was read up
// to there counts, so a plain name (even one containing "=") stays whole.
ImageDescriptor ParseImageDescriptor(std::wstring_view text);

}  // namespace SkinUI
