// Draws an image descriptor into a control's rectangle: destination and source parts,
// nine-grid corners, hole, tiling, fade, mask and solid colour, with per-pixel alpha.
#pragma once

#include <windows.h>

#include <string_view>

#include "ui/render/ImageDescriptor.h"
#include "ui/render/SkinImage.h"

namespace SkinUI {

// Draws |d| into |control| (logical coordinates of |dc|; in a mirrored DC the image is
// mirrored with everything else). A "color" fills the destination instead of an image. "hsl"
// is read but not applied: there is no colour adjustment to apply.
// Returns false when the descriptor names no image, or one that cannot be found or decoded
// (nothing is drawn: the caller may fall back to another image and need not try this one
// again); true otherwise, also when nothing of it lies inside |control| or |paint|.
bool DrawImage(HDC dc, CImageCache& images, const RECT& control, const ImageDescriptor& d,
               const RECT* paint = nullptr);
bool DrawImage(HDC dc, CImageCache& images, const RECT& control, std::wstring_view descriptor,
               const RECT* paint = nullptr);

}  // namespace SkinUI
