// The notification record that controls send, and the interfaces through which the window
// side receives notifications and creates controls the builder does not know.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/SkinTypes.h"

namespace SkinUI {

class CControlUI;

// Notification types sent by the controls of this toolkit.
namespace SkinNotifyType {
constexpr const wchar_t* kClick = L"click";
constexpr const wchar_t* kSelectChanged = L"selectchanged";
constexpr const wchar_t* kTextChanged = L"textchanged";
constexpr const wchar_t* kSetFocus = L"setfocus";
constexpr const wchar_t* kKillFocus = L"killfocus";
constexpr const wchar_t* kReturn = L"return";
constexpr const wchar_t* kTabSelect = L"tabselect";
constexpr const wchar_t* kWindowInit = L"windowinit";
constexpr const wchar_t* kTimer = L"timer";
constexpr const wchar_t* kLink = L"link";
}  // namespace SkinNotifyType

struct SkinNotify {
    std::wstring type;
    std::wstring virtualWindow;  // empty: the window's own controls
    CControlUI* sender = nullptr;
    uint32_t timestamp = 0;  // milliseconds of the system tick count
    SkinPoint mousePos;      // the last position the manager saw
    int32_t wParam = 0;
    int32_t lParam = 0;
};

class INotifyUI {
  public:
    virtual void Notify(SkinNotify& msg) = 0;

  protected:
    ~INotifyUI() = default;
};

// Asked by the builder for element names it does not know; nothing means "skip the element".
class ISkinBuilderCallback {
  public:
    virtual std::unique_ptr<CControlUI> CreateControl(const std::wstring& className) = 0;

  protected:
    ~ISkinBuilderCallback() = default;
};

}  // namespace SkinUI
