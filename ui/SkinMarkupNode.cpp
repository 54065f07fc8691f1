// Element access and the file and archive loaders of the skin markup reader.
#include "common/ZipReader.h"
#include "ui/SkinFile.h"
#include "ui/SkinMarkup.h"
#include "ui/SkinAttributes.h"

namespace SkinUI {

bool CSkinMarkup::LoadFromFile(const std::wstring& path) {
    Release();
    std::string bytes;
    switch (ReadSkinFile(path, kMaxFileSize, bytes)) {
        case SkinFileRead::kOpenFailed:
            return Fail("Error opening file");
        case SkinFileRead::kReadFailed:
            return Fail("Could not read file");
        case SkinFileRead::kTooLarge:
            return Fail("File too large");
        case SkinFileRead::kOk:
            break;
    }
    if (bytes.empty()) {
        return Fail("File is empty");
    }
    return ParseCopy(bytes.data(), bytes.size());
}

bool CSkinMarkup::SetLoadError(const char* message) {
    return Fail(message);
}

bool CSkinMarkup::LoadFromZip(const CZipReader* zip, const std::wstring& name) {
    Release();
    if (zip == nullptr || !zip->IsOpen()) {
        return Fail("Error opening zip file");
    }
    const int index = name.size() >= 256 ? -1 : zip->FindEntry(EncodeUtf8(name));
    ZipEntryInfo info;
    if (index < 0 || !zip->GetEntryInfo(index, info)) {
        return Fail("Could not find ziped file");
    }
    if (info.uncompressedSize == 0) {
        return Fail("File is empty");
    }
    if (info.uncompressedSize > kMaxFileSize) {
        return Fail("File too large");
    }
    // Inflated straight into the buffer the reader keeps.
    const size_t size = info.uncompressedSize;
    std::unique_ptr<char[]> bytes(new char[size]);
    if (!zip->Inflate(index, bytes.get(), size)) {
        return Fail("Could not unzip file");
    }
    return Parse(std::move(bytes), size);
}

std::wstring CSkinMarkup::Slice(uint32_t begin, uint32_t length) const {
    return DecodeUtf8(std::string(buffer_.get() + begin, length));
}

CSkinMarkupNode CSkinMarkupNode::GetParent() const {
    return IsValid() ? CSkinMarkupNode(owner_, owner_->nodes_[index_].parent) : CSkinMarkupNode();
}

CSkinMarkupNode CSkinMarkupNode::GetSibling() const {
    return IsValid() ? CSkinMarkupNode(owner_, owner_->nodes_[index_].nextSibling)
                     : CSkinMarkupNode();
}

CSkinMarkupNode CSkinMarkupNode::GetChild() const {
    return IsValid() ? CSkinMarkupNode(owner_, owner_->nodes_[index_].firstChild)
                     : CSkinMarkupNode();
}

bool CSkinMarkupNode::HasChildren() const {
    return IsValid() && owner_->nodes_[index_].firstChild >= 0;
}

std::wstring CSkinMarkupNode::GetName() const {
    if (!IsValid()) {
        return std::wstring();
    }
    const auto& node = owner_->nodes_[index_];
    return owner_->Slice(node.nameBegin, node.nameLength);
}

std::wstring CSkinMarkupNode::GetValue() const {
    if (!IsValid() || owner_->nodes_[index_].text < 0) {
        return std::wstring();
    }
    return DecodeUtf8(owner_->texts_[owner_->nodes_[index_].text]);
}

int CSkinMarkupNode::GetAttributeCount() const {
    return IsValid() ? static_cast<int>(owner_->nodes_[index_].attributeCount) : 0;
}

std::wstring CSkinMarkupNode::GetAttributeName(int index) const {
    if (index < 0 || index >= GetAttributeCount()) {
        return std::wstring();
    }
    const auto& a = owner_->attributes_[owner_->nodes_[index_].firstAttribute + index];
    return owner_->Slice(a.nameBegin, a.nameLength);
}

std::wstring CSkinMarkupNode::GetAttributeValue(int index) const {
    if (index < 0 || index >= GetAttributeCount()) {
        return std::wstring();
    }
    const auto& a = owner_->attributes_[owner_->nodes_[index_].firstAttribute + index];
    return owner_->Slice(a.valueBegin, a.valueLength);
}

bool CSkinMarkupNode::GetAttributeValue(const wchar_t* name, std::wstring& value) const {
    const int count = GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        if (GetAttributeName(i) == name) {
            value = GetAttributeValue(i);
            return true;
        }
    }
    return false;
}

}  // namespace SkinUI
