#include "ui/controls/Label.h"

#include "ui/SkinManager.h"

namespace SkinUI {

CLabelUI::CLabelUI() = default;

void CLabelUI::SetTextPadding(const IntRect& padding) {
    textPadding_ = IntRect{ClampLength(padding.left), ClampLength(padding.top),
                           ClampLength(padding.right), ClampLength(padding.bottom)};
    Invalidate();
}

void CLabelUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"font") {
        SetFont(ParseSkinInt(value));
    } else if (name == L"textcolor") {
        SetTextColor(ParseSkinColor(value));
    } else if (name == L"disabledtextcolor") {
        SetDisabledTextColor(ParseSkinColor(value));
    } else if (name == L"align") {
        const uint32_t align = ParseSkinAlign(value, textStyle_ & kTextHAlignMask);
        SetTextStyle((textStyle_ & ~static_cast<uint32_t>(kTextHAlignMask)) | align);
    } else if (name == L"textpadding") {
        SetTextPadding(ParseSkinRect(value));
    } else if (name == L"showhtml") {
        SetShowHtml(ParseSkinBool(value));
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

uint32_t CLabelUI::GetPaintTextColor() const {
    const SkinDefaultColours defaults =
        GetManager() != nullptr ? GetManager()->GetDefaultColours() : SkinDefaultColours();
    if (!IsEnabled()) {
        return disabledTextColor_ != 0 ? disabledTextColor_ : defaults.disabledText;
    }
    return textColor_ != 0 ? textColor_ : defaults.text;
}

void CLabelUI::PaintText(ISkinPainter& painter) {
    const std::wstring text = GetPaintText();
    if (text.empty()) {
        return;
    }
    const IntRect rect = InsetRect(GetPos(), textPadding_);
    // "&" never marks a mnemonic in skinned text.
    painter.DrawText(rect, text, GetPaintTextColor(), fontId_, textStyle_ | kTextNoPrefix,
                     showHtml_);
}

CTextUI::CTextUI() {
    SetTextStyle(kTextLeft | kTextWordBreak);
    SetTextPadding(IntRect{2, 0, 2, 0});
}

}  // namespace SkinUI
