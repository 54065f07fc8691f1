// The manager's layout, painting and input routing: what the window calls from its paint,
// mouse and keyboard messages.
#include "ui/SkinManager.h"
#include "ui/controls/Control.h"

namespace SkinUI {

void CSkinManagerUI::NeedUpdate() {
    const bool wasNeeded = updateNeeded_;
    updateNeeded_ = true;
    if (host_ != nullptr && !wasNeeded) {
        host_->RequestLayout();
    }
}

void CSkinManagerUI::UpdateLayout(const IntRect& client) {
    if (!root_ || (!updateNeeded_ && client == client_)) {
        return;
    }
    client_ = client;
    updateNeeded_ = false;
    root_->SetPos(client);
}

void CSkinManagerUI::Invalidate(const IntRect& rect) {
    if (host_ != nullptr && !rect.IsEmpty()) {
        host_->Invalidate(rect);
    }
}

void CSkinManagerUI::Paint(ISkinPainter& painter, const IntRect& client, const IntRect& dirty) {
    UpdateLayout(client);
    if (!root_) {
        return;
    }
    if (!windowInitSent_) {
        windowInitSent_ = true;
        SendNotify(root_.get(), SkinNotifyType::kWindowInit);
        UpdateLayout(client);  // the handlers may have changed the tree
        if (!root_) {
            return;
        }
    }
    root_->DoPaint(painter, dirty);
}

namespace {

void Send(CControlUI* control, SkinEventType type, SkinPoint pt, uint32_t key = 0) {
    if (control != nullptr) {
        control->DoEvent(SkinEvent{type, pt, key});
    }
}

}  // namespace

void CSkinManagerUI::OnMouseMove(SkinPoint pt) {
    mousePos_ = pt;
    if (capture_ != nullptr) {
        // The pressed control keeps the mouse until the button is released.
        Send(capture_, SkinEventType::kMouseMove, pt);
        return;
    }
    CControlUI* target = FindControlAt(pt);
    if (target != hot_) {
        CControlUI* old = hot_;
        hot_ = target;
        Send(old, SkinEventType::kMouseLeave, pt);
        Send(target, SkinEventType::kMouseEnter, pt);
    }
    Send(target, SkinEventType::kMouseMove, pt);
}

void CSkinManagerUI::OnMouseLeaveWindow() {
    if (capture_ == nullptr && hot_ != nullptr) {
        CControlUI* old = hot_;
        hot_ = nullptr;
        Send(old, SkinEventType::kMouseLeave, mousePos_);
    }
}

void CSkinManagerUI::OnButtonDown(SkinPoint pt) {
    mousePos_ = pt;
    CControlUI* target = FindControlAt(pt);
    if (target == nullptr || !target->IsEnabled()) {
        return;
    }
    if (target->IsFocusable()) {
        SetFocus(target);
        // A focus handler may have changed the tree (hidden or removed the control).
        if (FindControlAt(pt) != target) {
            return;
        }
    }
    capture_ = target;
    Send(target, SkinEventType::kButtonDown, pt);
}

void CSkinManagerUI::OnButtonUp(SkinPoint pt) {
    mousePos_ = pt;
    CControlUI* pressed = capture_;
    capture_ = nullptr;
    Send(pressed, SkinEventType::kButtonUp, pt);
    OnMouseMove(pt);
}

void CSkinManagerUI::OnKeyDown(uint32_t key) {
    Send(focus_, SkinEventType::kKeyDown, mousePos_, key);
}

void CSkinManagerUI::OnKeyUp(uint32_t key) {
    Send(focus_, SkinEventType::kKeyUp, mousePos_, key);
}

void CSkinManagerUI::OnCaptureLost() {
    CControlUI* pressed = capture_;
    capture_ = nullptr;
    if (pressed != nullptr) {
        pressed->ResetInputState();
    }
}

void CSkinManagerUI::OnChar(uint32_t character) {
    Send(focus_, SkinEventType::kChar, mousePos_, character);
}

}  // namespace SkinUI
