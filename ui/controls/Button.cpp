#include "ui/controls/Button.h"

#include "ui/SkinManager.h"

namespace SkinUI {

CButtonUI::CButtonUI() {
    SetTextStyle(kTextCenter | kTextVCenter | kTextSingleLine);
}

void CButtonUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"normalimage") {
        SetNormalImage(value);
    } else if (name == L"hotimage") {
        SetHotImage(value);
    } else if (name == L"pushedimage") {
        SetPushedImage(value);
    } else if (name == L"disabledimage") {
        SetDisabledImage(value);
    } else if (name == L"focusedimage") {
        SetFocusedImage(value);
    } else if (name == L"hottextcolor") {
        SetHotTextColor(ParseSkinColor(value));
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CButtonUI::DoEvent(const SkinEvent& event) {
    if (!IsEnabled() && event.type != SkinEventType::kKillFocus &&
        event.type != SkinEventType::kMouseLeave) {
        return;
    }
    switch (event.type) {
        case SkinEventType::kButtonDown:
            pushed_ = true;
            keyPushed_ = false;
            Invalidate();
            return;
        case SkinEventType::kButtonUp:
            if (pushed_) {
                pushed_ = false;
                Invalidate();
                if (RectContains(GetPos(), event.pt)) {
                    Activate();
                }
            }
            return;
        case SkinEventType::kKeyDown:
            // As a system push button: Space shows the button pressed and clicks on release;
            // Enter clicks at once.
            if (event.key == kKeySpace && !pushed_) {
                pushed_ = true;
                keyPushed_ = true;
                Invalidate();
            } else if (event.key == kKeyReturn) {
                Activate();
            }
            return;
        case SkinEventType::kKeyUp:
            if (event.key == kKeySpace && keyPushed_) {
                keyPushed_ = false;
                pushed_ = false;
                Invalidate();
                Activate();
            }
            return;
        case SkinEventType::kKillFocus:
            if (keyPushed_) {
                keyPushed_ = false;
                pushed_ = false;
                Invalidate();
            }
            CLabelUI::DoEvent(event);
            return;
        default:
            CLabelUI::DoEvent(event);
            return;
    }
}

bool CButtonUI::Activate() {
    if (!CLabelUI::Activate()) {
        return false;
    }
    SendNotify(SkinNotifyType::kClick);
    return true;
}

uint32_t CButtonUI::GetPaintTextColor() const {
    if (IsEnabled() && IsHot() && hotTextColor_ != 0) {
        return hotTextColor_;
    }
    return CLabelUI::GetPaintTextColor();
}

void CButtonUI::PaintStatusImage(ISkinPainter& painter) {
    PaintStateImages(painter, true);
}

void CButtonUI::PaintStateImages(ISkinPainter& painter, bool allowPushed) {
    SkinImageSlot* state = nullptr;
    if (!IsEnabled()) {
        state = &disabledImage_;
    } else if (IsPushed() && allowPushed) {
        state = &pushedImage_;
    } else if (IsHot()) {
        state = &hotImage_;
    } else if (IsFocused()) {
        state = &focusedImage_;
    }
    if (state != nullptr && DrawImage(painter, *state)) {
        return;
    }
    DrawImage(painter, normalImage_);
}

COptionUI::~COptionUI() {
    if (GetManager() != nullptr) {
        GetManager()->RemoveOptionFromGroups(this);
    }
}

void COptionUI::SetGroup(const std::wstring& group) {
    if (group_ == group) {
        return;
    }
    CSkinManagerUI* manager = GetManager();
    const bool attached = manager != nullptr && manager->IsInTree(this);
    if (attached) {
        manager->RemoveOptionFromGroups(this);
    }
    group_ = group;
    if (attached && !group_.empty()) {
        manager->AddOptionToGroup(group_, this);
    }
}

void COptionUI::Selected(bool selected, bool notify) {
    if (selected_ == selected) {
        return;
    }
    selected_ = selected;
    CSkinManagerUI* manager = GetManager();
    if (selected && !group_.empty() && manager != nullptr && manager->IsInTree(this)) {
        manager->SelectInGroup(group_, this);
    }
    Invalidate();
    if (notify) {
        SendNotify(SkinNotifyType::kSelectChanged);
    }
}

void COptionUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"group") {
        SetGroup(value);
    } else if (name == L"selected") {
        Selected(ParseSkinBool(value), false);
    } else if (name == L"selectedimage") {
        SetSelectedImage(value);
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

void COptionUI::AttachTree(CSkinManagerUI* manager, CControlUI* parent) {
    CButtonUI::AttachTree(manager, parent);
    if (manager != nullptr && !group_.empty()) {
        manager->AddOptionToGroup(group_, this);
    }
}

bool COptionUI::Activate() {
    if (!CButtonUI::Activate()) {
        return false;
    }
    Selected(group_.empty() ? !selected_ : true);
    return true;
}

void COptionUI::PaintStatusImage(ISkinPainter& painter) {
    if (selected_ && DrawImage(painter, selectedImage_)) {
        return;
    }
    PaintStateImages(painter, false);
}

}  // namespace SkinUI
