#include "ui/render/TextMarkup.h"

#include <algorithm>

namespace SkinUI {
namespace {

constexpr std::wstring_view kTagLetters = L"cuabisfpnxyvr";

struct Tag {
    bool closing = false;
    wchar_t letter = 0;
    std::wstring_view value;
    size_t end = 0;  // index after the tag
};

bool IsCloser(wchar_t c) {
    return c == L'}' || c == L'>';
}

// A tag at |pos| (which holds "{" or "<"): bracket, optional "/", one known lower-case letter,
// then the closing bracket or a blank, a value and the closing bracket.
bool ReadTag(std::wstring_view text, size_t pos, Tag& tag) {
    size_t j = pos + 1;
    if (j < text.size() && text[j] == L'/') {
        tag.closing = true;
        ++j;
    }
    if (j >= text.size() || kTagLetters.find(text[j]) == std::wstring_view::npos) {
        return false;
    }
    tag.letter = text[j++];
    if (j < text.size() && IsCloser(text[j])) {
        tag.end = j + 1;
        return true;
    }
    if (j >= text.size() || text[j] != L' ') {
        return false;
    }
    const size_t valueStart = ++j;
    while (j < text.size() && !IsCloser(text[j])) {
        ++j;
    }
    if (j >= text.size()) {
        return false;
    }
    tag.value = text.substr(valueStart, j - valueStart);
    tag.end = j + 1;
    return true;
}

bool AllDigits(std::wstring_view word) {
    return !word.empty() &&
           std::all_of(word.begin(), word.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

MarkupFont ParseFontValue(std::wstring_view value) {
    MarkupFont font;
    if (AllDigits(value)) {
        font.id = ParseSkinInt(value);
        return font;
    }
    size_t i = 0;
    while (i < value.size()) {
        while (i < value.size() && value[i] == L' ') {
            ++i;
        }
        const size_t start = i;
        while (i < value.size() && value[i] != L' ') {
            ++i;
        }
        const std::wstring_view word = value.substr(start, i - start);
        if (word.empty()) {
            break;
        }
        if (AllDigits(word)) {
            font.size = ParseSkinInt(word);
        } else if (word == L"bold") {
            font.bold = true;
        } else if (word == L"italic") {
            font.italic = true;
        } else if (word == L"underline") {
            font.underline = true;
        } else {
            if (!font.face.empty()) {
                font.face += L' ';
            }
            font.face.append(word);
        }
    }
    return font;
}

class MarkupParser {
  public:
    explicit MarkupParser(std::wstring_view text) : text_(text) {}

    MarkupText Run() {
        size_t i = 0;
        while (i < text_.size()) {
            const wchar_t c = text_[i];
            Tag tag;
            if ((c == L'{' || c == L'<') && ReadTag(text_, i, tag)) {
                i = tag.closing ? Close(tag) : Open(tag);
            } else if (c == L'\n') {
                Break(MarkupRun::Kind::LineBreak);
                ++i;
            } else {
                if (c != L'\r') {
                    pending_ += c;
                }
                ++i;
            }
        }
        Flush();
        return std::move(out_);
    }

  private:
    struct OpenTag {
        wchar_t letter;
        MarkupStyle saved;
    };

    void Flush() {
        if (!pending_.empty()) {
            Add(MarkupRun::Kind::Text, std::move(pending_));
            pending_.clear();
        }
    }

    void Add(MarkupRun::Kind kind, std::wstring text = {}, int offset = 0) {
        out_.runs.push_back(MarkupRun{kind, std::move(text), offset, style_});
    }

    void Break(MarkupRun::Kind kind) {
        Flush();
        Add(kind);
    }

    bool AtLineStart() const {
        return out_.runs.empty() || out_.runs.back().kind == MarkupRun::Kind::LineBreak ||
               out_.runs.back().kind == MarkupRun::Kind::ParagraphBreak;
    }

    size_t Open(const Tag& tag) {
        Flush();
        const MarkupStyle before = style_;
        switch (tag.letter) {
            case L'c':
                style_.hasColor = true;
                style_.color = ParseSkinColor(tag.value);
                break;
            case L'u':
                style_.underline = true;
                break;
            case L'a':
                style_.link = static_cast<int>(out_.links.size());
                out_.links.emplace_back(tag.value);
                break;
            case L'b':
                style_.bold = true;
                break;
            case L'i':
                if (!tag.value.empty()) {
                    Add(MarkupRun::Kind::Image, std::wstring(tag.value));
                    return tag.end;
                }
                style_.italic = true;
                break;
            case L's':
                style_.selected = true;
                break;
            case L'f':
                style_.font = ParseFontValue(tag.value);
                break;
            case L'p':
                if (!AtLineStart()) {
                    Add(MarkupRun::Kind::ParagraphBreak);
                }
                break;
            case L'n':
                Add(MarkupRun::Kind::LineBreak);
                return tag.end;
            case L'x':
                Add(MarkupRun::Kind::Offset, {}, ParseSkinInt(tag.value));
                return tag.end;
            case L'y':
                style_.lineHeight = std::max(ParseSkinInt(tag.value), 0);
                break;
            case L'v':
                style_.valign = tag.value == L"center" ? VerticalAlign::Center
                                : tag.value == L"top"  ? VerticalAlign::Top
                                                       : VerticalAlign::Baseline;
                break;
            case L'r':
                return ReadRaw(tag.end);
            default:
                return tag.end;
        }
        open_.push_back({tag.letter, before});
        return tag.end;
    }

    size_t Close(const Tag& tag) {
        auto it = std::find_if(open_.rbegin(), open_.rend(),
                               [&](const OpenTag& o) { return o.letter == tag.letter; });
        if (it == open_.rend()) {
            return tag.end;
        }
        Flush();
        const MarkupStyle& saved = it->saved;
        switch (tag.letter) {
            case L'c':
                style_.hasColor = saved.hasColor;
                style_.color = saved.color;
                break;
            case L'u':
                style_.underline = saved.underline;
                break;
            case L'a':
                style_.link = saved.link;
                break;
            case L'b':
                style_.bold = saved.bold;
                break;
            case L'i':
                style_.italic = saved.italic;
                break;
            case L's':
                style_.selected = saved.selected;
                break;
            case L'f':
                style_.font = saved.font;
                break;
            case L'p':
                Add(MarkupRun::Kind::ParagraphBreak);
                break;
            case L'y':
                style_.lineHeight = saved.lineHeight;
                break;
            case L'v':
                style_.valign = saved.valign;
                break;
        }
        open_.erase(std::next(it).base());
        return tag.end;
    }

    // Everything up to the matching "{/r}" or "</r>" (or the end) is plain text.
    size_t ReadRaw(size_t from) {
        size_t end = text_.size();
        size_t resume = end;
        for (size_t k = from; k + 3 < text_.size(); ++k) {
            if ((text_[k] == L'{' || text_[k] == L'<') && text_[k + 1] == L'/' &&
                text_[k + 2] == L'r' && IsCloser(text_[k + 3])) {
                end = k;
                resume = k + 4;
                break;
            }
        }
        for (size_t k = from; k < end; ++k) {
            if (text_[k] == L'\n') {
                Break(MarkupRun::Kind::LineBreak);
            } else if (text_[k] != L'\r') {
                pending_ += text_[k];
            }
        }
        return resume;
    }

    std::wstring_view text_;
    MarkupText out_;
    MarkupStyle style_;
    std::vector<OpenTag> open_;
    std::wstring pending_;
};

}  // namespace

MarkupText ParseMarkup(std::wstring_view text) {
    return MarkupParser(text).Run();
}

std::wstring MarkupPlainText(const MarkupText& markup) {
    std::wstring plain;
    for (const MarkupRun& run : markup.runs) {
        if (run.kind == MarkupRun::Kind::Text) {
            plain += run.text;
        } else if (run.kind == MarkupRun::Kind::LineBreak ||
                   run.kind == MarkupRun::Kind::ParagraphBreak) {
            plain += L'\n';
        }
    }
    return plain;
}

std::wstring ReplaceTextTokens(std::wstring_view text,
                               const std::function<bool(int id, std::wstring& out)>& lookup) {
    std::wstring result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == L'{' && i + 1 < text.size() && text[i + 1] == L'%') {
            size_t j = i + 2;
            while (j < text.size() && j - (i + 2) < 9 && text[j] >= L'0' && text[j] <= L'9') {
                ++j;
            }
            std::wstring replacement;
            if (j > i + 2 && j < text.size() && text[j] == L'}' &&
                lookup(ParseSkinInt(text.substr(i + 2, j - i - 2)), replacement)) {
                result += replacement;
                i = j + 1;
                continue;
            }
        }
        result += text[i++];
    }
    return result;
}

}  // namespace SkinUI
