#include "ui/controls/TabLayout.h"

#include "ui/SkinManager.h"

namespace SkinUI {

void CTabLayoutUI::OnItemAdded(int index) {
    CControlUI* item = GetItemAt(index);
    if (curSel_ < 0 && item->IsVisible()) {
        curSel_ = index;
        return;
    }
    if (index <= curSel_) {
        ++curSel_;  // inserted in front of the selected page
    }
    item->SetVisible(false);
}

bool CTabLayoutUI::SelectItem(int index, bool notify) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    if (index == curSel_) {
        return true;
    }
    const int old = curSel_;
    curSel_ = index;
    for (int i = 0; i < GetCount(); ++i) {
        GetItemAt(i)->SetVisible(i == index);
    }
    NeedUpdate();
    if (CSkinManagerUI* manager = GetManager()) {
        manager->SetFocus(GetItemAt(index));
        if (notify) {
            manager->SendNotify(this, SkinNotifyType::kTabSelect, index, old);
        }
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* page, bool notify) {
    return SelectItem(GetItemIndex(page), notify);
}

bool CTabLayoutUI::RemoveAt(int index) {
    if (!CContainerUI::RemoveAt(index)) {
        return false;
    }
    if (index < curSel_) {
        --curSel_;
    } else if (index == curSel_) {
        // The selected page is gone: show the one that took its place (or the new last one).
        curSel_ = GetCount() == 0 ? -1 : (index < GetCount() ? index : GetCount() - 1);
        if (curSel_ >= 0) {
            GetItemAt(curSel_)->SetVisible(true);
        }
    }
    return true;
}

void CTabLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"selectedid") {
        SelectItem(ParseSkinInt(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

}  // namespace SkinUI
