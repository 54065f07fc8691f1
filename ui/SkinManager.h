// CSkinManagerUI: the per-window model of a skinned window. It owns the control tree and
// holds what the skin registers (fonts, images, default attributes, texts, window
// attributes), finds controls, keeps focus, hot and captured controls, routes input to
// controls, runs the controls' timers and sends notifications. Painting, invalidation and
// timers go through the window's hooks (ISkinWindowHost).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/SkinNotify.h"
#include "ui/SkinPainter.h"
#include "ui/SkinTypes.h"
#include "ui/SkinAttributes.h"

namespace SkinUI {

class CControlUI;
class COptionUI;

// A font as the skin describes it; the drawing side creates the font itself.
struct SkinFontEntry {
    int id = -1;
    std::wstring face;
    int size = 12;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    bool shared = false;
};

// An image the skin names in an Image element; decoding is the drawing side's.
struct SkinImageEntry {
    std::wstring name;
    std::wstring resourceType;
    uint32_t mask = 0;
    bool shared = false;
};

struct SkinDefaultColours {
    uint32_t text = 0xFF000000;
    uint32_t disabledText = 0xFFA7A6AA;
    uint32_t link = 0xFF0000FF;
    uint32_t linkHover = 0xFFD3215F;
    uint32_t selectedBk = 0xFFBAE4FF;
};

struct SkinWindowAttributes {
    SkinSize initSize;
    IntRect sizeBox;       // widths of the resize border: left, top, right, bottom
    IntRect caption;       // drag area: insets from the left and right edges, top and bottom
    SkinSize roundCorner;  // corner ellipse of a rounded window region, 0 for none
    SkinSize minInfo;
    SkinSize maxInfo;
    bool showDirty = false;
    bool noActivate = false;
    int opacity = 255;
    int layeredOpacity = 255;
    std::wstring layeredImage;
    SkinAttributeList custom;  // everything else, in order
};

// Creates a control for an element name, or nothing.
using SkinControlFactory = std::function<std::unique_ptr<CControlUI>(const std::wstring& name)>;

class CSkinManagerUI {
  public:
    CSkinManagerUI();
    ~CSkinManagerUI();
    CSkinManagerUI(const CSkinManagerUI&) = delete;
    CSkinManagerUI& operator=(const CSkinManagerUI&) = delete;

    // The native window's hooks; without them nothing is invalidated or resized.
    void SetHost(ISkinWindowHost* host) { host_ = host; }
    bool HasWindow() const { return host_ != nullptr; }

    // The control tree. The manager owns the root; DestroyTree drops it and every reference
    // into it (focus, hot, capture, option groups).
    bool AttachRoot(std::unique_ptr<CControlUI> root);
    CControlUI* GetRoot() const { return root_.get(); }
    void DestroyTree();
    bool IsInTree(const CControlUI* control) const;
    CControlUI* FindControl(const std::wstring& name) const;
    CControlUI* FindControlAt(SkinPoint pt) const;

    // Layout, invalidation and painting (see SkinManagerInput.cpp). NeedUpdate asks for a
    // layout before the next paint; the layout invalidates what moved.
    void NeedUpdate();
    bool IsUpdateNeeded() const { return updateNeeded_; }
    void UpdateLayout(const IntRect& client);
    void Invalidate(const IntRect& rect);
    // Lays out if needed, sends "windowinit" on the first paint with a tree, then paints.
    void Paint(ISkinPainter& painter, const IntRect& client, const IntRect& dirty);

    // Skin resources: data only.
    void AddFont(const SkinFontEntry& font);
    const SkinFontEntry* GetFont(int id) const;
    void SetDefaultFont(const SkinFontEntry& font);
    // Null: the system's default GUI font.
    const SkinFontEntry* GetDefaultFont() const {
        return hasDefaultFont_ ? &defaultFont_ : nullptr;
    }
    void AddImage(const SkinImageEntry& image);
    const SkinImageEntry* GetImage(const std::wstring& name) const;
    // Element names compare case-insensitively.
    void AddDefaultAttributeList(const std::wstring& element, const std::wstring& list);
    const std::wstring* GetDefaultAttributeList(const std::wstring& element) const;
    void AddMultiLanguageString(int id, const std::wstring& text);
    const std::wstring* GetMultiLanguageString(int id) const;
    const SkinDefaultColours& GetDefaultColours() const { return colours_; }
    // Text drawn with right-to-left reading order (Arabic); set by the window.
    bool IsRightToLeftReading() const { return rtlReading_; }
    void SetRightToLeftReading(bool rtl);

    // Attributes of a skin file's root Window element.
    void SetWindowAttribute(const std::wstring& name, const std::wstring& value);
    const SkinWindowAttributes& GetWindowAttributes() const { return window_; }

    // Control plug-ins, asked in registration order for element names the builder lacks.
    void AddControlPlugin(SkinControlFactory factory);
    std::unique_ptr<CControlUI> CreateFromPlugins(const std::wstring& name) const;

    // Notifications: the sender's own callbacks first, then the notifiers in registration
    // order. A notifier removed during a dispatch is not called any more.
    void AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    void SendNotify(CControlUI* sender, const wchar_t* type, int32_t wParam = 0,
                    int32_t lParam = 0);
    void SendNotify(SkinNotify& msg);

    // Keyboard focus: "killfocus" to the old control, then "setfocus" to the new one. Only a
    // control of the attached tree (or null) can take it.
    CControlUI* GetFocus() const { return focus_; }
    void SetFocus(CControlUI* control);

    // Input from the window, in client coordinates (see SkinManagerInput.cpp).
    SkinPoint GetMousePos() const { return mousePos_; }
    CControlUI* GetHot() const { return hot_; }
    CControlUI* GetCapture() const { return capture_; }
    void OnMouseMove(SkinPoint pt);
    void OnMouseLeaveWindow();
    void OnButtonDown(SkinPoint pt);
    void OnButtonUp(SkinPoint pt);
    void OnKeyDown(uint32_t key);
    void OnKeyUp(uint32_t key);
    void OnChar(uint32_t character);
    // The window lost the mouse capture: a pressed control is released without a click.
    void OnCaptureLost();
    // Tab and Shift+Tab: the next (or previous) visible, enabled, focusable control in tree
    // order, wrapping around. False when there is none.
    bool MoveFocus(bool forward);
    // Keyboard cues (the dotted focus frame) are shown once the keyboard has been used, as
    // in the system's own dialogs.
    bool AreFocusCuesShown() const { return focusCues_; }
    void ShowFocusCues();

    // Timers of controls: "timer" notifications to |control| every |elapse| milliseconds,
    // first value |id|. A control's timers end with it.
    bool SetTimer(CControlUI* control, uint32_t id, uint32_t elapse);
    bool KillTimer(CControlUI* control, uint32_t id);
    // A host timer fired: true when it is one of the manager's.
    bool OnTimer(uint32_t timerId);
    // The window is gone: no focus, hot, captured control or timer any more; the tree stays.
    void ReleaseWindow();

    // Option groups of the window: selecting one option deselects the others.
    void AddOptionToGroup(const std::wstring& group, COptionUI* option);
    void RemoveOptionFromGroups(COptionUI* option);
    void SelectInGroup(const std::wstring& group, COptionUI* selected);

    // A control of the subtree becomes hidden, disabled or is destroyed: the manager drops
    // its references to it (focus moves to nobody, hot and capture are cleared).
    void ReleaseInputState(CControlUI* subtree);
    void ForgetControl(CControlUI* control);

  private:
    ISkinWindowHost* host_ = nullptr;
    std::unique_ptr<CControlUI> root_;
    bool updateNeeded_ = true;
    bool windowInitSent_ = false;
    IntRect client_;

    std::map<int, SkinFontEntry> fonts_;
    SkinFontEntry defaultFont_;
    bool hasDefaultFont_ = false;
    std::map<std::wstring, SkinImageEntry> images_;
    std::map<std::wstring, std::wstring> defaultAttributes_;
    std::map<int, std::wstring> texts_;
    SkinDefaultColours colours_;
    SkinWindowAttributes window_;

    std::vector<SkinControlFactory> plugins_;
    std::vector<INotifyUI*> notifiers_;
    std::map<std::wstring, std::vector<COptionUI*>> groups_;

    CControlUI* focus_ = nullptr;
    CControlUI* hot_ = nullptr;
    CControlUI* capture_ = nullptr;
    SkinPoint mousePos_;
    bool rtlReading_ = false;
    bool focusCues_ = false;

    struct Timer {
        CControlUI* control;
        uint32_t id;
        uint32_t hostId;
    };
    std::vector<Timer> timers_;
    uint32_t nextTimerId_ = kFirstTimerId;

  public:
    // The host timer identifiers the manager uses start here, clear of a window's own.
    static constexpr uint32_t kFirstTimerId = 0x5C00;
};

}  // namespace SkinUI
