// CEditUI: a one-line text field. Typed characters change its text and send "textchanged"
// unless it is read-only; Enter sends "return". The native caret and selection are the
// window's business.
#pragma once

#include "ui/controls/Label.h"

namespace SkinUI {

class CEditUI : public CLabelUI {
  public:
    const wchar_t* GetClass() const override { return L"Edit"; }
    bool IsFocusable() const override { return true; }

    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { SetAndInvalidate(readOnly_, readOnly); }
    int GetMaxChar() const { return maxChar_; }
    void SetMaxChar(int maxChar);
    bool IsPasswordMode() const { return password_; }
    void SetPasswordMode(bool password) { SetAndInvalidate(password_, password); }

    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void DoEvent(const SkinEvent& event) override;

  protected:
    std::wstring GetPaintText() const override;

  private:
    bool readOnly_ = false;
    int maxChar_ = 255;
    bool password_ = false;
};

}  // namespace SkinUI
