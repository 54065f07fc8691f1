#include "ui/SkinManager.h"

#include <algorithm>

#include "ui/LayoutMath.h"
#include "ui/SkinClock.h"
#include "ui/controls/Button.h"
#include "ui/controls/Control.h"

namespace SkinUI {

namespace {

SkinSize NonNegative(const SkinSize& size) {
    return SkinSize{std::max(ClampLength(size.cx), 0), std::max(ClampLength(size.cy), 0)};
}

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
        window_.initSize = NonNegative(ParseSkinSize(value));
        if (!root_ && host_ != nullptr) {
            host_->ResizeWindow(window_.initSize.cx, window_.initSize.cy);
        }
    } else if (EqualsNoCase(name, L"sizebox")) {
        window_.sizeBox = ParseSkinRect(value);
    } else if (EqualsNoCase(name, L"caption")) {
        window_.caption = ParseSkinRect(value);
    } else if (EqualsNoCase(name, L"roundcorner")) {
        window_.roundCorner = NonNegative(ParseSkinSize(value));
    } else if (EqualsNoCase(name, L"mininfo")) {
        window_.minInfo = NonNegative(ParseSkinSize(value));
    } else if (EqualsNoCase(name, L"maxinfo")) {
        window_.maxInfo = NonNegative(ParseSkinSize(value));
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
}

}  // namespace SkinUI
