#include "ui/render/MarkupDraw.h"

#include "ui/render/ColorDraw.h"
#include "ui/render/ImageDraw.h"
#include "ui/render/MarkupLayout.h"

namespace SkinUI {
namespace {

int ItemTop(const MarkupLine& line, const MarkupItem& item, int lineTop) {
    const int itemHeight = item.ascent + item.descent;
    switch (item.run->style.valign) {
        case VerticalAlign::Top:
            return lineTop;
        case VerticalAlign::Center:
            return lineTop + (line.height - itemHeight) / 2;
        case VerticalAlign::Baseline:
        default:
            return lineTop + (line.height - line.ascent - line.descent) / 2 + line.ascent -
                   item.ascent;
    }
}

void AddLinkArea(std::vector<LinkArea>& links, int link, const RECT& rc) {
    for (LinkArea& area : links) {
        if (area.link == link && area.rect.top == rc.top && area.rect.bottom == rc.bottom &&
            (area.rect.right == rc.left || area.rect.left == rc.right)) {
            ::UnionRect(&area.rect, &area.rect, &rc);
            return;
        }
    }
    links.push_back({link, rc});
}

class MarkupPainter {
  public:
    MarkupPainter(HDC dc, const MarkupDrawStyle& style)
        : dc_(dc),
          style_(style),
          rtl_(style.text.rtlReading || IsMirrored(dc)),
          mirrorRuns_(style.text.rtlReading && !IsMirrored(dc)) {}

    void DrawLine(const MarkupLine& line, int left, int top, std::vector<LinkArea>* links) {
        size_t i = 0;
        while (i < line.items.size()) {
            // Neighbouring pieces of one run are drawn together, so the system orders the
            // characters of a mixed-direction run itself.
            size_t j = i + 1;
            std::wstring text = line.items[i].text;
            int width = line.items[i].width;
            while (!line.items[i].isImage && j < line.items.size() && !line.items[j].isImage &&
                   line.items[j].run == line.items[i].run) {
                text += line.items[j].text;
                width += line.items[j].width;
                ++j;
            }
            const MarkupItem& first = line.items[i];
            const MarkupStyle& s = first.run->style;
            // Read right to left, the runs follow one another from the line's right end (a
            // mirrored DC does that by itself); the system orders the characters within a run.
            const int x = mirrorRuns_ ? left + line.contentWidth - first.x - width : left + first.x;
            const RECT cell = {x, top, x + width, top + line.height};
            if (s.selected) {
                FillColor(dc_, cell, style_.selectedColor | 0xFF000000u);
            }
            const int y = ItemTop(line, first, top);
            if (first.isImage) {
                const RECT box = {x, y, x + width, y + first.ascent};
                DrawImage(dc_, *style_.images, box, first.image);
            } else {
                ::SelectObject(dc_, first.font);
                ::SetTextColor(dc_, ToColorRef(ColorOf(s)));
                // At the advances the layout measured, so runs meet where it placed them.
                DrawTextRun(dc_, x, y, text, rtl_ ? ETO_RTLREADING : 0);
            }
            if (links != nullptr && s.link >= 0) {
                AddLinkArea(*links, s.link, cell);
            }
            i = j;
        }
    }

  private:
    ArgbColor ColorOf(const MarkupStyle& s) const {
        if (s.link >= 0) {
            return s.link == style_.hoverLink ? style_.linkHoverColor : style_.linkColor;
        }
        return s.hasColor ? s.color : style_.text.color;
    }

    HDC dc_;
    const MarkupDrawStyle& style_;
    bool rtl_;
    bool mirrorRuns_;
};

}  // namespace

void DrawMarkup(HDC dc, const RECT& rc, const MarkupText& markup, const MarkupDrawStyle& style,
                std::vector<LinkArea>* links) {
    if (links != nullptr) {
        links->clear();
    }
    const RECT area = TextArea(rc, style.text);
    if (markup.runs.empty() || area.right <= area.left || area.bottom <= area.top) {
        return;
    }
    // The fonts outlive the saved state: restoring it deselects them before they are deleted.
    CMarkupFonts fonts(dc, style);
    ScopedDcState state(dc);
    ::IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    const int areaWidth = area.right - area.left;
    const std::vector<MarkupLine> lines =
        LayOutMarkup(dc, fonts, markup, style, style.text.wrap ? areaWidth : INT_MAX);

    const MarkupLine& last = lines.back();
    const int blockHeight = last.top + last.height;
    const int top =
        style.text.wrap ? area.top : area.top + (area.bottom - area.top - blockHeight) / 2;
    MarkupPainter painter(dc, style);
    for (const MarkupLine& line : lines) {
        int left = area.left;
        if (style.text.align == TextAlign::Center) {
            left += (areaWidth - line.contentWidth) / 2;
        } else if (style.text.align == TextAlign::Right) {
            left = area.right - line.contentWidth;
        }
        painter.DrawLine(line, left, top + line.top, links);
    }
}

int HitTestLinks(const std::vector<LinkArea>& links, POINT pt) {
    for (const LinkArea& area : links) {
        if (::PtInRect(&area.rect, pt)) {
            return area.link;
        }
    }
    return -1;
}

}  // namespace SkinUI