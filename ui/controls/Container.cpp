#include "ui/controls/Container.h"

#include "ui/SkinManager.h"

namespace SkinUI {

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() = default;

CControlUI* CContainerUI::GetItemAt(int index) const {
    return index >= 0 && index < GetCount() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

int CContainerUI::GetItemIndex(const CControlUI* control) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].get() == control) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CContainerUI::Adopt(CControlUI& control) {
    CSkinManagerUI* manager = GetManager();
    if (manager != nullptr && manager->IsInTree(this)) {
        control.AttachTree(manager, this);
    } else {
        control.SetOwner(control.GetManager(), this);
    }
}

bool CContainerUI::Add(std::unique_ptr<CControlUI> control) {
    return AddAt(std::move(control), GetCount());
}

bool CContainerUI::AddAt(std::unique_ptr<CControlUI> control, int index) {
    if (!control || index < 0 || index > GetCount()) {
        return false;
    }
    Adopt(*control);
    items_.insert(items_.begin() + index, std::move(control));
    OnItemAdded(index);
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* control) {
    return RemoveAt(GetItemIndex(control));
}

bool CContainerUI::RemoveAt(int index) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    // Take it out of the list first, so nothing reaches it through the tree while it dies.
    std::unique_ptr<CControlUI> removed = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    removed.reset();
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll() {
    while (!items_.empty()) {
        RemoveAt(GetCount() - 1);
    }
}

void CContainerUI::SetCover(std::unique_ptr<CControlUI> cover) {
    if (cover) {
        Adopt(*cover);
    }
    cover_ = std::move(cover);
    NeedUpdate();
}

void CContainerUI::SetInset(const IntRect& inset) {
    inset_ = ClampRect(inset);
    NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding) {
    childPadding_ = ClampNonNegative(padding);
    NeedUpdate();
}

void CContainerUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"inset") {
        SetInset(ParseSkinRect(value));
    } else if (name == L"childpadding") {
        SetChildPadding(ParseSkinInt(value));
    } else if (name == L"childalign") {
        childAlign_ = value == L"center"  ? CrossAlign::kCenter
                      : value == L"right" ? CrossAlign::kEnd
                                          : CrossAlign::kStart;
        NeedUpdate();
    } else if (name == L"childvalign") {
        childVAlign_ = value == L"vcenter"  ? CrossAlign::kCenter
                       : value == L"bottom" ? CrossAlign::kEnd
                                            : CrossAlign::kStart;
        NeedUpdate();
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

void CContainerUI::AttachTree(CSkinManagerUI* manager, CControlUI* parent) {
    CControlUI::AttachTree(manager, parent);
    for (auto& item : items_) {
        item->AttachTree(manager, this);
    }
    if (cover_) {
        cover_->AttachTree(manager, this);
    }
}

CControlUI* CContainerUI::FindControl(const std::wstring& name) {
    if (CControlUI* self = CControlUI::FindControl(name)) {
        return self;
    }
    for (auto& item : items_) {
        if (CControlUI* found = item->FindControl(name)) {
            return found;
        }
    }
    return cover_ ? cover_->FindControl(name) : nullptr;
}

CControlUI* CContainerUI::FindControlAt(SkinPoint pt) {
    if (CControlUI::FindControlAt(pt) == nullptr) {
        return nullptr;
    }
    if (cover_) {
        if (CControlUI* found = cover_->FindControlAt(pt)) {
            return found;
        }
    }
    // Later children are painted above earlier ones.
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        if (CControlUI* found = (*it)->FindControlAt(pt)) {
            return found;
        }
    }
    return this;
}

void CContainerUI::SetPos(const IntRect& rect) {
    CControlUI::SetPos(rect);
    const IntRect inner = ShrinkRect(rect, inset_);
    for (auto& item : items_) {
        if (item->IsVisible() && !item->IsFloat()) {
            item->SetPos(PlaceInArea(inner, item->GetLayoutItem()));
        }
    }
    PlaceFloatingAndCover();
}

void CContainerUI::PlaceFloatingAndCover() {
    for (auto& item : items_) {
        if (item->IsVisible() && item->IsFloat()) {
            item->SetPos(PlaceFloating(GetPos(), item->GetFloatPos(), item->GetLayoutItem(),
                                       item->GetFloatAnchors()));
        }
    }
    if (cover_) {
        cover_->SetPos(GetPos());
    }
}

void CContainerUI::PaintChildren(ISkinPainter& painter, const IntRect& dirty) {
    for (auto& item : items_) {
        item->DoPaint(painter, dirty);
    }
    if (cover_) {
        cover_->DoPaint(painter, dirty);
    }
}

void CBoxLayoutUI::SetPos(const IntRect& rect) {
    CControlUI::SetPos(rect);
    std::vector<LayoutItem> layout;
    layout.reserve(items_.size());
    for (const auto& item : items_) {
        layout.push_back(item->GetLayoutItem());
    }
    BoxLayoutParams params;
    params.rect = rect;
    params.inset = GetInset();
    params.childPadding = GetChildPadding();
    params.axis = axis_;
    params.crossAlign = axis_ == LayoutAxis::kVertical ? GetChildAlign() : GetChildVAlign();
    const std::vector<IntRect> placed = LayoutBox(params, layout);
    for (size_t i = 0; i < items_.size(); ++i) {
        if (layout[i].visible && !layout[i].floating) {
            items_[i]->SetPos(placed[i]);
        }
    }
    PlaceFloatingAndCover();
}

}  // namespace SkinUI
