#include "ui/render/BackBuffer.h"

#include <algorithm>
#include <utility>

namespace SkinUI {
namespace {

constexpr uint8_t kUntouchedAlpha = 1;

struct DibView {
    uint32_t* pixels = nullptr;
    long width = 0;
    long height = 0;
    long stride = 0;  // negative: bottom-up rows
};

DibView ViewOf(HDC dc) {
    DIBSECTION dib = {};
    HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) ||
        dib.dsBm.bmBits == nullptr || dib.dsBm.bmBitsPixel != 32) {
        return DibView{};
    }
    DibView view;
    view.width = dib.dsBm.bmWidth;
    view.height = dib.dsBm.bmHeight;
    const bool bottomUp = dib.dsBmih.biHeight > 0;
    uint32_t* base = static_cast<uint32_t*>(dib.dsBm.bmBits);
    view.pixels = bottomUp ? base + (view.height - 1) * view.width : base;
    view.stride = bottomUp ? -view.width : view.width;
    return view;
}

}  // namespace

bool CBackBuffer::Begin(HDC target, int width, int height, const RECT& paint) {
    const DWORD layout = ::GetLayout(target) & LAYOUT_RTL;
    if (!surface_.Valid() || surface_.Width() != width || surface_.Height() != height ||
        layout_ != layout) {
        if (!surface_.Create(width, height, layout)) {
            return false;
        }
        layout_ = layout;
    }
    ::SelectClipRgn(surface_.Dc(), nullptr);
    ::IntersectClipRect(surface_.Dc(), paint.left, paint.top, paint.right, paint.bottom);
    return true;
}

bool CBackBuffer::Present(HDC target, const RECT& area) const {
    if (!surface_.Valid()) {
        return false;
    }
    // Copied pixel for pixel: a blit between two mirrored DCs would mirror the picture again.
    const RECT device = DeviceRectOf(surface_.Dc(), area);
    const DWORD targetLayout = ::GetLayout(target);
    ::SetLayout(target, 0);
    ::SetLayout(surface_.Dc(), 0);
    const BOOL copied =
        ::BitBlt(target, device.left, device.top, device.right - device.left,
                 device.bottom - device.top, surface_.Dc(), device.left, device.top, SRCCOPY);
    ::SetLayout(surface_.Dc(), layout_);
    ::SetLayout(target, targetLayout);
    return copied != FALSE;
}

RECT DeviceRectOf(HDC dc, const RECT& rc) {
    const DibView view = ViewOf(dc);
    POINT corners[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
    if (view.pixels == nullptr || !::LPtoDP(dc, corners, 2)) {
        return RECT{};
    }
    RECT device = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    if (device.left > device.right) {
        // A mirrored DC maps the pixel column x to (width - 1 - x).
        device = {corners[1].x + 1, device.top, corners[0].x + 1, device.bottom};
    }
    if (device.top > device.bottom) {
        std::swap(device.top, device.bottom);
    }
    device.left = std::clamp(device.left, 0L, view.width);
    device.right = std::clamp(device.right, device.left, view.width);
    device.top = std::clamp(device.top, 0L, view.height);
    device.bottom = std::clamp(device.bottom, device.top, view.height);
    return device;
}

ScopedTextAlpha::ScopedTextAlpha(HDC dc, const RECT& rc) {
    const DibView view = ViewOf(dc);
    device_ = DeviceRectOf(dc, rc);
    const long w = device_.right - device_.left;
    const long h = device_.bottom - device_.top;
    if (view.pixels == nullptr || w <= 0 || h <= 0) {
        return;
    }
    ::GdiFlush();
    pixels_ = view.pixels;
    stride_ = view.stride;
    savedAlpha_.resize(static_cast<size_t>(w) * h);
    size_t k = 0;
    for (long y = device_.top; y < device_.bottom; ++y) {
        uint32_t* row = pixels_ + y * stride_;
        for (long x = device_.left; x < device_.right; ++x, ++k) {
            savedAlpha_[k] = static_cast<uint8_t>(row[x] >> 24);
            row[x] = (row[x] & 0x00FFFFFFu) | (uint32_t{kUntouchedAlpha} << 24);
        }
    }
}

ScopedTextAlpha::~ScopedTextAlpha() {
    if (pixels_ == nullptr) {
        return;
    }
    ::GdiFlush();
    size_t k = 0;
    for (long y = device_.top; y < device_.bottom; ++y) {
        uint32_t* row = pixels_ + y * stride_;
        for (long x = device_.left; x < device_.right; ++x, ++k) {
            const uint32_t alpha = (row[x] >> 24) == 0 ? 0xFFu : savedAlpha_[k];
            row[x] = (row[x] & 0x00FFFFFFu) | (alpha << 24);
        }
    }
}

}  // namespace SkinUI
