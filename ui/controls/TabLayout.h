// CTabLayoutUI: a container that shows exactly one child, the selected page, over its whole
// inner area. Selecting a page sends "tabselect" with the new and the old index.
#pragma once

#include "ui/controls/Container.h"

namespace SkinUI {

class CTabLayoutUI : public CContainerUI {
  public:
    const wchar_t* GetClass() const override { return L"TabLayout"; }

    int GetCurSel() const { return curSel_; }
    // Out of range: refused (false). The current page: true, nothing changes. Otherwise the
    // page is shown, the others hidden, the page gets the focus and, with |notify|,
    // "tabselect" is sent (first value the new index, second the old one).
    bool SelectItem(int index, bool notify = true);
    bool SelectItem(CControlUI* page, bool notify = true);

    bool RemoveAt(int index) override;
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  protected:
    // The first visible child added becomes the selected page; every later one is hidden.
    void OnItemAdded(int index) override;

  private:
    int curSel_ = -1;
};

}  // namespace SkinUI
