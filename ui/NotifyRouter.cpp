#include "ui/NotifyRouter.h"

#include "ui/SkinAttributes.h"
#include "ui/controls/Control.h"

namespace SkinUI {

namespace {

const SkinNotifyMapEntry kNoEntries[] = {
    {nullptr, nullptr, SkinNotifyHandlerKind::kEnd, nullptr, nullptr},
};

}  // namespace

const SkinNotifyMap CNotifyRouter::notifyMap_ = {nullptr, &kNoEntries[0]};

bool CNotifyRouter::AddVirtualWnd(const std::wstring& name, CNotifyRouter* router) {
    if (name.empty() || router == nullptr) {
        return false;
    }
    return virtualWnds_.emplace(ToLowerAscii(name), router).second;
}

bool CNotifyRouter::RemoveVirtualWnd(const std::wstring& name) {
    return virtualWnds_.erase(ToLowerAscii(name)) != 0;
}

CNotifyRouter* CNotifyRouter::GetVirtualWnd(const std::wstring& name) const {
    const auto it = virtualWnds_.find(ToLowerAscii(name));
    return it == virtualWnds_.end() ? nullptr : it->second;
}

bool CNotifyRouter::NotifyPump(SkinNotify& msg) {
    if (!msg.virtualWindow.empty()) {
        CNotifyRouter* pump = GetVirtualWnd(msg.virtualWindow);
        if (pump != nullptr && pump != this && pump->DispatchThroughMaps(msg)) {
            return true;
        }
    }
    return DispatchThroughMaps(msg);
}

bool CNotifyRouter::DispatchThroughMaps(SkinNotify& msg) {
    const SkinNotifyMapEntry* entry = FindNotifyEntry(GetNotifyMap(), msg);
    if (entry == nullptr) {
        return false;
    }
    if (entry->kind == SkinNotifyHandlerKind::kValues && entry->valueHandler != nullptr) {
        intptr_t result = 0;
        (this->*entry->valueHandler)(msg.wParam, msg.lParam, &result);
    } else if (entry->kind == SkinNotifyHandlerKind::kRecord && entry->recordHandler != nullptr) {
        (this->*entry->recordHandler)(msg);
    }
    return true;
}

const SkinNotifyMapEntry* FindNotifyEntry(const SkinNotifyMap* map, const SkinNotify& msg) {
    static const std::wstring kNoName;
    const std::wstring& sender = msg.sender != nullptr ? msg.sender->GetName() : kNoName;
    for (; map != nullptr; map = map->base) {
        const SkinNotifyMapEntry* anyControl = nullptr;
        for (const SkinNotifyMapEntry* e = map->entries;
             e != nullptr && e->kind != SkinNotifyHandlerKind::kEnd; ++e) {
            if (msg.type != e->type) {
                continue;
            }
            const bool forAny = e->controlName == nullptr || e->controlName[0] == L'\0';
            if (!forAny && sender == e->controlName) {
                return e;
            }
            if (forAny && anyControl == nullptr) {
                anyControl = e;
            }
        }
        if (anyControl != nullptr) {
            return anyControl;
        }
    }
    return nullptr;
}

}  // namespace SkinUI
