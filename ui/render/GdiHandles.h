// Owning wrappers for the GDI objects of the drawing code (bitmaps, fonts, regions, brushes,
// pens, icons) in the shape of common/WinHandle.h, plus scoped selection and DC state.
#pragma once

#include <windows.h>

#include "common/WinHandle.h"

namespace SkinUI {

template <typename T>
struct GdiTypedTraits {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};

struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DestroyIcon(h); }
};

using UniqueBitmap = UniqueHandleT<GdiTypedTraits<HBITMAP>>;
using UniqueFont = UniqueHandleT<GdiTypedTraits<HFONT>>;
using UniqueRegion = UniqueHandleT<GdiTypedTraits<HRGN>>;
using UniqueBrush = UniqueHandleT<GdiTypedTraits<HBRUSH>>;
using UniquePen = UniqueHandleT<GdiTypedTraits<HPEN>>;
using UniqueIcon = UniqueHandleT<IconTraits>;

// Selects an object into a DC for one scope and puts the previous one back, so that the
// object is never deleted while selected.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (old_ != nullptr && old_ != HGDI_ERROR) {
            ::SelectObject(dc_, old_);
        }
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// Saves the whole DC state (clip region, selections, colours, modes) for one scope.
class ScopedDcState {
  public:
    explicit ScopedDcState(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
    ~ScopedDcState() {
        if (saved_ != 0) {
            ::RestoreDC(dc_, saved_);
        }
    }
    ScopedDcState(const ScopedDcState&) = delete;
    ScopedDcState& operator=(const ScopedDcState&) = delete;

  private:
    HDC dc_;
    int saved_;
};

}  // namespace SkinUI
