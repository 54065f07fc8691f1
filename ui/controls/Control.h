// CControlUI: the base of every skinned control. Holds the attributes common to all controls,
// the control state (visible, enabled, focused, hot, pushed), the position and the paint order
// that the drawing hooks follow. Knows its parent and its manager; owns nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/LayoutMath.h"
#include "ui/SkinNotify.h"
#include "ui/SkinPainter.h"
#include "ui/SkinTypes.h"
#include "ui/SkinAttributes.h"

namespace SkinUI {

class CSkinManagerUI;
class CContainerUI;

enum class SkinEventType {
    kMouseEnter,
    kMouseLeave,
    kMouseMove,
    kButtonDown,
    kButtonUp,
    kKeyDown,
    kKeyUp,
    kChar,
    kSetFocus,
    kKillFocus,
};

// Keys the controls react to (their virtual-key codes).
constexpr uint32_t kKeyBack = 0x08;
constexpr uint32_t kKeyReturn = 0x0D;
constexpr uint32_t kKeySpace = 0x20;

struct SkinEvent {
    SkinEventType type = SkinEventType::kMouseMove;
    SkinPoint pt;
    uint32_t key = 0;  // virtual key (kKeyDown) or character (kChar)
};

// An image attribute: its descriptor text and whether drawing it has failed already.
struct SkinImageSlot {
    std::wstring descriptor;
    bool failed = false;

    void Set(const std::wstring& value) {
        descriptor = value;
        failed = false;
    }
    bool IsUsable() const { return !descriptor.empty() && !failed; }
};

class CControlUI {
  public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual const wchar_t* GetClass() const { return L"Control"; }
    virtual CContainerUI* AsContainer() { return nullptr; }

    const std::wstring& GetName() const { return name_; }
    void SetName(const std::wstring& name) { name_ = name; }
    const std::wstring& GetText() const { return text_; }
    virtual void SetText(const std::wstring& text);
    const std::wstring& GetToolTip() const { return toolTip_; }
    void SetToolTip(const std::wstring& text) { toolTip_ = text; }
    const std::wstring& GetUserData() const { return userData_; }
    void SetUserData(const std::wstring& text) { userData_ = text; }

    // Tree. SetOwner changes only this control; AttachTree attaches it and its subtree for
    // good (the manager then knows its option groups, focus and hot state).
    CSkinManagerUI* GetManager() const { return manager_; }
    CControlUI* GetParent() const { return parent_; }
    void SetOwner(CSkinManagerUI* manager, CControlUI* parent);
    virtual void AttachTree(CSkinManagerUI* manager, CControlUI* parent);
    bool IsDescendantOf(const CControlUI* ancestor) const;
    // Pre-order search by exact name.
    virtual CControlUI* FindControl(const std::wstring& name);
    // The innermost visible control under the point.
    virtual CControlUI* FindControlAt(SkinPoint pt);

    // State.
    bool IsVisible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool IsEnabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    bool IsFocused() const { return focused_; }
    void SetFocus();
    bool IsHot() const { return hot_; }
    bool IsPushed() const { return pushed_; }
    // Clears hot and pushed (the manager no longer routes the mouse to the control).
    void ResetInputState();
    // Whether a click or Tab gives the control the keyboard focus.
    virtual bool IsFocusable() const { return false; }
    // Whether the mouse pointer over |pt| should be a hand (a link), rather than the arrow.
    virtual bool WantsHandCursor(SkinPoint) const { return false; }

    // Geometry.
    const IntRect& GetPos() const { return pos_; }
    virtual void SetPos(const IntRect& rect);
    int GetFixedWidth() const { return item_.fixedWidth; }
    int GetFixedHeight() const { return item_.fixedHeight; }
    // Sizes are clamped to 0..kMaxLength.
    void SetFixedWidth(int width) { SetItemLength(&LayoutItem::fixedWidth, width); }
    void SetFixedHeight(int height) { SetItemLength(&LayoutItem::fixedHeight, height); }
    void SetMinWidth(int width) { SetItemLength(&LayoutItem::minWidth, width); }
    void SetMinHeight(int height) { SetItemLength(&LayoutItem::minHeight, height); }
    void SetMaxWidth(int width) { SetItemLength(&LayoutItem::maxWidth, width); }
    void SetMaxHeight(int height) { SetItemLength(&LayoutItem::maxHeight, height); }
    bool IsFloat() const { return item_.floating; }
    void SetFloat(bool floating);
    // The placement of a floating control, relative to its parent's top-left corner.
    const IntRect& GetFloatPos() const { return floatPos_; }
    void SetFloatPos(const IntRect& pos);
    const FloatAnchors* GetFloatAnchors() const { return hasAnchors_ ? &anchors_ : nullptr; }
    LayoutItem GetLayoutItem() const;

    // Look, stored for the drawing side.
    uint32_t GetBkColor() const { return bkColor_; }
    void SetBkColor(uint32_t argb) { SetAndInvalidate(bkColor_, argb); }
    const std::wstring& GetBkImage() const { return bkImage_.descriptor; }
    void SetBkImage(const std::wstring& descriptor) { SetImage(bkImage_, descriptor); }
    const IntRect& GetBorderSize() const { return borderSize_; }
    void SetBorderSize(const IntRect& widths);
    uint32_t GetBorderColor() const { return borderColor_; }
    void SetBorderColor(uint32_t argb) { SetAndInvalidate(borderColor_, argb); }
    uint32_t GetFocusBorderColor() const { return focusBorderColor_; }
    void SetFocusBorderColor(uint32_t argb) { SetAndInvalidate(focusBorderColor_, argb); }
    const SkinSize& GetBorderRound() const { return borderRound_; }
    void SetBorderRound(const SkinSize& round);

    // Attributes by name (case-sensitive). A name no class knows is kept as a custom
    // attribute when name and value are both non-empty; the first value of a name stays.
    virtual void SetAttribute(const std::wstring& name, const std::wstring& value);
    void ApplyAttributeList(const std::wstring& list);
    const std::wstring* GetCustomAttribute(const std::wstring& name) const;

    // Input routed by the manager; disabled controls ignore it.
    virtual void DoEvent(const SkinEvent& event);
    // What a click does; false when the control cannot act (hidden or disabled).
    virtual bool Activate();

    // The sender's own callbacks, called before the manager's notifiers.
    using NotifyCallback = std::function<void(SkinNotify&)>;
    void AddNotifyCallback(NotifyCallback callback);
    const std::vector<NotifyCallback>& GetNotifyCallbacks() const { return callbacks_; }

    // Paints the control (and its children) where it meets |dirty|: background colour,
    // background image, state image, text, children, then the border.
    virtual void DoPaint(ISkinPainter& painter, const IntRect& dirty);
    void Invalidate();
    // The control's size, placement or visibility changed: the tree is laid out again.
    void NeedUpdate();

  protected:
    // Stores an attribute that changes only the look, and asks for a repaint.
    template <typename T>
    void SetAndInvalidate(T& field, const T& value) {
        field = value;
        Invalidate();
    }
    void SetImage(SkinImageSlot& slot, const std::wstring& descriptor) {
        slot.Set(descriptor);
        Invalidate();
    }

    virtual void PaintBkImage(ISkinPainter& painter);
    virtual void PaintStatusImage(ISkinPainter&) {}
    virtual void PaintText(ISkinPainter&) {}
    virtual void PaintChildren(ISkinPainter&, const IntRect&) {}
    virtual void PaintBorder(ISkinPainter& painter);
    // The dotted frame of a focused control without a focus border colour, once the keyboard
    // has been used.
    virtual void PaintFocusCue(ISkinPainter& painter);
    // Draws the slot over the control; remembers a failure so it is not tried again.
    bool DrawImage(ISkinPainter& painter, SkinImageSlot& slot);
    bool DrawImage(ISkinPainter& painter, SkinImageSlot& slot, const IntRect& rect);
    void SendNotify(const wchar_t* type, int32_t wParam = 0, int32_t lParam = 0);
    // The subtree can no longer hold focus, hot or captured state.
    void ReleaseInputState();

    bool hot_ = false;
    bool pushed_ = false;

  private:
    void SetItemLength(int LayoutItem::*field, int value);

    CSkinManagerUI* manager_ = nullptr;
    CControlUI* parent_ = nullptr;
    std::wstring name_;
    std::wstring text_;
    std::wstring toolTip_;
    std::wstring userData_;
    bool visible_ = true;
    bool enabled_ = true;
    bool focused_ = false;

    IntRect pos_;
    LayoutItem item_;
    IntRect floatPos_;
    FloatAnchors anchors_;
    bool hasAnchors_ = false;

    uint32_t bkColor_ = 0;
    SkinImageSlot bkImage_;
    IntRect borderSize_;
    uint32_t borderColor_ = 0;
    uint32_t focusBorderColor_ = 0;
    SkinSize borderRound_;

    SkinAttributeList custom_;
    std::vector<NotifyCallback> callbacks_;
};

}  // namespace SkinUI
