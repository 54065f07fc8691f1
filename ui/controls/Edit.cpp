#include "ui/controls/Edit.h"

namespace SkinUI {

void CEditUI::SetMaxChar(int maxChar) {
    maxChar_ = maxChar < 0 ? 0 : maxChar;
}

void CEditUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"readonly") {
        SetReadOnly(ParseSkinBool(value));
    } else if (name == L"maxchar") {
        SetMaxChar(ParseSkinInt(value));
    } else if (name == L"password") {
        SetPasswordMode(ParseSkinBool(value));
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CEditUI::DoEvent(const SkinEvent& event) {
    if (!IsEnabled()) {
        CLabelUI::DoEvent(event);
        return;
    }
    if (event.type == SkinEventType::kKeyDown && event.key == kKeyReturn) {
        SendNotify(SkinNotifyType::kReturn);
        return;
    }
    if (event.type == SkinEventType::kChar && !readOnly_) {
        std::wstring text = GetText();
        if (event.key == kKeyBack) {
            if (text.empty()) {
                return;
            }
            text.pop_back();
        } else if (event.key >= 0x20 && event.key != 0x7F &&
                   text.size() < static_cast<size_t>(maxChar_)) {
            text.push_back(static_cast<wchar_t>(event.key));
        } else {
            return;
        }
        SetText(text);
        SendNotify(SkinNotifyType::kTextChanged);
        return;
    }
    CLabelUI::DoEvent(event);
}

std::wstring CEditUI::GetPaintText() const {
    return password_ ? std::wstring(GetText().size(), L'*') : GetText();
}

}  // namespace SkinUI
