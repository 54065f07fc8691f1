#include "ui/render/SkinValues.h"

#include <algorithm>
#include <climits>

namespace SkinUI {

IntRect Intersect(const IntRect& a, const IntRect& b) {
    IntRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
    if (r.IsEmpty()) {
        return IntRect{};
    }
    return r;
}

int ParseSkinInt(std::wstring_view text, size_t* consumed) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    long long value = 0;
    const size_t digitsStart = i;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        value = std::min<long long>(value * 10 + (text[i] - L'0'), 1LL + INT_MAX);
        ++i;
    }
    if (i == digitsStart) {
        // A lone sign is no number: nothing of it is used.
        if (consumed != nullptr) {
            *consumed = 0;
        }
        return 0;
    }
    if (consumed != nullptr) {
        *consumed = i;
    }
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool ParseSkinBool(std::wstring_view text) {
    return text == L"true";
}

ArgbColor ParseSkinColor(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) {
        ++i;
    }
    if (i < text.size() && text[i] == L'#') {
        ++i;
    }
    ArgbColor value = 0;
    for (int digits = 0; digits < 8 && i < text.size(); ++digits, ++i) {
        const wchar_t c = text[i];
        unsigned nibble;
        if (c >= L'0' && c <= L'9') {
            nibble = c - L'0';
        } else if (c >= L'a' && c <= L'f') {
            nibble = c - L'a' + 10;
        } else if (c >= L'A' && c <= L'F') {
            nibble = c - L'A' + 10;
        } else {
            break;
        }
        value = (value << 4) | nibble;
    }
    return value;
}

IntRect ParseSkinRect(std::wstring_view text) {
    int values[4] = {};
    size_t pos = 0;
    for (int n = 0; n < 4 && pos <= text.size(); ++n) {
        size_t used = 0;
        values[n] = ParseSkinInt(text.substr(pos), &used);
        pos += used + 1;  // the number, then exactly one separator
    }
    return IntRect{values[0], values[1], values[2], values[3]};
}

}  // namespace SkinUI
