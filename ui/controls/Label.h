// The label family: CLabelUI draws its text on one line (vertically centred), CTextUI wraps
// it from the top and reports clicks on its links. Both keep the text attributes (font, colours,
// alignment, padding, markup) that the buttons, the progress bar and the edit inherit.
#pragma once

#include "ui/controls/Control.h"

namespace SkinUI {

class CLabelUI : public CControlUI {
  public:
    CLabelUI();
    const wchar_t* GetClass() const override { return L"Label"; }

    int GetFont() const { return fontId_; }
    void SetFont(int id) { SetAndInvalidate(fontId_, id); }
    uint32_t GetTextColor() const { return textColor_; }
    void SetTextColor(uint32_t argb) { SetAndInvalidate(textColor_, argb); }
    uint32_t GetDisabledTextColor() const { return disabledTextColor_; }
    void SetDisabledTextColor(uint32_t argb) { SetAndInvalidate(disabledTextColor_, argb); }
    // SkinTextStyle bits (alignment, single line or word wrap).
    uint32_t GetTextStyle() const { return textStyle_; }
    void SetTextStyle(uint32_t style) { SetAndInvalidate(textStyle_, style); }
    const IntRect& GetTextPadding() const { return textPadding_; }
    void SetTextPadding(const IntRect& padding);
    bool IsShowHtml() const { return showHtml_; }
    void SetShowHtml(bool showHtml) { SetAndInvalidate(showHtml_, showHtml); }

    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void SetText(const std::wstring& text) override;
    // Tracks the link under the mouse, drawn in the hovered link colour.
    void DoEvent(const SkinEvent& event) override;
    bool WantsHandCursor(SkinPoint pt) const override { return IsEnabled() && LinkAt(pt) >= 0; }

    // The colour the text is drawn in now; 0 in an attribute means the manager's default.
    virtual uint32_t GetPaintTextColor() const;
    // The link of the marked-up text drawn under |pt| at the last paint, or -1.
    int LinkAt(SkinPoint pt) const;
    int GetHoverLink() const { return hoverLink_; }

  protected:
    void PaintText(ISkinPainter& painter) override;
    // The text as drawn (the edit masks a password).
    virtual std::wstring GetPaintText() const { return GetText(); }

  private:
    std::vector<SkinLinkArea> links_;
    int hoverLink_ = -1;
    int fontId_ = -1;
    uint32_t textColor_ = 0;
    uint32_t disabledTextColor_ = 0;
    uint32_t textStyle_ = kTextLeft | kTextVCenter | kTextSingleLine;
    IntRect textPadding_;
    bool showHtml_ = false;
};

// A click on a link of a Text control sends "link" with the link's index.
class CTextUI : public CLabelUI {
  public:
    CTextUI();
    const wchar_t* GetClass() const override { return L"Text"; }
    void DoEvent(const SkinEvent& event) override;

  private:
    int pressedLink_ = -1;
};

}  // namespace SkinUI
