#include "ui/render/MarkupLayout.h"

#include "ui/render/ImageGeometry.h"
#include "ui/render/SkinFont.h"

namespace SkinUI {
namespace {

// Ideographs and Hangul break anywhere; other scripts at blanks.
bool BreaksAnywhere(wchar_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

class LayoutBuilder {
  public:
    LayoutBuilder(HDC dc, CMarkupFonts& fonts, const MarkupDrawStyle& style, int maxWidth)
        : dc_(dc), fonts_(fonts), style_(style), wrap_(style.text.wrap), maxWidth_(maxWidth) {
        const TEXTMETRICW& tm = fonts_.Metrics(fonts_.Base());
        baseAscent_ = tm.tmAscent;
        baseDescent_ = tm.tmDescent;
        lines_.emplace_back();
    }

    std::vector<MarkupLine> Build(const MarkupText& markup) {
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
        for (MarkupLine& line : lines_) {
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
    MarkupLine& Current() { return lines_.back(); }

    void NewLine(bool wrapped) {
        lines_.emplace_back();
        afterWrap_ = wrapped;
    }

    bool Fits(int width) const {
        return !wrap_ || lines_.back().items.empty() || lines_.back().width + width <= maxWidth_;
    }

    void Place(MarkupItem item) {
        MarkupLine& line = Current();
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
        return MeasureTextWidth(dc_, text, style_.text.rtlReading);
    }

    void AddText(const MarkupRun& run) {
        MarkupItem proto;
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

    void AddToken(const MarkupItem& proto, std::wstring token, bool blank) {
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
            ::GetTextExtentExPointW(dc_, token.c_str(), TextLength(token), std::max(maxWidth_, 0),
                                    &fit, nullptr, &unused);
            size_t cut = static_cast<size_t>(std::clamp(fit, 1, TextLength(token) - 1));
            if (IS_HIGH_SURROGATE(token[cut - 1])) {
                cut = cut > 1 ? cut - 1 : cut + 1;
            }
            if (cut >= token.size()) {
                break;
            }
            MarkupItem part = proto;
            part.text = token.substr(0, cut);
            part.width = TextWidth(part.text);
            Place(std::move(part));
            NewLine(true);
            token.erase(0, cut);
            width = TextWidth(token);
        }
        MarkupItem item = proto;
        item.text = std::move(token);
        item.blank = blank;
        item.width = width;
        Place(std::move(item));
    }

    void AddImage(const MarkupRun& run) {
        if (style_.images == nullptr) {
            return;
        }
        MarkupItem item;
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
    CMarkupFonts& fonts_;
    const MarkupDrawStyle& style_;
    bool wrap_;
    int maxWidth_;
    int baseAscent_ = 0;
    int baseDescent_ = 0;
    bool afterWrap_ = false;
    std::vector<MarkupLine> lines_;
};

}  // namespace

CMarkupFonts::CMarkupFonts(HDC dc, const MarkupDrawStyle& style)
    : dc_(dc),
      style_(style),
      base_(style.text.font != nullptr ? style.text.font
                                       : static_cast<HFONT>(::GetCurrentObject(dc, OBJ_FONT))) {}

HFONT CMarkupFonts::For(const MarkupStyle& s) {
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
        it = derived_.emplace(key, DeriveFont(base, bold, italic, underline, f.face, f.size)).first;
    }
    return it->second ? it->second.get() : base;
}

const TEXTMETRICW& CMarkupFonts::Metrics(HFONT font) {
    auto it = metrics_.find(font);
    if (it == metrics_.end()) {
        TEXTMETRICW tm = {};
        ::SelectObject(dc_, font);
        ::GetTextMetricsW(dc_, &tm);
        it = metrics_.emplace(font, tm).first;
    }
    return it->second;
}

std::vector<MarkupLine> LayOutMarkup(HDC dc, CMarkupFonts& fonts, const MarkupText& markup,
                                     const MarkupDrawStyle& style, int maxWidth) {
    return LayoutBuilder(dc, fonts, style, maxWidth).Build(markup);
}

}  // namespace SkinUI
