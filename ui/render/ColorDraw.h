// Colours on a DC: the background fill with its alpha rules, straight and rounded borders,
// and the rounded clip of "borderround". Also the conversions between skin and GDI values.
#pragma once

#include <windows.h>

#include "ui/render/GdiHandles.h"
#include "ui/render/SkinValues.h"

namespace SkinUI {

inline COLORREF ToColorRef(ArgbColor c) {  // alpha ignored
    return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}
inline ArgbColor FromColorRef(COLORREF c) {  // opaque
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}
inline RECT ToRect(const IntRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}
inline IntRect ToIntRect(const RECT& r) {
    return IntRect{r.left, r.top, r.right, r.bottom};
}

// Background fill: alpha 0 draws nothing, alpha 0xFF fills opaquely, anything between is
// blended over what is there.
void FillColor(HDC dc, const RECT& rc, ArgbColor color);

// Solid bands inside |rc|, |sizes| giving the left, top, right and bottom widths. The alpha
// byte is ignored; a colour of exactly 0 means "not set" and draws nothing.
void DrawBorder(HDC dc, const RECT& rc, const RECT& sizes, ArgbColor color);

// A rounded-rectangle outline |width| pixels wide inside |rc|, corner ellipse |round|; colour
// as for DrawBorder.
void DrawRoundBorder(HDC dc, const RECT& rc, int width, SIZE round, ArgbColor color);

// Narrows the clip of |dc| to the rounded rectangle |rc| (logical coordinates, mirrored DCs
// included) within the clip already there. The caller saves and restores the DC state.
void IntersectRoundClip(HDC dc, const RECT& rc, SIZE round);

// Restricts everything drawn on |dc| during its life to the rounded rectangle |rc| (logical
// coordinates, mirrored DCs included) within the clip already there; restores it after.
class ScopedRoundClip {
  public:
    ScopedRoundClip(HDC dc, const RECT& rc, SIZE round);

  private:
    ScopedDcState state_;
};

}  // namespace SkinUI
