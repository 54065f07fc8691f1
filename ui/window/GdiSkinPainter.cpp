#include "ui/window/GdiSkinPainter.h"

#include "ui/SkinManager.h"
#include "ui/render/ColorDraw.h"
#include "ui/render/ImageDraw.h"
#include "ui/render/MarkupDraw.h"
#include "ui/render/TextDraw.h"
#include "ui/render/TextMarkup.h"
#include "ui/window/SkinResources.h"

namespace SkinUI {

CGdiSkinPainter::CGdiSkinPainter(HDC dc, const RECT& paint, CSkinResources& resources,
                                 const CSkinManagerUI& manager)
    : dc_(dc), paint_(paint), resources_(resources), manager_(manager) {}

CGdiSkinPainter::~CGdiSkinPainter() {
    while (!clips_.empty()) {
        PopClip();  // innermost first
    }
}

void CGdiSkinPainter::FillColour(const IntRect& rect, uint32_t argb) {
    FillColor(dc_, ToRect(Intersect(rect, ToIntRect(paint_))), argb);
}

bool CGdiSkinPainter::DrawImage(const IntRect& rect, const std::wstring& descriptor) {
    return SkinUI::DrawImage(dc_, resources_.Images(), ToRect(rect),
                             resources_.Describe(descriptor), &paint_);
}

void CGdiSkinPainter::DrawText(const IntRect& rect, const std::wstring& text, uint32_t colour,
                               int fontId, uint32_t style, bool markup, int hoverLink,
                               std::vector<SkinLinkArea>* links) {
    // "{%n}" tokens name the skin's MultiLanguage texts.
    const std::wstring shown = ReplaceTextTokens(text, [this](int id, std::wstring& out) {
        const std::wstring* found = manager_.GetMultiLanguageString(id);
        if (found != nullptr) {
            out = *found;
        }
        return found != nullptr;
    });
    TextStyle base;
    base.font = resources_.Font(fontId);
    base.color = colour;
    const uint32_t align = style & kTextHAlignMask;
    base.align = align == kTextCenter  ? TextAlign::Center
                 : align == kTextRight ? TextAlign::Right
                                       : TextAlign::Left;
    base.wrap = (style & kTextWordBreak) != 0;
    base.rtlReading = manager_.IsRightToLeftReading();
    if (!markup) {
        DrawPlainText(dc_, ToRect(rect), shown, base);
        return;
    }
    MarkupDrawStyle rich;
    rich.text = base;
    const SkinDefaultColours& colours = manager_.GetDefaultColours();
    rich.linkColor = colours.link;
    rich.linkHoverColor = colours.linkHover;
    rich.selectedColor = colours.selectedBk;
    rich.hoverLink = hoverLink;
    rich.fontById = [this](int id) { return resources_.Font(id); };
    rich.images = &resources_.Images();
    std::vector<LinkArea> drawn;
    DrawMarkup(dc_, ToRect(rect), ParseMarkup(shown), rich, links != nullptr ? &drawn : nullptr);
    if (links != nullptr) {
        links->clear();
        for (const LinkArea& area : drawn) {
            links->push_back(SkinLinkArea{area.link, ToIntRect(area.rect)});
        }
    }
}

void CGdiSkinPainter::DrawBorder(const IntRect& rect, const IntRect& widths, uint32_t colour,
                                 const SkinSize& round) {
    if (round.cx > 0 || round.cy > 0) {
        DrawRoundBorder(dc_, ToRect(rect), widths.left, SIZE{round.cx, round.cy}, colour);
    } else {
        SkinUI::DrawBorder(dc_, ToRect(rect), ToRect(widths), colour);
    }
}

void CGdiSkinPainter::PushClip(const IntRect& rect, const SkinSize& round) {
    clips_.push_back(std::make_unique<ScopedDcState>(dc_));
    if (round.cx > 0 || round.cy > 0) {
        IntersectRoundClip(dc_, ToRect(rect), SIZE{round.cx, round.cy});
    } else {
        ::IntersectClipRect(dc_, rect.left, rect.top, rect.right, rect.bottom);
    }
}

void CGdiSkinPainter::PopClip() {
    if (!clips_.empty()) {
        clips_.pop_back();
    }
}

void CGdiSkinPainter::DrawFocusRect(const IntRect& rect) {
    if (rect.IsEmpty()) {
        return;
    }
    const RECT rc = ToRect(rect);
    ScopedDcState state(dc_);
    ::SetTextColor(dc_, RGB(0, 0, 0));
    ::SetBkColor(dc_, RGB(255, 255, 255));
    ::DrawFocusRect(dc_, &rc);
}

}  // namespace SkinUI
