// Measures and draws parsed text markup ("showhtml") with GDI: styled runs laid out in lines,
// links in their colours, and the rectangles of the links for the caller's hit testing.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/render/SkinImage.h"
#include "ui/render/TextDraw.h"
#include "ui/render/TextMarkup.h"

namespace SkinUI {

struct MarkupDrawStyle {
    TextStyle text;  // base font, default colour, alignment, wrapping, padding
    ArgbColor linkColor = 0xFF0000FF;
    ArgbColor linkHoverColor = 0xFFD3215F;
    ArgbColor selectedColor = 0xFFBAE4FF;
    int hoverLink = -1;  // the link drawn in the hover colour
    // Fonts of {f n}; without it, or when it yields nullptr, the base font is used.
    std::function<HFONT(int id)> fontById;
    // Inline images of {i name}; left out without a cache.
    CImageCache* images = nullptr;
};

// One line's part of a link, in the DC's logical coordinates.
struct LinkArea {
    int link;  // index into MarkupText::links
    RECT rect;
};

// Draws |markup| into |rc| like DrawPlainText: one vertically centred block of lines (explicit
// breaks only) or word-wrapped lines from the top, each line aligned on its own. Fills
// |links| (when given) with where each link was drawn.
void DrawMarkup(HDC dc, const RECT& rc, const MarkupText& markup, const MarkupDrawStyle& style,
                std::vector<LinkArea>* links = nullptr);

// The link under |pt|, or -1.
int HitTestLinks(const std::vector<LinkArea>& links, POINT pt);

}  // namespace SkinUI
