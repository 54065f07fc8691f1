#include "ui/controls/Label.h"

#include "ui/SkinManager.h"

namespace SkinUI {

CLabelUI::CLabelUI() = default;

void CLabelUI::SetTextPadding(const IntRect& padding) {
    textPadding_ = ClampRect(padding);
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

void CLabelUI::SetText(const std::wstring& text) {
    if (text != GetText()) {
        links_.clear();  // until the new text is painted
        hoverLink_ = -1;
    }
    CControlUI::SetText(text);
}

void CLabelUI::DoEvent(const SkinEvent& event) {
    if (showHtml_ &&
        (event.type == SkinEventType::kMouseMove || event.type == SkinEventType::kMouseLeave)) {
        const int link =
            event.type == SkinEventType::kMouseMove && IsEnabled() ? LinkAt(event.pt) : -1;
        if (link != hoverLink_) {
            hoverLink_ = link;
            Invalidate();
        }
    }
    CControlUI::DoEvent(event);
}

int CLabelUI::LinkAt(SkinPoint pt) const {
    for (const SkinLinkArea& area : links_) {
        if (RectContains(area.rect, pt)) {
            return area.index;
        }
    }
    return -1;
}

void CLabelUI::PaintText(ISkinPainter& painter) {
    const std::wstring text = GetPaintText();
    if (text.empty()) {
        links_.clear();
        return;
    }
    const IntRect rect = ShrinkRect(GetPos(), textPadding_);
    // "&" never marks a mnemonic in skinned text.
    painter.DrawText(rect, text, GetPaintTextColor(), fontId_, textStyle_ | kTextNoPrefix,
                     showHtml_, hoverLink_, showHtml_ ? &links_ : nullptr);
}

CTextUI::CTextUI() {
    SetTextStyle(kTextLeft | kTextWordBreak);
    SetTextPadding(IntRect{2, 0, 2, 0});
}

void CTextUI::DoEvent(const SkinEvent& event) {
    if (IsEnabled() && event.type == SkinEventType::kButtonDown) {
        pressedLink_ = LinkAt(event.pt);
    } else if (event.type == SkinEventType::kButtonUp) {
        const int pressed = pressedLink_;
        pressedLink_ = -1;
        if (pressed >= 0 && IsEnabled() && LinkAt(event.pt) == pressed) {
            SendNotify(SkinNotifyType::kLink, pressed);
        }
    }
    CLabelUI::DoEvent(event);
}

}  // namespace SkinUI
