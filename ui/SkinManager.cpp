#include "ui/SkinManager.h"

#include <algorithm>

#include "ui/LayoutMath.h"
#include "ui/SkinClock.h"
#include "ui/controls/Button.h"
#include "ui/controls/Container.h"
#include "ui/controls/Control.h"

namespace SkinUI {

namespace {

// The control and all its ancestors are shown, and the control is enabled.
bool CanTakeFocus(const CControlUI* control) {
    if (!control->IsEnabled()) {
        return false;
    }
    for (const CControlUI* c = control; c != nullptr; c = c->GetParent()) {
        if (!c->IsVisible()) {
            return false;
        }
    }
    return true;
}

// The shown controls of the subtree in tree order (a container before its children, the cover
// last).
void CollectShown(CControlUI* control, std::vector<CControlUI*>& out) {
    if (!control->IsVisible()) {
        return;
    }
    out.push_back(control);
    if (CContainerUI* container = control->AsContainer()) {
        for (int i = 0; i < container->GetCount(); ++i) {
            CollectShown(container->GetItemAt(i), out);
        }
        if (container->GetCover() != nullptr) {
            CollectShown(container->GetCover(), out);
        }
    }
}

}  // namespace

CSkinManagerUI::CSkinManagerUI() = default;

CSkinManagerUI::~CSkinManagerUI() {
    DestroyTree();
}

bool CSkinManagerUI::AttachRoot(std::unique_ptr<CControlUI> root) {
    if (!root) {
        return false;
    }
    DestroyTree();
    root_ = std::move(root);
    root_->AttachTree(this, nullptr);
    NeedUpdate();
    return true;
}

void CSkinManagerUI::DestroyTree() {
    focus_ = nullptr;
    hot_ = nullptr;
    capture_ = nullptr;
    root_.reset();
    groups_.clear();
}

bool CSkinManagerUI::IsInTree(const CControlUI* control) const {
    return control != nullptr && root_ && control->GetManager() == this &&
           control->IsDescendantOf(root_.get());
}

CControlUI* CSkinManagerUI::FindControl(const std::wstring& name) const {
    return root_ ? root_->FindControl(name) : nullptr;
}

CControlUI* CSkinManagerUI::FindControlAt(SkinPoint pt) const {
    return root_ ? root_->FindControlAt(pt) : nullptr;
}

void CSkinManagerUI::AddFont(const SkinFontEntry& font) {
    fonts_[font.id] = font;
}

const SkinFontEntry* CSkinManagerUI::GetFont(int id) const {
    const auto it = fonts_.find(id);
    return it == fonts_.end() ? nullptr : &it->second;
}

void CSkinManagerUI::SetDefaultFont(const SkinFontEntry& font) {
    defaultFont_ = font;
    hasDefaultFont_ = true;
}

void CSkinManagerUI::AddImage(const SkinImageEntry& image) {
    images_[image.name] = image;
}

const SkinImageEntry* CSkinManagerUI::GetImage(const std::wstring& name) const {
    const auto it = images_.find(name);
    return it == images_.end() ? nullptr : &it->second;
}

void CSkinManagerUI::AddDefaultAttributeList(const std::wstring& element,
                                             const std::wstring& list) {
    defaultAttributes_[ToLowerAscii(element)] = list;
}

const std::wstring* CSkinManagerUI::GetDefaultAttributeList(const std::wstring& element) const {
    const auto it = defaultAttributes_.find(ToLowerAscii(element));
    return it == defaultAttributes_.end() ? nullptr : &it->second;
}

void CSkinManagerUI::AddMultiLanguageString(int id, const std::wstring& text) {
    texts_[id] = text;
}

const std::wstring* CSkinManagerUI::GetMultiLanguageString(int id) const {
    const auto it = texts_.find(id);
    return it == texts_.end() ? nullptr : &it->second;
}

void CSkinManagerUI::SetWindowAttribute(const std::wstring& name, const std::wstring& value) {
    if (EqualsNoCase(name, L"size")) {
        window_.initSize = ClampSize(ParseSkinSize(value));
        if (!root_ && host_ != nullptr) {
            host_->ResizeWindow(window_.initSize.cx, window_.initSize.cy);
        }
    } else if (EqualsNoCase(name, L"sizebox")) {
        window_.sizeBox = ParseSkinRect(value);
    } else if (EqualsNoCase(name, L"caption")) {
        window_.caption = ParseSkinRect(value);
    } else if (EqualsNoCase(name, L"roundcorner")) {
        window_.roundCorner = ClampSize(ParseSkinSize(value));
    } else if (EqualsNoCase(name, L"mininfo")) {
        window_.minInfo = ClampSize(ParseSkinSize(value));
    } else if (EqualsNoCase(name, L"maxinfo")) {
        window_.maxInfo = ClampSize(ParseSkinSize(value));
    } else if (EqualsNoCase(name, L"showdirty")) {
        window_.showDirty = ParseSkinBool(value);
    } else if (name == L"noactivate") {
        window_.noActivate = ParseSkinBool(value);
    } else if (EqualsNoCase(name, L"opacity")) {
        window_.opacity = ParseSkinInt(value);
    } else if (name == L"layeredopacity") {
        window_.layeredOpacity = ParseSkinInt(value);
    } else if (name == L"layeredimage") {
        window_.layeredImage = value;
    } else if (EqualsNoCase(name, L"defaultfontcolor")) {
        colours_.text = ParseSkinColor(value);
    } else if (EqualsNoCase(name, L"disabledfontcolor")) {
        colours_.disabledText = ParseSkinColor(value);
    } else if (EqualsNoCase(name, L"linkfontcolor")) {
        colours_.link = ParseSkinColor(value);
    } else if (EqualsNoCase(name, L"linkhoverfontcolor")) {
        colours_.linkHover = ParseSkinColor(value);
    } else if (EqualsNoCase(name, L"selectedcolor")) {
        colours_.selectedBk = ParseSkinColor(value);
    } else {
        window_.custom.emplace_back(name, value);
    }
}

void CSkinManagerUI::AddControlPlugin(SkinControlFactory factory) {
    if (factory) {
        plugins_.push_back(std::move(factory));
    }
}

std::unique_ptr<CControlUI> CSkinManagerUI::CreateFromPlugins(const std::wstring& name) const {
    for (const SkinControlFactory& plugin : plugins_) {
        if (std::unique_ptr<CControlUI> control = plugin(name)) {
            return control;
        }
    }
    return nullptr;
}

void CSkinManagerUI::AddNotifier(INotifyUI* notifier) {
    if (notifier != nullptr &&
        std::find(notifiers_.begin(), notifiers_.end(), notifier) == notifiers_.end()) {
        notifiers_.push_back(notifier);
    }
}

bool CSkinManagerUI::RemoveNotifier(INotifyUI* notifier) {
    const auto it = std::find(notifiers_.begin(), notifiers_.end(), notifier);
    if (it == notifiers_.end()) {
        return false;
    }
    notifiers_.erase(it);
    return true;
}

void CSkinManagerUI::SendNotify(CControlUI* sender, const wchar_t* type, int32_t wParam,
                                int32_t lParam) {
    SkinNotify msg;
    msg.type = type;
    msg.sender = sender;
    msg.timestamp = SkinTickCount();
    msg.mousePos = mousePos_;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg);
}

void CSkinManagerUI::SendNotify(SkinNotify& msg) {
    if (msg.sender != nullptr) {
        // Copies: a handler may add callbacks or notifiers while the record passes.
        const std::vector<CControlUI::NotifyCallback> callbacks = msg.sender->GetNotifyCallbacks();
        for (const auto& callback : callbacks) {
            callback(msg);
        }
    }
    const std::vector<INotifyUI*> notifiers = notifiers_;
    for (INotifyUI* notifier : notifiers) {
        if (std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end()) {
            notifier->Notify(msg);
        }
    }
}

void CSkinManagerUI::SetFocus(CControlUI* control) {
    if (control == focus_) {
        return;
    }
    if (control != nullptr && (!IsInTree(control) || !CanTakeFocus(control))) {
        return;
    }
    CControlUI* old = focus_;
    focus_ = control;
    if (old != nullptr) {
        old->DoEvent(SkinEvent{SkinEventType::kKillFocus, mousePos_, 0});
        SendNotify(old, SkinNotifyType::kKillFocus);
    }
    // A "killfocus" handler may have moved the focus elsewhere already.
    if (control != nullptr && focus_ == control) {
        control->DoEvent(SkinEvent{SkinEventType::kSetFocus, mousePos_, 0});
        SendNotify(control, SkinNotifyType::kSetFocus);
    }
}

bool CSkinManagerUI::MoveFocus(bool forward) {
    if (!root_) {
        return false;
    }
    std::vector<CControlUI*> order;
    CollectShown(root_.get(), order);
    const int count = static_cast<int>(order.size());
    int from = forward ? -1 : count;
    for (int i = 0; i < count; ++i) {
        if (order[static_cast<size_t>(i)] == focus_) {
            from = i;
            break;
        }
    }
    for (int step = 1; step <= count; ++step) {
        const int i = ((from + (forward ? step : -step)) % count + count) % count;
        CControlUI* candidate = order[static_cast<size_t>(i)];
        if (candidate->IsFocusable() && CanTakeFocus(candidate)) {
            if (candidate != focus_) {
                SetFocus(candidate);
            }
            return true;
        }
    }
    return false;
}

void CSkinManagerUI::AddOptionToGroup(const std::wstring& group, COptionUI* option) {
    std::vector<COptionUI*>& members = groups_[group];
    if (std::find(members.begin(), members.end(), option) != members.end()) {
        return;
    }
    if (option->IsSelected()) {
        for (COptionUI* other : members) {
            other->Selected(false, false);
        }
    }
    members.push_back(option);
}

void CSkinManagerUI::RemoveOptionFromGroups(COptionUI* option) {
    for (auto it = groups_.begin(); it != groups_.end();) {
        auto& members = it->second;
        members.erase(std::remove(members.begin(), members.end(), option), members.end());
        it = members.empty() ? groups_.erase(it) : std::next(it);
    }
}

void CSkinManagerUI::SelectInGroup(const std::wstring& group, COptionUI* selected) {
    const auto it = groups_.find(group);
    if (it == groups_.end()) {
        return;
    }
    const std::vector<COptionUI*> members = it->second;
    for (COptionUI* option : members) {
        if (option != selected) {
            option->Selected(false, false);
        }
    }
}

void CSkinManagerUI::ReleaseInputState(CControlUI* subtree) {
    if (hot_ != nullptr && hot_->IsDescendantOf(subtree)) {
        hot_->ResetInputState();
        hot_ = nullptr;
    }
    if (capture_ != nullptr && capture_->IsDescendantOf(subtree)) {
        capture_->ResetInputState();
        capture_ = nullptr;
    }
    if (focus_ != nullptr && focus_->IsDescendantOf(subtree)) {
        SetFocus(nullptr);
    }
}

void CSkinManagerUI::ForgetControl(CControlUI* control) {
    if (focus_ == control) {
        focus_ = nullptr;
    }
    if (hot_ == control) {
        hot_ = nullptr;
    }
    if (capture_ == control) {
        capture_ = nullptr;
    }
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->control == control) {
            if (host_ != nullptr) {
                host_->StopTimer(it->hostId);
            }
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
}

void CSkinManagerUI::SetRightToLeftReading(bool rtl) {
    if (rtlReading_ != rtl) {
        rtlReading_ = rtl;
        Invalidate(client_);
    }
}

void CSkinManagerUI::ShowFocusCues() {
    if (!focusCues_) {
        focusCues_ = true;
        if (focus_ != nullptr) {
            focus_->Invalidate();
        }
    }
}

bool CSkinManagerUI::SetTimer(CControlUI* control, uint32_t id, uint32_t elapse) {
    if (control == nullptr || host_ == nullptr || control->GetManager() != this) {
        return false;
    }
    for (const Timer& timer : timers_) {
        if (timer.control == control && timer.id == id) {
            return host_->StartTimer(timer.hostId, elapse);  // a new period for the same timer
        }
    }
    const uint32_t hostId = nextTimerId_++;
    if (!host_->StartTimer(hostId, elapse)) {
        return false;
    }
    timers_.push_back(Timer{control, id, hostId});
    return true;
}

bool CSkinManagerUI::KillTimer(CControlUI* control, uint32_t id) {
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->control == control && it->id == id) {
            if (host_ != nullptr) {
                host_->StopTimer(it->hostId);
            }
            timers_.erase(it);
            return true;
        }
    }
    return false;
}

bool CSkinManagerUI::OnTimer(uint32_t timerId) {
    for (const Timer& timer : timers_) {
        if (timer.hostId == timerId) {
            SendNotify(timer.control, SkinNotifyType::kTimer, static_cast<int32_t>(timer.id));
            return true;
        }
    }
    return false;
}

void CSkinManagerUI::ReleaseWindow() {
    for (const Timer& timer : timers_) {
        if (host_ != nullptr) {
            host_->StopTimer(timer.hostId);
        }
    }
    timers_.clear();
    focus_ = nullptr;
    hot_ = nullptr;
    capture_ = nullptr;
    host_ = nullptr;
}

}  // namespace SkinUI
