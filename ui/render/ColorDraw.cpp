#include "ui/render/ColorDraw.h"

#include <algorithm>

#include "ui/render/DibSurface.h"

namespace SkinUI {
namespace {

void FillSolid(HDC dc, const RECT& rc, COLORREF color) {
    if (rc.right <= rc.left || rc.bottom <= rc.top) {
        return;
    }
    // A brush rather than ExtTextOut's opaque rectangle, which lands one pixel off in mirrored
    // DCs under Wine.
    UniqueBrush brush(::CreateSolidBrush(color));
    if (brush) {
        ::FillRect(dc, &rc, brush.get());
    }
}

}  // namespace

void FillColor(HDC dc, const RECT& rc, ArgbColor color) {
    const unsigned alpha = color >> 24;
    if (alpha == 0 || rc.right <= rc.left || rc.bottom <= rc.top) {
        return;
    }
    if (alpha == 0xFF) {
        FillSolid(dc, rc, ToColorRef(color));
        return;
    }
    // One opaque pixel of the colour, stretched with a constant opacity.
    DibSurface pixel;
    if (!pixel.Create(1, 1)) {
        return;
    }
    pixel.Fill(color | 0xFF000000u);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    ::AlphaBlend(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, pixel.Dc(), 0, 0, 1,
                 1, blend);
}

void DrawBorder(HDC dc, const RECT& rc, const RECT& sizes, ArgbColor color) {
    if (color == 0) {
        return;
    }
    const COLORREF c = ToColorRef(color);
    const LONG top = std::min(rc.bottom, rc.top + std::max(sizes.top, 0L));
    const LONG bottom = std::max(top, rc.bottom - std::max(sizes.bottom, 0L));
    FillSolid(dc, {rc.left, rc.top, rc.right, top}, c);
    FillSolid(dc, {rc.left, bottom, rc.right, rc.bottom}, c);
    const LONG left = std::min(rc.right, rc.left + std::max(sizes.left, 0L));
    const LONG right = std::max(left, rc.right - std::max(sizes.right, 0L));
    FillSolid(dc, {rc.left, top, left, bottom}, c);
    FillSolid(dc, {right, top, rc.right, bottom}, c);
}

void DrawRoundBorder(HDC dc, const RECT& rc, int width, SIZE round, ArgbColor color) {
    if (color == 0 || width <= 0) {
        return;
    }
    UniquePen pen(::CreatePen(PS_SOLID | PS_INSIDEFRAME, width, ToColorRef(color)));
    if (!pen) {
        return;
    }
    ScopedSelect selectPen(dc, pen.get());
    ScopedSelect selectBrush(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, round.cx, round.cy);
}

ScopedRoundClip::ScopedRoundClip(HDC dc, const RECT& rc, SIZE round) : state_(dc) {
    IntersectRoundClip(dc, rc, round);
}

void IntersectRoundClip(HDC dc, const RECT& rc, SIZE round) {
    // Clip regions are in device units, which GDI itself mirrors for a mirrored DC; only the
    // origins are applied here. (Clip paths are mirrored twice under Wine.)
    POINT window = {}, viewport = {};
    ::GetWindowOrgEx(dc, &window);
    ::GetViewportOrgEx(dc, &viewport);
    const LONG dx = viewport.x - window.x;
    const LONG dy = viewport.y - window.y;
    UniqueRegion region(::CreateRoundRectRgn(rc.left + dx, rc.top + dy, rc.right + dx + 1,
                                             rc.bottom + dy + 1, round.cx, round.cy));
    if (region) {
        ::ExtSelectClipRgn(dc, region.get(), RGN_AND);
    }
}

}  // namespace SkinUI
