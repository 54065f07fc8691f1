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

// The width |text| takes on one line in the DC's font, shaped as it will be drawn (GDI's own
// measure ignores the joining of Arabic letters under Wine).
int MeasureTextWidth(HDC dc, std::wstring_view text, bool rtl);

// Draws |text| with its top-left corner at x, y (ExtTextOut's |options|, |clip| as there), each
// character at the advance that GetTextExtentExPoint measures for it. Wine otherwise draws
// blanks wider than it measures them, which pushes right-aligned text out of its box and
// neighbouring runs into each other. Scripts that need shaping are left to the system.
void DrawTextRun(HDC dc, int x, int y, std::wstring_view text, UINT options = 0,
                 const RECT* clip = nullptr);

}  // namespace SkinUI
