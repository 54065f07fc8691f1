// Plain text of the label family: one vertically centred line or word-wrapped lines from the
// top, aligned left, centre or right inside the text padding, drawn transparently; "&" is an
// ordinary character. Mirrored DCs get right-to-left reading order.
#pragma once

#include <windows.h>

#include <string_view>

#include "ui/render/SkinValues.h"

namespace SkinUI {

enum class TextAlign { Left, Center, Right };

struct TextStyle {
    HFONT font = nullptr;          // nullptr: the font selected in the DC
    ArgbColor color = 0xFF000000;  // alpha ignored
    TextAlign align = TextAlign::Left;
    bool wrap = false;  // false: one line, vertically centred; true: wrapped, from the top
    RECT padding = {};  // insets of the text area inside the control
    // Right-to-left reading order (Arabic) without a mirrored DC; mirrored DCs always read
    // right to left.
    bool rtlReading = false;
};

// |rc| minus the padding.
RECT TextArea(const RECT& rc, const TextStyle& style);

void DrawPlainText(HDC dc, const RECT& rc, std::wstring_view text, const TextStyle& style);

// The size the text needs: one line, or wrapped at |maxWidth| (padding not included).
SIZE MeasurePlainText(HDC dc, std::wstring_view text, const TextStyle& style, int maxWidth);

// Right-to-left reading for DCs in LAYOUT_RTL.
bool IsMirrored(HDC dc);

}  // namespace SkinUI
