#include "ui/render/SkinFont.h"

#include <algorithm>

namespace SkinUI {
namespace {

LOGFONTW LogFontOf(HFONT font) {
    LOGFONTW lf = {};
    if (font == nullptr || ::GetObjectW(font, sizeof(lf), &lf) != sizeof(lf)) {
        ::GetObjectW(DefaultGuiFont(), sizeof(lf), &lf);
    }
    return lf;
}

void SetFace(LOGFONTW& lf, const std::wstring& face) {
    const size_t n = std::min(face.size(), static_cast<size_t>(LF_FACESIZE - 1));
    std::copy_n(face.c_str(), n, lf.lfFaceName);
    lf.lfFaceName[n] = L'\0';
}

}  // namespace

HFONT DefaultGuiFont() {
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

UniqueFont CreateSkinFont(const FontInfo& info) {
    LOGFONTW lf = LogFontOf(DefaultGuiFont());
    SetFace(lf, info.face);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -info.size;
    if (info.bold) {
        // The weight scale ends at 1000.
        lf.lfWeight = std::min<LONG>(lf.lfWeight + 700, 1000);
    }
    lf.lfUnderline = info.underline ? TRUE : FALSE;
    lf.lfItalic = info.italic ? TRUE : FALSE;
    return UniqueFont(::CreateFontIndirectW(&lf));
}

UniqueFont DeriveFont(HFONT base, bool bold, bool italic, bool underline, const std::wstring& face,
                      int size) {
    LOGFONTW lf = LogFontOf(base);
    if (!face.empty()) {
        SetFace(lf, face);
        lf.lfCharSet = DEFAULT_CHARSET;
    }
    if (size > 0) {
        lf.lfHeight = -size;
    }
    if (bold) {
        lf.lfWeight = std::max<LONG>(lf.lfWeight, FW_BOLD);
    }
    lf.lfItalic = lf.lfItalic || italic;
    lf.lfUnderline = lf.lfUnderline || underline;
    return UniqueFont(::CreateFontIndirectW(&lf));
}

bool CFontTable::Add(int id, const FontInfo& info, bool makeDefault) {
    if (id < 0 || info.face.empty()) {
        return false;
    }
    UniqueFont font = CreateSkinFont(info);
    if (!font) {
        return false;
    }
    fonts_[id] = std::move(font);
    if (makeDefault) {
        defaultId_ = id;
    }
    return true;
}

HFONT CFontTable::Get(int id) const {
    auto it = fonts_.find(id);
    return it != fonts_.end() ? it->second.get() : Default();
}

HFONT CFontTable::Default() const {
    auto it = fonts_.find(defaultId_);
    return it != fonts_.end() ? it->second.get() : DefaultGuiFont();
}

void CFontTable::Clear() {
    fonts_.clear();
    defaultId_ = -1;
}

}  // namespace SkinUI
