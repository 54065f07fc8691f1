#include "ui/render/TextDraw.h"

#include <usp10.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "ui/render/ColorDraw.h"
#include "ui/render/GdiHandles.h"

namespace SkinUI {
namespace {

UINT Format(HDC dc, const TextStyle& style) {
    UINT flags = DT_NOPREFIX;
    flags |= style.align == TextAlign::Center  ? DT_CENTER
             : style.align == TextAlign::Right ? DT_RIGHT
                                               : DT_LEFT;
    flags |= style.wrap ? (DT_WORDBREAK | DT_TOP) : (DT_SINGLELINE | DT_VCENTER);
    if (style.rtlReading || IsMirrored(dc)) {
        flags |= DT_RTLREADING;
    }
    return flags;
}

int Length(std::wstring_view text) {
    return static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
}

// Text below the Hebrew block needs no shaping, and read left to right no reordering.
bool IsSimpleText(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x0590; });
}

wchar_t MirroredBracket(wchar_t c) {
    static constexpr wchar_t kPairs[] = L"()[]{}<>";
    for (size_t i = 0; i + 1 < sizeof(kPairs) / sizeof(kPairs[0]); ++i) {
        if (kPairs[i] == c) {
            return kPairs[i ^ 1];
        }
    }
    return c;
}

// |text| (no right-to-left letters) as a right-to-left paragraph shows it, from left to
// right, with |advances| put in the same order; the runs that read right to left show their
// brackets mirrored. False when the system cannot tell the runs.
bool ToRightToLeftDisplayOrder(std::wstring_view text, std::wstring& visual,
                               std::vector<INT>& advances) {
    const int length = Length(text);
    std::vector<SCRIPT_ITEM> items(static_cast<size_t>(length) + 1);
    SCRIPT_CONTROL control = {};
    SCRIPT_STATE state = {};
    state.uBidiLevel = 1;
    int count = 0;
    if (FAILED(::ScriptItemize(text.data(), length, length + 1, &control, &state, items.data(),
                               &count)) ||
        count <= 0) {
        return false;
    }
    std::vector<BYTE> levels(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        levels[static_cast<size_t>(i)] =
            static_cast<BYTE>(items[static_cast<size_t>(i)].a.s.uBidiLevel);
    }
    std::vector<int> visualToLogical(static_cast<size_t>(count));
    if (FAILED(::ScriptLayout(count, levels.data(), visualToLogical.data(), nullptr))) {
        return false;
    }
    const std::vector<INT> logical = advances;
    visual.clear();
    advances.clear();
    for (int item : visualToLogical) {
        const int begin = items[static_cast<size_t>(item)].iCharPos;
        const int end = items[static_cast<size_t>(item) + 1].iCharPos;
        const bool reversed = (levels[static_cast<size_t>(item)] & 1) != 0;
        for (int k = 0; k < end - begin; ++k) {
            const int i = reversed ? end - 1 - k : begin + k;
            const wchar_t c = text[static_cast<size_t>(i)];
            visual += reversed ? MirroredBracket(c) : c;
            advances.push_back(logical[static_cast<size_t>(i)]);
        }
    }
    return static_cast<int>(visual.size()) == length;
}

// One line of |width| pixels, placed as DrawText would place it (alignment; vertically centred,
// or at the top for wrapping text), drawn at its measured advances.
void DrawSingleLine(HDC dc, const RECT& area, std::wstring_view text, int width,
                    const TextStyle& style, bool rtl) {
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    int x = area.left;
    if (style.align == TextAlign::Center) {
        x += (area.right - area.left - width) / 2;
    } else if (style.align == TextAlign::Right) {
        x = area.right - width;
    }
    const int y =
        style.wrap ? area.top : area.top + (area.bottom - area.top - metrics.tmHeight) / 2;
    DrawTextRun(dc, x, y, text, ETO_CLIPPED | (rtl ? ETO_RTLREADING : 0), &area);
}

}  // namespace

int MeasureTextWidth(HDC dc, std::wstring_view text, bool rtl) {
    const int length = Length(text);
    if (length == 0) {
        return 0;
    }
    if (!IsSimpleText(text)) {
        SCRIPT_STRING_ANALYSIS analysis = nullptr;
        if (SUCCEEDED(::ScriptStringAnalyse(dc, text.data(), length, length * 3 / 2 + 16, -1,
                                            SSA_GLYPHS | (rtl ? SSA_RTL : 0), 0, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, &analysis))) {
            const SIZE* size = ::ScriptString_pSize(analysis);
            const int width = size != nullptr ? size->cx : -1;
            ::ScriptStringFree(&analysis);
            if (width >= 0) {
                return width;
            }
        }
    }
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, text.data(), length, &size);
    return size.cx;
}

void DrawTextRun(HDC dc, int x, int y, std::wstring_view text, UINT options, const RECT* clip) {
    const int length = Length(text);
    std::vector<INT> ends(static_cast<size_t>(length));
    SIZE size = {};
    if (length == 0 || !IsSimpleText(text) ||
        !::GetTextExtentExPointW(dc, text.data(), length, 0, nullptr, ends.data(), &size)) {
        ::ExtTextOutW(dc, x, y, options, clip, text.data(), static_cast<UINT>(length), nullptr);
        return;
    }
    for (int i = length - 1; i > 0; --i) {
        ends[static_cast<size_t>(i)] -= ends[static_cast<size_t>(i - 1)];
    }
    // Read right to left, neutrals move (a path's trailing backslash goes to the left end).
    // Wine applies logically ordered advances to the reordered glyphs, so the line is put in
    // display order here and drawn left to right, each glyph with its own advance.
    std::wstring visual;
    if ((options & ETO_RTLREADING) != 0 && ToRightToLeftDisplayOrder(text, visual, ends)) {
        ::ExtTextOutW(dc, x, y, options & ~static_cast<UINT>(ETO_RTLREADING), clip, visual.data(),
                      static_cast<UINT>(length), ends.data());
        return;
    }
    ::ExtTextOutW(dc, x, y, options, clip, text.data(), static_cast<UINT>(length), ends.data());
}

bool IsMirrored(HDC dc) {
    return (::GetLayout(dc) & LAYOUT_RTL) != 0;
}

RECT TextArea(const RECT& rc, const TextStyle& style) {
    return RECT{rc.left + style.padding.left, rc.top + style.padding.top,
                rc.right - style.padding.right, rc.bottom - style.padding.bottom};
}

void DrawPlainText(HDC dc, const RECT& rc, std::wstring_view text, const TextStyle& style) {
    RECT area = TextArea(rc, style);
    if (text.empty() || area.right <= area.left || area.bottom <= area.top) {
        return;
    }
    ScopedDcState state(dc);
    if (style.font != nullptr) {
        ::SelectObject(dc, style.font);
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ToColorRef(style.color));
    // One line is placed here, with widths measured as it is drawn; wrapping is the system's.
    const bool rtl = style.rtlReading || IsMirrored(dc);
    if (text.find_first_of(L"\r\n\t") == text.npos) {
        const int width = MeasureTextWidth(dc, text, rtl);
        if (!style.wrap || width <= area.right - area.left) {
            ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
            DrawSingleLine(dc, area, text, width, style, rtl);
            return;
        }
    }
    ::DrawTextW(dc, text.data(), Length(text), &area, Format(dc, style));
}

SIZE MeasurePlainText(HDC dc, std::wstring_view text, const TextStyle& style, int maxWidth) {
    if (text.empty()) {
        return SIZE{0, 0};
    }
    ScopedDcState state(dc);
    if (style.font != nullptr) {
        ::SelectObject(dc, style.font);
    }
    RECT area = {0, 0, style.wrap ? maxWidth : 0, 0};
    ::DrawTextW(dc, text.data(), Length(text), &area, Format(dc, style) | DT_CALCRECT);
    return SIZE{area.right - area.left, area.bottom - area.top};
}

}  // namespace SkinUI
