// Containers: CContainerUI owns its children (and an optional cover control drawn over them)
// and stacks them in its inner area; the vertical and horizontal box layouts place them one
// after another with the arithmetic of LayoutMath.
#pragma once

#include <memory>
#include <vector>

#include "ui/controls/Control.h"

namespace SkinUI {

class CContainerUI : public CControlUI {
  public:
    CContainerUI();
    ~CContainerUI() override;

    const wchar_t* GetClass() const override { return L"Container"; }
    CContainerUI* AsContainer() override { return this; }

    int GetCount() const { return static_cast<int>(items_.size()); }
    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(const CControlUI* control) const;
    // The container takes ownership; false (and the control destroyed) for a null control.
    virtual bool Add(std::unique_ptr<CControlUI> control);
    virtual bool AddAt(std::unique_ptr<CControlUI> control, int index);
    // Destroy the control.
    bool Remove(CControlUI* control);
    virtual bool RemoveAt(int index);
    virtual void RemoveAll();

    // A control laid over the whole container, above the children.
    CControlUI* GetCover() const { return cover_.get(); }
    void SetCover(std::unique_ptr<CControlUI> cover);

    const IntRect& GetInset() const { return inset_; }
    void SetInset(const IntRect& inset);
    int GetChildPadding() const { return childPadding_; }
    void SetChildPadding(int padding);

    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void AttachTree(CSkinManagerUI* manager, CControlUI* parent) override;
    CControlUI* FindControl(const std::wstring& name) override;
    CControlUI* FindControlAt(SkinPoint pt) override;
    // Children in the inner area at their fixed sizes; floating children by their placement.
    void SetPos(const IntRect& rect) override;

  protected:
    void PaintChildren(ISkinPainter& painter, const IntRect& dirty) override;
    // Places the floating children and the cover once the flow is laid out.
    void PlaceFloatingAndCover();
    // Called after a child joined, before any layout.
    virtual void OnItemAdded(int) {}
    CrossAlign GetChildAlign() const { return childAlign_; }
    CrossAlign GetChildVAlign() const { return childVAlign_; }

    std::vector<std::unique_ptr<CControlUI>> items_;

  private:
    void Adopt(CControlUI& control);

    std::unique_ptr<CControlUI> cover_;
    IntRect inset_;
    int childPadding_ = 0;
    CrossAlign childAlign_ = CrossAlign::kStart;
    CrossAlign childVAlign_ = CrossAlign::kStart;
};

// A box layout: children one after another along its axis.
class CBoxLayoutUI : public CContainerUI {
  public:
    explicit CBoxLayoutUI(LayoutAxis axis) : axis_(axis) {}
    void SetPos(const IntRect& rect) override;

  private:
    LayoutAxis axis_;
};

class CVerticalLayoutUI : public CBoxLayoutUI {
  public:
    CVerticalLayoutUI() : CBoxLayoutUI(LayoutAxis::kVertical) {}
    const wchar_t* GetClass() const override { return L"VerticalLayout"; }
};

class CHorizontalLayoutUI : public CBoxLayoutUI {
  public:
    CHorizontalLayoutUI() : CBoxLayoutUI(LayoutAxis::kHorizontal) {}
    const wchar_t* GetClass() const override { return L"HorizontalLayout"; }
};

}  // namespace SkinUI
