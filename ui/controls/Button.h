// Clickable controls: CButtonUI (state images, "click" after a left-button release inside, or
// from the keyboard: Space pressed and released, or Enter),
// COptionUI (selection, mutually exclusive within a group of the window, "selectchanged")
// and CCheckBoxUI (an option that toggles).
#pragma once

#include "ui/controls/Label.h"

namespace SkinUI {

class CButtonUI : public CLabelUI {
  public:
    CButtonUI();
    const wchar_t* GetClass() const override { return L"Button"; }
    bool IsFocusable() const override { return true; }

    const std::wstring& GetNormalImage() const { return normalImage_.descriptor; }
    void SetNormalImage(const std::wstring& descriptor) { SetImage(normalImage_, descriptor); }
    const std::wstring& GetHotImage() const { return hotImage_.descriptor; }
    void SetHotImage(const std::wstring& descriptor) { SetImage(hotImage_, descriptor); }
    const std::wstring& GetPushedImage() const { return pushedImage_.descriptor; }
    void SetPushedImage(const std::wstring& descriptor) { SetImage(pushedImage_, descriptor); }
    const std::wstring& GetDisabledImage() const { return disabledImage_.descriptor; }
    void SetDisabledImage(const std::wstring& descriptor) { SetImage(disabledImage_, descriptor); }
    const std::wstring& GetFocusedImage() const { return focusedImage_.descriptor; }
    void SetFocusedImage(const std::wstring& descriptor) { SetImage(focusedImage_, descriptor); }
    uint32_t GetHotTextColor() const { return hotTextColor_; }
    void SetHotTextColor(uint32_t argb) { SetAndInvalidate(hotTextColor_, argb); }

    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void DoEvent(const SkinEvent& event) override;
    // Sends "click".
    bool Activate() override;
    uint32_t GetPaintTextColor() const override;

  protected:
    void PaintStatusImage(ISkinPainter& painter) override;
    // The image of the current state (disabled, else pushed, else hot, else focused); the
    // normal image when that state has none or it cannot be drawn.
    void PaintStateImages(ISkinPainter& painter, bool allowPushed);

  private:
    SkinImageSlot normalImage_;
    SkinImageSlot hotImage_;
    SkinImageSlot pushedImage_;
    SkinImageSlot disabledImage_;
    SkinImageSlot focusedImage_;
    uint32_t hotTextColor_ = 0;
    bool keyPushed_ = false;  // held down by Space
};

class COptionUI : public CButtonUI {
  public:
    ~COptionUI() override;
    const wchar_t* GetClass() const override { return L"Option"; }

    const std::wstring& GetGroup() const { return group_; }
    void SetGroup(const std::wstring& group);
    bool IsSelected() const { return selected_; }
    // A change of state sends "selectchanged" when |notify| is set. Selecting an option of a
    // group deselects the group's other options of the window, without notifications.
    void Selected(bool selected, bool notify = true);
    const std::wstring& GetSelectedImage() const { return selectedImage_.descriptor; }
    void SetSelectedImage(const std::wstring& descriptor) { SetImage(selectedImage_, descriptor); }

    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void AttachTree(CSkinManagerUI* manager, CControlUI* parent) override;
    // "click", then: an option of a group is selected, any other one toggles.
    bool Activate() override;

  protected:
    // The selected image while selected; otherwise (or when it cannot be drawn) the state
    // images, never the pushed one.
    void PaintStatusImage(ISkinPainter& painter) override;

  private:
    std::wstring group_;
    bool selected_ = false;
    SkinImageSlot selectedImage_;
};

class CCheckBoxUI : public COptionUI {
  public:
    const wchar_t* GetClass() const override { return L"CheckBox"; }
    bool GetCheck() const { return IsSelected(); }
    void SetCheck(bool check, bool notify = true) { Selected(check, notify); }
};

}  // namespace SkinUI
