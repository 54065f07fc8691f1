// The skin markup reader: a small, lenient XML reader for skin files (UTF-8) that builds an
// element tree with attributes. It accepts what the shipped skins need and nothing clever.
//
// Skin files are treated as untrusted: the reader works on its own copy of the bytes, checks
// every position against the end of that copy, never recurses and bounds the nesting depth,
// so a truncated, malformed or deeply nested file ends with an error instead of a crash.
// No Windows header: also built natively under the sanitizers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CZipReader;

namespace SkinUI {

class CSkinMarkup;

// A light handle on one element of a loaded markup; valid while the markup stays loaded.
class CSkinMarkupNode {
  public:
    CSkinMarkupNode() = default;

    bool IsValid() const { return owner_ != nullptr && index_ >= 0; }
    CSkinMarkupNode GetParent() const;
    CSkinMarkupNode GetSibling() const;
    CSkinMarkupNode GetChild() const;
    bool HasChildren() const;

    std::wstring GetName() const;
    // Character data directly inside the element (runs of blanks alone are not kept).
    std::wstring GetValue() const;

    bool HasAttributes() const { return GetAttributeCount() > 0; }
    int GetAttributeCount() const;
    std::wstring GetAttributeName(int index) const;
    std::wstring GetAttributeValue(int index) const;
    // Exact (case-sensitive) match of the attribute name.
    bool GetAttributeValue(const wchar_t* name, std::wstring& value) const;

  private:
    friend class CSkinMarkup;
    CSkinMarkupNode(const CSkinMarkup* owner, int index) : owner_(owner), index_(index) {}

    const CSkinMarkup* owner_ = nullptr;
    int index_ = -1;
};

class CSkinMarkup {
  public:
    static constexpr size_t kMaxFileSize = 4194304;
    static constexpr int kMaxAttributes = 64;  // per element; further ones are dropped
    static constexpr int kMaxDepth = 200;

    // Each loader replaces what was loaded before; false leaves the markup empty with the
    // reason in GetLastErrorMessage().
    bool Load(const void* data, size_t size);
    bool LoadFromFile(const std::wstring& path);
    bool LoadFromZip(const CZipReader* zip, const std::wstring& name);
    void Release();
    // For loaders outside the reader (a skin resource that is missing): ends the load with
    // |message| as the last error; always false.
    bool SetLoadError(const char* message);

    bool IsValid() const { return !nodes_.empty(); }
    // The first top-level element.
    CSkinMarkupNode GetRoot() const;

    const std::string& GetLastErrorMessage() const { return error_; }
    // Byte offset in the file where reading stopped (after a parse error).
    size_t GetLastErrorOffset() const { return errorOffset_; }

  private:
    friend class CSkinMarkupNode;
    class Parser;

    struct Node {
        uint32_t nameBegin = 0;
        uint32_t nameLength = 0;
        int32_t text = -1;  // index into texts_
        uint32_t firstAttribute = 0;
        uint32_t attributeCount = 0;
        int32_t parent = -1;
        int32_t firstChild = -1;
        int32_t nextSibling = -1;
    };
    struct Attribute {
        uint32_t nameBegin;
        uint32_t nameLength;
        uint32_t valueBegin;
        uint32_t valueLength;
    };

    bool Fail(const char* message, size_t offset = 0);
    // Keeps |bytes| (|size| of them) as the buffer and parses them.
    bool Parse(std::unique_ptr<char[]> bytes, size_t size);
    // A copy of |size| bytes at |data|, parsed.
    bool ParseCopy(const void* data, size_t size);
    std::wstring Slice(uint32_t begin, uint32_t length) const;

    // The file's bytes, exactly as many as the file holds (so that the sanitizers see any
    // read past the end); attribute values and texts are decoded in place.
    std::unique_ptr<char[]> buffer_;
    size_t size_ = 0;
    std::vector<Node> nodes_;
    std::vector<Attribute> attributes_;
    std::vector<std::string> texts_;
    std::string error_;
    size_t errorOffset_ = 0;
};

}  // namespace SkinUI
