#include "ui/render/MarkupDraw.h"

#include <algorithm>
#include <climits>
#include <map>
#include <tuple>

#include "ui/render/ColorDraw.h"
#include "ui/render/GdiHandles.h"
#include "ui/render/ImageDraw.h"
#include "ui/render/ImageGeometry.h"
#include "ui/render/SkinFont.h"

namespace SkinUI {
namespace {

// Ideographs and Hangul break anywhere; other scripts at blanks.
bool BreaksAnywhere(wchar_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

int Length(const std::wstring& s) {
    return static_cast<int>(std::min<size_t>(s.size(), INT_MAX / 2));
}

// The fonts of the runs, derived from the base font once per style.
class FontSet {
  public:
    FontSet(HDC dc, const MarkupDrawStyle& style)
        : dc_(dc),
          style_(style),
          base_(style.text.font != nullptr ? style.text.font
                                           : static_cast<HFONT>(::GetCurrentObject(dc, OBJ_FONT))) {
    }

    HFONT Base() const { return base_; }

    HFONT For(const MarkupStyle& s) {
        const MarkupFont& f = s.font;
        HFONT base = base_;
        if (f.id >= 0 && style_.fontById) {
            if (HFONT byId = style_.fontById(f.id)) {
                base = byId;
            }
        }
        const bool bold = s.bold || f.bold;
        const bool italic = s.italic || f.italic;
        const bool underline = s.underline || f.underline || s.link >= 0;
        if (!bold && !italic && !underline && f.face.empty() && f.size <= 0) {
            return base;
        }
        const Key key{base, f.face, f.size, bold, italic, underline};
        auto it = derived_.find(key);
        if (it == derived_.end()) {
            it = derived_.emplace(key, DeriveFont(base, bold, italic, underline, f.face, f.size))
                     .first;
        }
        return it->second ? it->second.get() : base;
    }

    const TEXTMETRICW& Metrics(HFONT font) {
        auto it = metrics_.find(font);
        if (it == metrics_.end()) {
            TEXTMETRICW tm = {};
            ::SelectObject(dc_, font);
            ::GetTextMetricsW(dc_, &tm);
            it = metrics_.emplace(font, tm).first;
        }
        return it->second;
    }

  private:
    using Key = std::tuple<HFONT, std::wstring, int, bool, bool, bool>;
    HDC dc_;
    const MarkupDrawStyle& style_;
    HFONT base_;
    std::map<Key, UniqueFont> derived_;
    std::map<HFONT, TEXTMETRICW> metrics_;
};

struct Item {
    const MarkupRun* run = nullptr;
    std::wstring text;  // text items
    ImageDescriptor image;
    bool isImage = false;
    bool blank = false;  // spaces, dropped where a line wraps
    HFONT font = nullptr;
    int x = 0;
    int width = 0;
    int ascent = 0;
    int descent = 0;
};

struct Line {
    std::vector<Item> items;
    int width = 0;         // pen position
    int contentWidth = 0;  // without trailing blanks
    int ascent = 0;
    int descent = 0;
    int minHeight = 0;  // {y}
    int gapAfter = 0;   // paragraph spacing
    int top = 0;
    int height = 0;
};

class LayoutBuilder {
  public:
    LayoutBuilder(HDC dc, FontSet& fonts, const MarkupDrawStyle& style, int maxWidth)
        : dc_(dc), fonts_(fonts), style_(style), wrap_(style.text.wrap), maxWidth_(maxWidth) {
        const TEXTMETRICW& tm = fonts_.Metrics(fonts_.Base());
        baseAscent_ = tm.tmAscent;
        baseDescent_ = tm.tmDescent;
        lines_.emplace_back();
    }

    std::vector<Line> Build(const MarkupText& markup) {
        for (const MarkupRun& run : markup.runs) {
            Current().minHeight = std::max(Current().minHeight, run.style.lineHeight);
            switch (run.kind) {
                case MarkupRun::Kind::Text:
                    AddText(run);
                    break;
                case MarkupRun::Kind::LineBreak:
                    NewLine(false);
                    break;
                case MarkupRun::Kind::ParagraphBreak:
                    Current().gapAfter = (baseAscent_ + baseDescent_) / 3;
                    NewLine(false);
                    break;
                case MarkupRun::Kind::Image:
                    AddImage(run);
                    break;
                case MarkupRun::Kind::Offset:
                    Current().width = std::max(Current().width + run.offset, 0);
                    Current().contentWidth = std::max(Current().contentWidth, Current().width);
                    break;
            }
        }
        int top = 0;
        for (Line& line : lines_) {
            if (line.items.empty() || line.ascent + line.descent == 0) {
                line.ascent = std::max(line.ascent, baseAscent_);
                line.descent = std::max(line.descent, baseDescent_);
            }
            line.height = std::max(line.ascent + line.descent, line.minHeight);
            line.top = top;
            top += line.height + line.gapAfter;
        }
        return std::move(lines_);
    }

  private:
    Line& Current() { return lines_.back(); }

    void NewLine(bool wrapped) {
        lines_.emplace_back();
        afterWrap_ = wrapped;
    }

    bool Fits(int width) const {
        return !wrap_ || lines_.back().items.empty() || lines_.back().width + width <= maxWidth_;
    }

    void Place(Item item) {
        Line& line = Current();
        item.x = line.width;
        line.width += item.width;
        if (!item.blank) {
            line.contentWidth = line.width;
        }
        line.ascent = std::max(line.ascent, item.ascent);
        line.descent = std::max(line.descent, item.descent);
        line.items.push_back(std::move(item));
        afterWrap_ = false;
    }

    int TextWidth(const std::wstring& text) const {
        SIZE size = {};
        ::GetTextExtentPoint32W(dc_, text.c_str(), Length(text), &size);
        return size.cx;
    }

    void AddText(const MarkupRun& run) {
        Item proto;
        proto.run = &run;
        proto.font = fonts_.For(run.style);
        const TEXTMETRICW& tm = fonts_.Metrics(proto.font);
        proto.ascent = tm.tmAscent;
        proto.descent = tm.tmDescent;
        ::SelectObject(dc_, proto.font);

        const std::wstring& text = run.text;
        size_t i = 0;
        while (i < text.size()) {
            size_t j = i + 1;
            const bool blank = text[i] == L' ';
            if (blank) {
                while (j < text.size() && text[j] == L' ') {
                    ++j;
                }
            } else if (!BreaksAnywhere(text[i])) {
                while (j < text.size() && text[j] != L' ' && !BreaksAnywhere(text[j])) {
                    ++j;
                }
            }
            AddToken(proto, text.substr(i, j - i), blank);
            i = j;
        }
    }

    void AddToken(const Item& proto, std::wstring token, bool blank) {
        if (blank && afterWrap_) {
            return;
        }
        int width = TextWidth(token);
        if (!blank && !Fits(width)) {
            NewLine(true);
        }
        // A word longer than a whole line is cut where it stops fitting.
        while (wrap_ && !blank && width > maxWidth_ && Current().items.empty() &&
               token.size() > 1) {
            int fit = 0;
            SIZE unused = {};
            ::GetTextExtentExPointW(dc_, token.c_str(), Length(token), std::max(maxWidth_, 0), &fit,
                                    nullptr, &unused);
            size_t cut = static_cast<size_t>(std::clamp(fit, 1, Length(token) - 1));
            if (IS_HIGH_SURROGATE(token[cut - 1])) {
                cut = cut > 1 ? cut - 1 : cut + 1;
            }
            if (cut >= token.size()) {
                break;
            }
            Item part = proto;
            part.text = token.substr(0, cut);
            part.width = TextWidth(part.text);
            Place(std::move(part));
            NewLine(true);
            token.erase(0, cut);
            width = TextWidth(token);
        }
        Item item = proto;
        item.text = std::move(token);
        item.blank = blank;
        item.width = width;
        Place(std::move(item));
    }

    void AddImage(const MarkupRun& run) {
        if (style_.images == nullptr) {
            return;
        }
        Item item;
        item.run = &run;
        item.isImage = true;
        item.image = ParseImageDescriptor(run.text);
        const SkinImage* image = style_.images->Get(item.image);
        if (image == nullptr) {
            return;
        }
        const IntRect source = ResolveSourceRect(item.image, image->width, image->height);
        item.width = source.Width();
        item.ascent = source.Height();
        if (!Fits(item.width)) {
            NewLine(true);
        }
        Place(std::move(item));
    }

    HDC dc_;
    FontSet& fonts_;
    const MarkupDrawStyle& style_;
    bool wrap_;
    int maxWidth_;
    int baseAscent_ = 0;
    int baseDescent_ = 0;
    bool afterWrap_ = false;
    std::vector<Line> lines_;
};

int ItemTop(const Line& line, const Item& item, int lineTop) {
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
        : dc_(dc), style_(style), rtl_(IsMirrored(dc)) {}

    void DrawLine(const Line& line, int left, int top, std::vector<LinkArea>* links) {
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
            const Item& first = line.items[i];
            const MarkupStyle& s = first.run->style;
            const int x = left + first.x;
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
                ::ExtTextOutW(dc_, x, y, rtl_ ? ETO_RTLREADING : 0, nullptr, text.c_str(),
                              Length(text), nullptr);
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
    ScopedDcState state(dc);
    ::IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    FontSet fonts(dc, style);
    const int areaWidth = area.right - area.left;
    const std::vector<Line> lines =
        LayoutBuilder(dc, fonts, style, style.text.wrap ? areaWidth : INT_MAX).Build(markup);

    const Line& last = lines.back();
    const int blockHeight = last.top + last.height;
    const int top =
        style.text.wrap ? area.top : area.top + (area.bottom - area.top - blockHeight) / 2;
    MarkupPainter painter(dc, style);
    for (const Line& line : lines) {
        int left = area.left;
        if (style.text.align == TextAlign::Center) {
            left += (areaWidth - line.contentWidth) / 2;
        } else if (style.text.align == TextAlign::Right) {
            left = area.right - line.contentWidth;
        }
        painter.DrawLine(line, left, top + line.top, links);
    }
}

SIZE MeasureMarkup(HDC dc, const MarkupText& markup, const MarkupDrawStyle& style, int maxWidth) {
    if (markup.runs.empty()) {
        return SIZE{0, 0};
    }
    ScopedDcState state(dc);
    FontSet fonts(dc, style);
    const std::vector<Line> lines =
        LayoutBuilder(dc, fonts, style, style.text.wrap ? maxWidth : INT_MAX).Build(markup);
    SIZE size = {0, lines.back().top + lines.back().height};
    for (const Line& line : lines) {
        size.cx = std::max<LONG>(size.cx, line.contentWidth);
    }
    return size;
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
