// The text markup of skin labels ("showhtml"): tags in braces or angle brackets turned into
// styled runs, and the "{%n}" text tokens. Parsing only; measuring and drawing use GDI.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/render/SkinValues.h"

namespace SkinUI {

// A font asked for by {f}: an identifier of the window's font table, or a description
// "face words [size] [bold] [italic] [underline]".
struct MarkupFont {
    int id = -1;
    std::wstring face;
    int size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

enum class VerticalAlign { Baseline, Center, Top };

// The style in force for a run.
struct MarkupStyle {
    bool hasColor = false;
    ArgbColor color = 0;  // alpha ignored
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool selected = false;  // drawn on the selection background
    int link = -1;          // index into MarkupText::links
    MarkupFont font;
    int lineHeight = 0;  // 0: as tall as the line's tallest run
    VerticalAlign valign = VerticalAlign::Baseline;
};

struct MarkupRun {
    enum class Kind {
        Text,
        LineBreak,
        ParagraphBreak,  // a line break with extra space
        Image,           // |text| is an image descriptor
        Offset,          // moves the pen |offset| pixels along the line
    };
    Kind kind = Kind::Text;
    std::wstring text;
    int offset = 0;
    MarkupStyle style;
};

struct MarkupText {
    std::vector<MarkupRun> runs;
    std::vector<std::wstring> links;  // link targets, by index
};

// Tags: c colour, u underline, a link, b bold, i italic (with a value: an inline image),
// s selected, f font, p paragraph, n line break, x offset, y line height, v vertical
// alignment, r raw text. A closing tag restores what its own opening tag changed, even when
// tags are crossed; an unmatched closing tag is dropped; anything that is no well-formed tag
// of these letters stays text. A newline also breaks the line.
MarkupText ParseMarkup(std::wstring_view text);

// The text as it reads without markup (links and styles dropped, breaks as "\n").
std::wstring MarkupPlainText(const MarkupText& markup);

// Replaces every "{%n}" (n decimal) for which |lookup| yields a text; other tokens stay.
std::wstring ReplaceTextTokens(std::wstring_view text,
                               const std::function<bool(int id, std::wstring& out)>& lookup);

}  // namespace SkinUI
