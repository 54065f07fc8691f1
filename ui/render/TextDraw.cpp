#include "ui/render/TextDraw.h"

#include <algorithm>
#include <climits>

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

}  // namespace

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
