// CProgressUI: a bar with a range and a value, filled from its left edge (or, upright, from
// its bottom) with the fore image; the text is drawn centred over it.
#pragma once

#include "ui/controls/Label.h"

namespace SkinUI {

class CProgressUI : public CLabelUI {
  public:
    CProgressUI();
    const wchar_t* GetClass() const override { return L"Progress"; }

    // When min is not below max, max becomes min + 1; the value is always clamped into the
    // range.
    int GetMinValue() const { return min_; }
    void SetMinValue(int value);
    int GetMaxValue() const { return max_; }
    void SetMaxValue(int value);
    int GetValue() const { return value_; }
    void SetValue(int value);
    bool IsHorizontal() const { return horizontal_; }
    void SetHorizontal(bool horizontal) { SetAndInvalidate(horizontal_, horizontal); }
    const std::wstring& GetForeImage() const { return foreImage_.descriptor; }
    void SetForeImage(const std::wstring& descriptor) { SetImage(foreImage_, descriptor); }

    // The part of the control the fore image fills: width x (value - min) / (max - min).
    IntRect GetFillRect() const;

    void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  protected:
    void PaintStatusImage(ISkinPainter& painter) override;

  private:
    void Normalize();

    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    bool horizontal_ = true;
    SkinImageSlot foreImage_;
};

}  // namespace SkinUI
