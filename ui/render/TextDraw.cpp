#include "ui/render/TextDraw.h"

#include <usp10.h>

#include <algorithm>
#include <climits>
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

// Text below the Hebrew block needs neither shaping nor reordering.
bool IsSimpleText(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x0590; });
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
