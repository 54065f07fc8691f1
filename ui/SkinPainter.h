// The hooks between the control model and the native window: ISkinPainter, through which a
// control paints itself with the drawing engine, and ISkinWindowHost, the window's side of
// invalidation and resizing. Both are implemented by the window code; the model only calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/SkinTypes.h"

namespace SkinUI {

// Where one link of a marked-up text was drawn (one entry per line it spans).
struct SkinLinkArea {
    int index = -1;  // the link's number in the text, from 0
    IntRect rect;
    bool operator==(const SkinLinkArea& o) const { return index == o.index && rect == o.rect; }
};

class ISkinPainter {
  public:
    // Background fill; the engine applies the alpha rules (alpha 0 draws nothing).
    virtual void FillColour(const IntRect& rect, uint32_t argb) = 0;
    // An image descriptor drawn relative to |rect| (its dest is relative to the top-left
    // corner and clamped to the rectangle). False when the image cannot be found or decoded;
    // the control then does not try that descriptor again.
    virtual bool DrawImage(const IntRect& rect, const std::wstring& descriptor) = 0;
    // One line or wrapped text; |style| holds SkinTextStyle bits, |colour| ignores alpha,
    // |fontId| -1 or an unknown identifier means the default font, |markup| turns on the
    // text markup: its links are drawn in the link colours (|hoverLink| in the hovered one)
    // and, with |links|, where they landed is stored there.
    virtual void DrawText(const IntRect& rect, const std::wstring& text, uint32_t colour,
                          int fontId, uint32_t style, bool markup, int hoverLink = -1,
                          std::vector<SkinLinkArea>* links = nullptr) = 0;
    // Border of per-side |widths|; a non-zero |round| draws a rounded rectangle instead.
    virtual void DrawBorder(const IntRect& rect, const IntRect& widths, uint32_t colour,
                            const SkinSize& round) = 0;
    // Everything painted until the matching PopClip stays inside |rect| (rounded when |round|
    // is not zero) and inside the clips pushed before.
    virtual void PushClip(const IntRect& rect, const SkinSize& round) = 0;
    virtual void PopClip() = 0;
    // The keyboard focus cue of a control whose skin gives no focus border: a dotted frame.
    virtual void DrawFocusRect(const IntRect& rect) = 0;

  protected:
    ~ISkinPainter() = default;
};

class ISkinWindowHost {
  public:
    // Part of the client area must be painted again.
    virtual void Invalidate(const IntRect& rect) = 0;
    // The skin's initial size: resize the window at once, without moving or activating it.
    virtual void ResizeWindow(int width, int height) = 0;
    // The controls must be laid out again before the next paint; the window arranges that
    // a paint (or a layout) follows soon.
    virtual void RequestLayout() = 0;
    // The manager's own timers, by an identifier the manager chose; false when the system
    // refused the timer.
    virtual bool StartTimer(uint32_t timerId, uint32_t elapse) = 0;
    virtual void StopTimer(uint32_t timerId) = 0;

  protected:
    ~ISkinWindowHost() = default;
};

}  // namespace SkinUI
