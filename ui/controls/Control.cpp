#include "ui/controls/Control.h"

#include <algorithm>

#include "ui/SkinManager.h"

namespace SkinUI {

namespace {

// "0.5,0,1,1": four decimal fractions with one separator character each.
FloatAnchors ParseAnchors(const std::wstring& text) {
    double values[4] = {};
    const wchar_t* p = text.c_str();
    for (double& value : values) {
        bool negative = false;
        if (*p == L'-' || *p == L'+') {
            negative = *p == L'-';
            ++p;
        }
        double scale = 0;
        for (; (*p >= L'0' && *p <= L'9') || (*p == L'.' && scale == 0); ++p) {
            if (*p == L'.') {
                scale = 1;
            } else if (scale == 0) {
                value = value * 10 + (*p - L'0');
            } else {
                scale /= 10;
                value += (*p - L'0') * scale;
            }
            value = std::min(value, 1000.0);  // no anchor lies that far outside its parent
        }
        value = negative ? -value : value;
        if (*p != L'\0') {
            ++p;
        }
    }
    return FloatAnchors{values[0], values[1], values[2], values[3]};
}

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (manager_ != nullptr) {
        manager_->ForgetControl(this);
    }
}

void CControlUI::SetText(const std::wstring& text) {
    if (text_ == text) {
        return;
    }
    text_ = text;
    Invalidate();
}

void CControlUI::SetOwner(CSkinManagerUI* manager, CControlUI* parent) {
    manager_ = manager;
    parent_ = parent;
}

void CControlUI::AttachTree(CSkinManagerUI* manager, CControlUI* parent) {
    SetOwner(manager, parent);
}

bool CControlUI::IsDescendantOf(const CControlUI* ancestor) const {
    for (const CControlUI* c = this; c != nullptr; c = c->parent_) {
        if (c == ancestor) {
            return true;
        }
    }
    return false;
}

CControlUI* CControlUI::FindControl(const std::wstring& name) {
    return !name.empty() && name_ == name ? this : nullptr;
}

CControlUI* CControlUI::FindControlAt(SkinPoint pt) {
    return visible_ && RectContains(pos_, pt) ? this : nullptr;
}

void CControlUI::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    // The area it leaves (or takes again, when the layout does not move it) is painted anew.
    Invalidate();
    visible_ = visible;
    Invalidate();
    if (!visible) {
        ReleaseInputState();
    }
    NeedUpdate();
}

void CControlUI::SetEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    if (!enabled) {
        hot_ = false;
        pushed_ = false;
        ReleaseInputState();
    }
    Invalidate();
}

void CControlUI::SetFocus() {
    if (manager_ != nullptr) {
        manager_->SetFocus(this);
    }
}

void CControlUI::ResetInputState() {
    hot_ = false;
    pushed_ = false;
    Invalidate();
}

void CControlUI::ReleaseInputState() {
    if (manager_ != nullptr) {
        manager_->ReleaseInputState(this);
    }
}

void CControlUI::SetPos(const IntRect& rect) {
    if (pos_ == rect) {
        return;
    }
    Invalidate();
    pos_ = rect;
    Invalidate();
}

void CControlUI::SetItemLength(int LayoutItem::*field, int value) {
    item_.*field = ClampNonNegative(value);
    NeedUpdate();
}

void CControlUI::SetFloat(bool floating) {
    item_.floating = floating;
    hasAnchors_ = false;
    NeedUpdate();
}

void CControlUI::SetFloatPos(const IntRect& pos) {
    floatPos_ = ClampRect(pos);
    NeedUpdate();
}

LayoutItem CControlUI::GetLayoutItem() const {
    LayoutItem item = item_;
    item.visible = visible_;
    return item;
}

void CControlUI::SetBorderSize(const IntRect& widths) {
    borderSize_ = IntRect{ClampNonNegative(widths.left), ClampNonNegative(widths.top),
                          ClampNonNegative(widths.right), ClampNonNegative(widths.bottom)};
    Invalidate();
}

void CControlUI::SetBorderRound(const SkinSize& round) {
    borderRound_ = ClampSize(round);
    Invalidate();
}

void CControlUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"name") {
        SetName(value);
    } else if (name == L"text") {
        SetText(value);
    } else if (name == L"tooltip") {
        SetToolTip(value);
    } else if (name == L"userdata") {
        SetUserData(value);
    } else if (name == L"visible") {
        SetVisible(ParseSkinBool(value));
    } else if (name == L"enabled") {
        SetEnabled(ParseSkinBool(value));
    } else if (name == L"float") {
        if (value.find(L',') != std::wstring::npos) {
            SetFloat(true);
            anchors_ = ParseAnchors(value);
            hasAnchors_ = true;
        } else {
            SetFloat(ParseSkinBool(value));
        }
    } else if (name == L"pos") {
        SetFloatPos(ParseSkinRect(value));
    } else if (name == L"width") {
        SetFixedWidth(ParseSkinInt(value));
    } else if (name == L"height") {
        SetFixedHeight(ParseSkinInt(value));
    } else if (name == L"minwidth") {
        SetMinWidth(ParseSkinInt(value));
    } else if (name == L"minheight") {
        SetMinHeight(ParseSkinInt(value));
    } else if (name == L"maxwidth") {
        SetMaxWidth(ParseSkinInt(value));
    } else if (name == L"maxheight") {
        SetMaxHeight(ParseSkinInt(value));
    } else if (name == L"bkcolor") {
        SetBkColor(ParseSkinColor(value));
    } else if (name == L"bkimage") {
        SetBkImage(value);
    } else if (name == L"bordersize") {
        if (value.find(L',') != std::wstring::npos) {
            SetBorderSize(ParseSkinRect(value));
        } else {
            const int width = ParseSkinInt(value);
            SetBorderSize(IntRect{width, width, width, width});
        }
    } else if (name == L"bordercolor") {
        SetBorderColor(ParseSkinColor(value));
    } else if (name == L"focusbordercolor") {
        SetFocusBorderColor(ParseSkinColor(value));
    } else if (name == L"borderround") {
        SetBorderRound(ParseSkinSize(value));
    } else if (!name.empty() && !value.empty() && GetCustomAttribute(name) == nullptr) {
        custom_.emplace_back(name, value);
    }
}

void CControlUI::ApplyAttributeList(const std::wstring& list) {
    for (const auto& pair : ParseSkinAttributeList(list)) {
        SetAttribute(pair.first, pair.second);
    }
}

const std::wstring* CControlUI::GetCustomAttribute(const std::wstring& name) const {
    for (const auto& pair : custom_) {
        if (pair.first == name) {
            return &pair.second;
        }
    }
    return nullptr;
}

void CControlUI::DoEvent(const SkinEvent& event) {
    switch (event.type) {
        case SkinEventType::kSetFocus:
            focused_ = true;
            Invalidate();
            break;
        case SkinEventType::kKillFocus:
            focused_ = false;
            Invalidate();
            break;
        case SkinEventType::kMouseEnter:
            if (enabled_) {
                hot_ = true;
                Invalidate();
            }
            break;
        case SkinEventType::kMouseLeave:
            hot_ = false;
            Invalidate();
            break;
        default:
            break;
    }
}

bool CControlUI::Activate() {
    return visible_ && enabled_;
}

void CControlUI::AddNotifyCallback(NotifyCallback callback) {
    callbacks_.push_back(std::move(callback));
}

void CControlUI::SendNotify(const wchar_t* type, int32_t wParam, int32_t lParam) {
    if (manager_ != nullptr) {
        manager_->SendNotify(this, type, wParam, lParam);
    }
}

void CControlUI::Invalidate() {
    if (manager_ != nullptr && visible_) {
        manager_->Invalidate(pos_);
    }
}

void CControlUI::NeedUpdate() {
    if (manager_ != nullptr) {
        manager_->NeedUpdate();
    }
}

void CControlUI::DoPaint(ISkinPainter& painter, const IntRect& dirty) {
    if (!visible_ || Intersect(dirty, pos_).IsEmpty()) {
        return;
    }
    painter.PushClip(pos_, borderRound_);
    if (bkColor_ != 0) {
        painter.FillColour(pos_, bkColor_);
    }
    PaintBkImage(painter);
    PaintStatusImage(painter);
    PaintText(painter);
    PaintChildren(painter, dirty);
    painter.PopClip();
    PaintBorder(painter);
    PaintFocusCue(painter);
}

void CControlUI::PaintFocusCue(ISkinPainter& painter) {
    if (focused_ && focusBorderColor_ == 0 && IsFocusable() && manager_ != nullptr &&
        manager_->AreFocusCuesShown()) {
        // Inside a push button's face as on a system button; around small controls.
        const int inset = pos_.Width() >= 32 && pos_.Height() >= 32 ? 3 : 1;
        painter.DrawFocusRect(ShrinkRect(pos_, IntRect{inset, inset, inset, inset}));
    }
}

void CControlUI::PaintBkImage(ISkinPainter& painter) {
    DrawImage(painter, bkImage_);
}

void CControlUI::PaintBorder(ISkinPainter& painter) {
    const uint32_t colour = focused_ && focusBorderColor_ != 0 ? focusBorderColor_ : borderColor_;
    if (colour == 0 || borderSize_ == IntRect{}) {
        return;
    }
    painter.DrawBorder(pos_, borderSize_, colour, borderRound_);
}

bool CControlUI::DrawImage(ISkinPainter& painter, SkinImageSlot& slot) {
    return DrawImage(painter, slot, pos_);
}

bool CControlUI::DrawImage(ISkinPainter& painter, SkinImageSlot& slot, const IntRect& rect) {
    if (!slot.IsUsable()) {
        return false;
    }
    if (!painter.DrawImage(rect, slot.descriptor)) {
        slot.failed = true;
        return false;
    }
    return true;
}

}  // namespace SkinUI
