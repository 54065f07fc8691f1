// Lays parsed markup out in lines of measured pieces for the markup drawing: the fonts of the
// runs, word wrapping and line heights. Used by MarkupDraw.cpp.
#pragma once

#include <windows.h>

#include <algorithm>
#include <climits>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ui/render/GdiHandles.h"
#include "ui/render/ImageDescriptor.h"
#include "ui/render/MarkupDraw.h"

namespace SkinUI {

inline int TextLength(const std::wstring& s) {
    return static_cast<int>(std::min<size_t>(s.size(), INT_MAX / 2));
}

// The fonts of the runs, derived from the base font once per style.
class CMarkupFonts {
  public:
    CMarkupFonts(HDC dc, const MarkupDrawStyle& style);
    HFONT Base() const { return base_; }
    HFONT For(const MarkupStyle& s);
    const TEXTMETRICW& Metrics(HFONT font);

  private:
    using Key = std::tuple<HFONT, std::wstring, int, bool, bool, bool>;
    HDC dc_;
    const MarkupDrawStyle& style_;
    HFONT base_;
    std::map<Key, UniqueFont> derived_;
    std::map<HFONT, TEXTMETRICW> metrics_;
};

// One measured piece of a line: a word, a run of blanks or an inline image.
struct MarkupItem {
    const MarkupRun* run = nullptr;
    std::wstring text;  // text items
    ImageDescriptor image;
    bool isImage = false;
    bool blank = false;  // spaces, dropped where a line wraps
    HFONT font = nullptr;
    int x = 0;  // from the line start
    int width = 0;
    int ascent = 0;
    int descent = 0;
};

struct MarkupLine {
    std::vector<MarkupItem> items;
    int width = 0;         // pen position
    int contentWidth = 0;  // without trailing blanks
    int ascent = 0;
    int descent = 0;
    int minHeight = 0;  // {y}
    int gapAfter = 0;   // paragraph spacing
    int top = 0;
    int height = 0;
};

// The lines of |markup|, their tops counted from the first line's; wrapped at |maxWidth| when
// the style wraps. Never empty.
std::vector<MarkupLine> LayOutMarkup(HDC dc, CMarkupFonts& fonts, const MarkupText& markup,
                                     const MarkupDrawStyle& style, int maxWidth);

}  // namespace SkinUI
