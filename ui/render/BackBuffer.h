// Double buffering for WM_PAINT: a client-sized DIB section in the layout of the paint DC
// (mirrored windows included), copied with one BitBlt; and the alpha repair that GDI text
// needs before a 32-bit layer is blended with per-pixel alpha.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/render/DibSurface.h"

namespace SkinUI {

// Usage in WM_PAINT:
//   PAINTSTRUCT ps; HDC dc = BeginPaint(hwnd, &ps);
//   RECT client; GetClientRect(hwnd, &client);
//   if (buffer.Begin(dc, client.right, client.bottom, ps.rcPaint)) {
//       ... draw into buffer.Dc(), clipped to ps.rcPaint ...
//       buffer.Present(dc, ps.rcPaint);
//   }
//   EndPaint(hwnd, &ps);
class CBackBuffer {
  public:
    // Makes the buffer |width| x |height| in |target|'s layout (kept from the last paint when
    // both match) and clips it to |paint|. The pixels keep what the last paint left.
    bool Begin(HDC target, int width, int height, const RECT& paint);
    HDC Dc() const { return surface_.Dc(); }
    DibSurface& Surface() { return surface_; }
    // Copies |area| (logical coordinates, the same in both DCs) to |target|.
    bool Present(HDC target, const RECT& area) const;

  private:
    DibSurface surface_;
    DWORD layout_ = 0;
};

// GDI text drawn into a 32-bit DIB section leaves alpha 0 in the pixels it touches, which
// per-pixel alpha blending then treats as transparent. While one of these lives, every pixel
// of |rc| (logical coordinates of |dc|) carries a marker alpha; when it ends, pixels whose
// alpha GDI cleared become opaque and the others get their alpha back. A DC that holds no
// 32-bit DIB section is left alone.
class ScopedTextAlpha {
  public:
    ScopedTextAlpha(HDC dc, const RECT& rc);
    ~ScopedTextAlpha();
    ScopedTextAlpha(const ScopedTextAlpha&) = delete;
    ScopedTextAlpha& operator=(const ScopedTextAlpha&) = delete;

  private:
    uint32_t* pixels_ = nullptr;
    long stride_ = 0;  // pixels per row; negative for bottom-up bitmaps
    RECT device_ = {};
    std::vector<uint8_t> savedAlpha_;
};

// The device rectangle of |rc| on |dc| (mirroring and origins applied), clipped to the
// bitmap selected into it. Empty when none is selected.
RECT DeviceRectOf(HDC dc, const RECT& rc);

}  // namespace SkinUI
