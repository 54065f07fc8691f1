// Notification maps and their router: a class lists, in a static table, which member handles
// which notification type (optionally only from one control); CNotifyRouter finds the entry
// for a record by walking the class's map, then its base maps, after any virtual-window pump.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "ui/SkinNotify.h"

namespace SkinUI {

class CNotifyRouter;

// Kind 1: the notification's two values and a result. Kind 2: the whole record.
using SkinNotifyValueHandler = void (CNotifyRouter::*)(int32_t wParam, int32_t lParam,
                                                       intptr_t* result);
using SkinNotifyRecordHandler = void (CNotifyRouter::*)(SkinNotify& msg);

enum class SkinNotifyHandlerKind { kEnd = 0, kValues = 1, kRecord = 2 };

struct SkinNotifyMapEntry {
    const wchar_t* type;         // exact notification type; null in the closing entry
    const wchar_t* controlName;  // "" for any control
    SkinNotifyHandlerKind kind;
    SkinNotifyValueHandler valueHandler;
    SkinNotifyRecordHandler recordHandler;
};

struct SkinNotifyMap {
    const SkinNotifyMap* base;  // null for CNotifyRouter's own (empty) map
    const SkinNotifyMapEntry* entries;
};

// Turn a derived class's member into a map handler. The router only calls it on an object of
// that class, which is what makes the conversion to a base-class member sound.
template <typename T>
SkinNotifyRecordHandler AsNotifyHandler(void (T::*handler)(SkinNotify&)) {
    return static_cast<SkinNotifyRecordHandler>(handler);
}
template <typename T>
SkinNotifyValueHandler AsNotifyHandler(void (T::*handler)(int32_t, int32_t, intptr_t*)) {
    return static_cast<SkinNotifyValueHandler>(handler);
}

class CNotifyRouter {
  public:
    CNotifyRouter() = default;
    virtual ~CNotifyRouter() = default;
    CNotifyRouter(const CNotifyRouter&) = delete;
    CNotifyRouter& operator=(const CNotifyRouter&) = delete;

    // Virtual windows: further routers that get the records naming them first. Names compare
    // case-insensitively; a name already taken is refused. The router is not owned.
    bool AddVirtualWnd(const std::wstring& name, CNotifyRouter* router);
    bool RemoveVirtualWnd(const std::wstring& name);
    CNotifyRouter* GetVirtualWnd(const std::wstring& name) const;
    void RemoveAllVirtualWnd() { virtualWnds_.clear(); }

    // The record's virtual window first (when one is registered under its name), then this
    // class's maps. True when a handler was called.
    bool NotifyPump(SkinNotify& msg);

  protected:
    // The map of the most derived class (see SKIN_DECLARE_NOTIFY_MAP).
    virtual const SkinNotifyMap* GetNotifyMap() const { return &notifyMap_; }
    static const SkinNotifyMap notifyMap_;

  private:
    bool DispatchThroughMaps(SkinNotify& msg);

    std::map<std::wstring, CNotifyRouter*> virtualWnds_;  // keyed by the lower-case name
};

// Within one map an entry with the record's type and the sender's name wins; failing that,
// the first entry of that type with an empty name. The first map that has either ends the
// search.
const SkinNotifyMapEntry* FindNotifyEntry(const SkinNotifyMap* map, const SkinNotify& msg);

}  // namespace SkinUI

// In the class body:
//     SKIN_DECLARE_NOTIFY_MAP()
// In one source file:
//     SKIN_BEGIN_NOTIFY_MAP(CMyWindow, SkinUI::CNotifyRouter)
//         SKIN_NOTIFY_HANDLER(L"click", &CMyWindow::OnClick)           // any control
//         SKIN_NOTIFY_NAME_HANDLER(L"click", L"btn_ok", &CMyWindow::OnOk)
//         SKIN_NOTIFY_VALUE_HANDLER(L"tabselect", L"", &CMyWindow::OnTab)
//     SKIN_END_NOTIFY_MAP()
// Record handlers are void (SkinNotify&); value handlers void (int32_t, int32_t, intptr_t*).
#define SKIN_DECLARE_NOTIFY_MAP()                             \
  protected:                                                  \
    static const SkinUI::SkinNotifyMapEntry notifyEntries_[]; \
    static const SkinUI::SkinNotifyMap notifyMap_;            \
    const SkinUI::SkinNotifyMap* GetNotifyMap() const override;

#define SKIN_BEGIN_NOTIFY_MAP(theClass, baseClass)                                     \
    const SkinUI::SkinNotifyMap* theClass::GetNotifyMap() const {                      \
        return &theClass::notifyMap_;                                                  \
    }                                                                                  \
    const SkinUI::SkinNotifyMap theClass::notifyMap_ = {&baseClass::notifyMap_,        \
                                                        &theClass::notifyEntries_[0]}; \
    const SkinUI::SkinNotifyMapEntry theClass::notifyEntries_[] = {
#define SKIN_NOTIFY_NAME_HANDLER(type, name, handler) \
    {type, name, SkinUI::SkinNotifyHandlerKind::kRecord, nullptr, SkinUI::AsNotifyHandler(handler)},
#define SKIN_NOTIFY_HANDLER(type, handler) SKIN_NOTIFY_NAME_HANDLER(type, L"", handler)
#define SKIN_NOTIFY_VALUE_HANDLER(type, name, handler) \
    {type, name, SkinUI::SkinNotifyHandlerKind::kValues, SkinUI::AsNotifyHandler(handler), nullptr},
#define SKIN_END_NOTIFY_MAP()                                                   \
    { nullptr, nullptr, SkinUI::SkinNotifyHandlerKind::kEnd, nullptr, nullptr } \
    }                                                                           \
    ;
