#include "ui/SkinAttributes.h"

#include <cstring>

namespace SkinUI {

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

SkinSize ParseSkinSize(const std::wstring& text) {
    size_t used = 0;
    const int cx = ParseSkinInt(text, &used);
    const size_t next = used + 1;  // the number, then exactly one separator
    return SkinSize{cx,
                    next < text.size() ? ParseSkinInt(std::wstring_view(text).substr(next)) : 0};
}

uint32_t ParseSkinAlign(const std::wstring& text, uint32_t current) {
    uint32_t align = current;
    if (text.find(L"left") != std::wstring::npos) {
        align = kTextLeft;
    }
    if (text.find(L"center") != std::wstring::npos) {
        align = kTextCenter;
    }
    if (text.find(L"right") != std::wstring::npos) {
        align = kTextRight;
    }
    return align;
}

SkinAttributeList ParseSkinAttributeList(const std::wstring& text) {
    SkinAttributeList pairs;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t equals = text.find(L'=', pos);
        if (equals == std::wstring::npos || equals == pos) {
            break;
        }
        std::wstring name = text.substr(pos, equals - pos);
        if (name.find_first_of(L"\" \t\r\n") != std::wstring::npos) {
            break;  // a second blank, or a quote out of place: the pair does not fit
        }
        if (equals + 1 >= text.size() || text[equals + 1] != L'"') {
            break;
        }
        const size_t close = text.find(L'"', equals + 2);
        if (close == std::wstring::npos) {
            break;
        }
        pairs.emplace_back(std::move(name), text.substr(equals + 2, close - equals - 2));
        pos = close + 1;
        if (pos >= text.size() || text[pos] != L' ') {
            break;
        }
        ++pos;
    }
    return pairs;
}

std::wstring ToLowerAscii(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return text;
}

std::string EncodeUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = static_cast<uint32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() &&
            text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<uint32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

}  // namespace SkinUI
