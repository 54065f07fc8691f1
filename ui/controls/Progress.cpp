#include "ui/controls/Progress.h"

#include <climits>

#include "ui/render/ImageGeometry.h"

namespace SkinUI {

CProgressUI::CProgressUI() {
    SetTextStyle(kTextCenter | kTextVCenter | kTextSingleLine);
    SetFixedHeight(12);
}

void CProgressUI::Normalize() {
    if (min_ >= max_) {
        max_ = min_ == INT_MAX ? INT_MAX : min_ + 1;
        min_ = max_ - 1;
    }
    value_ = value_ < min_ ? min_ : value_ > max_ ? max_ : value_;
    Invalidate();
}

void CProgressUI::SetMinValue(int value) {
    min_ = value;
    Normalize();
}

void CProgressUI::SetMaxValue(int value) {
    max_ = value;
    Normalize();
}

void CProgressUI::SetValue(int value) {
    value_ = value;
    Normalize();
}

IntRect CProgressUI::GetFillRect() const {
    return ProgressFillRect(GetPos(), value_, min_, max_, horizontal_);
}

void CProgressUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"min") {
        SetMinValue(ParseSkinInt(value));
    } else if (name == L"max") {
        SetMaxValue(ParseSkinInt(value));
    } else if (name == L"value") {
        SetValue(ParseSkinInt(value));
    } else if (name == L"hor") {
        SetHorizontal(ParseSkinBool(value));
    } else if (name == L"foreimage") {
        SetForeImage(value);
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CProgressUI::PaintStatusImage(ISkinPainter& painter) {
    const IntRect fill = GetFillRect();
    if (!fill.IsEmpty()) {
        DrawImage(painter, foreImage_, fill);
    }
}

}  // namespace SkinUI
