#include "ui/SkinMarkup.h"

#include <cstring>
#include <utility>

namespace SkinUI {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Letters (any byte of a multi-byte UTF-8 sequence counts as one), digits, "_" and ":".
bool IsNameChar(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
           u == ':' || u >= 0x80;
}

struct Entity {
    const char* name;  // without "&", with ";"
    size_t length;
    char value;
};

constexpr Entity kEntities[] = {
    {"amp;", 4, '&'}, {"lt;", 3, '<'}, {"gt;", 3, '>'}, {"quot;", 5, '"'}, {"apos;", 5, '\''},
};

// Replaces the five predefined entities in [p, p + length) in place; returns the new length.
// Any other "&" stays as it is.
size_t DecodeEntities(char* p, size_t length) {
    size_t write = 0;
    for (size_t read = 0; read < length;) {
        if (p[read] == '&') {
            bool replaced = false;
            for (const Entity& entity : kEntities) {
                if (length - read - 1 >= entity.length &&
                    std::memcmp(p + read + 1, entity.name, entity.length) == 0) {
                    p[write++] = entity.value;
                    read += 1 + entity.length;
                    replaced = true;
                    break;
                }
            }
            if (replaced) {
                continue;
            }
        }
        p[write++] = p[read++];
    }
    return write;
}

}  // namespace

// One pass over the buffer with an explicit stack of open elements.
class CSkinMarkup::Parser {
  public:
    explicit Parser(CSkinMarkup& markup)
        : m_(markup), p_(markup.buffer_.get()), size_(markup.size_) {}

    bool Run() {
        if (size_ >= 3 && std::memcmp(p_, "\xEF\xBB\xBF", 3) == 0) {
            pos_ = 3;
        }
        while (true) {
            if (open_.empty()) {
                SkipBlanks();
                if (pos_ >= size_) {
                    break;
                }
                if (SkipMarkupDeclaration()) {
                    continue;
                }
                if (p_[pos_] != '<') {
                    return m_.Fail("Expected start tag", pos_);
                }
                if (!ParseStartTag()) {
                    return false;
                }
                continue;
            }
            ReadText();
            if (pos_ >= size_) {
                return m_.Fail("Expected end-tag start", pos_);
            }
            if (SkipMarkupDeclaration()) {
                continue;
            }
            const bool ok =
                pos_ + 1 < size_ && p_[pos_ + 1] == '/' ? ParseEndTag() : ParseStartTag();
            if (!ok) {
                return false;
            }
        }
        if (m_.nodes_.empty()) {
            return m_.Fail("Expected start tag", pos_);
        }
        return true;
    }

  private:
    struct Open {
        int32_t node;
        int32_t lastChild;
    };

    void SkipBlanks() {
        while (pos_ < size_ && IsBlank(p_[pos_])) {
            ++pos_;
        }
    }

    size_t Find(const char* token, size_t from) const {
        const size_t length = std::strlen(token);
        for (size_t i = from; i + length <= size_; ++i) {
            if (std::memcmp(p_ + i, token, length) == 0) {
                return i;
            }
        }
        return size_;
    }

    // "<?" up to the next "?>", "<!" up to the next "->"; unterminated ones run to the end.
    bool SkipMarkupDeclaration() {
        if (pos_ + 1 >= size_ || p_[pos_] != '<' || (p_[pos_ + 1] != '?' && p_[pos_ + 1] != '!')) {
            return false;
        }
        const char* terminator = p_[pos_ + 1] == '?' ? "?>" : "->";
        const size_t end = Find(terminator, pos_ + 2);
        pos_ = end >= size_ ? size_ : end + 2;
        return true;
    }

    size_t ReadName() {
        const size_t begin = pos_;
        while (pos_ < size_ && IsNameChar(p_[pos_])) {
            ++pos_;
        }
        return pos_ - begin;
    }

    // Character data up to the next "<"; kept when it holds more than blanks.
    void ReadText() {
        const size_t begin = pos_;
        bool blank = true;
        while (pos_ < size_ && p_[pos_] != '<') {
            blank = blank && IsBlank(p_[pos_]);
            ++pos_;
        }
        if (blank) {
            return;
        }
        const size_t length = DecodeEntities(p_ + begin, pos_ - begin);
        Node& node = m_.nodes_[static_cast<size_t>(open_.back().node)];
        if (node.text < 0) {
            node.text = static_cast<int32_t>(m_.texts_.size());
            m_.texts_.emplace_back();
        }
        m_.texts_[static_cast<size_t>(node.text)].append(p_ + begin, length);
    }

    bool ParseStartTag() {
        ++pos_;  // "<"
        const size_t nameBegin = pos_;
        const size_t nameLength = ReadName();
        if (nameLength == 0) {
            return m_.Fail("Error parsing element name", pos_);
        }
        const int32_t index = AddNode(nameBegin, nameLength);
        while (true) {
            SkipBlanks();
            if (pos_ >= size_) {
                return m_.Fail("Expected start-tag closing", pos_);
            }
            if (p_[pos_] == '/') {
                if (pos_ + 1 < size_ && p_[pos_ + 1] == '>') {
                    pos_ += 2;
                    return true;
                }
                return m_.Fail("Expected start-tag closing", pos_);
            }
            if (p_[pos_] == '>') {
                ++pos_;
                if (open_.size() >= static_cast<size_t>(kMaxDepth)) {
                    return m_.Fail("Elements nested too deeply", pos_);
                }
                open_.push_back(Open{index, -1});
                return true;
            }
            if (!ParseAttribute(index)) {
                return false;
            }
        }
    }

    // name, optional blanks, "=", optional blanks, a value in double quotes. Nothing is
    // required between a closing quote and the next name.
    bool ParseAttribute(int32_t index) {
        const size_t nameBegin = pos_;
        const size_t nameLength = ReadName();
        if (nameLength == 0) {
            return m_.Fail("Error while parsing attributes", pos_);
        }
        SkipBlanks();
        if (pos_ >= size_ || p_[pos_] != '=') {
            return m_.Fail("Error while parsing attributes", pos_);
        }
        ++pos_;
        SkipBlanks();
        if (pos_ >= size_ || p_[pos_] != '"') {
            return m_.Fail("Expected attribute value", pos_);
        }
        const size_t valueBegin = ++pos_;
        const void* close = std::memchr(p_ + valueBegin, '"', size_ - valueBegin);
        if (close == nullptr) {
            return m_.Fail("Error while parsing attribute string", pos_);
        }
        const size_t valueEnd = static_cast<size_t>(static_cast<const char*>(close) - p_);
        const size_t valueLength = DecodeEntities(p_ + valueBegin, valueEnd - valueBegin);
        pos_ = valueEnd + 1;
        Node& node = m_.nodes_[static_cast<size_t>(index)];
        if (node.attributeCount < static_cast<uint32_t>(kMaxAttributes)) {
            if (node.attributeCount == 0) {
                node.firstAttribute = static_cast<uint32_t>(m_.attributes_.size());
            }
            m_.attributes_.push_back(
                Attribute{static_cast<uint32_t>(nameBegin), static_cast<uint32_t>(nameLength),
                          static_cast<uint32_t>(valueBegin), static_cast<uint32_t>(valueLength)});
            ++node.attributeCount;
        }
        return true;
    }

    bool ParseEndTag() {
        pos_ += 2;  // "</"
        const Node& node = m_.nodes_[static_cast<size_t>(open_.back().node)];
        const size_t nameBegin = pos_;
        const size_t nameLength = ReadName();
        if (nameLength != node.nameLength ||
            std::memcmp(p_ + nameBegin, p_ + node.nameBegin, nameLength) != 0) {
            return m_.Fail("Unmatched closing tag", nameBegin);
        }
        SkipBlanks();
        if (pos_ >= size_ || p_[pos_] != '>') {
            return m_.Fail("Unmatched closing tag", pos_);
        }
        ++pos_;
        open_.pop_back();
        return true;
    }

    int32_t AddNode(size_t nameBegin, size_t nameLength) {
        const int32_t index = static_cast<int32_t>(m_.nodes_.size());
        Node node;
        node.nameBegin = static_cast<uint32_t>(nameBegin);
        node.nameLength = static_cast<uint32_t>(nameLength);
        int32_t* link = nullptr;
        if (open_.empty()) {
            link = lastTopLevel_ >= 0 ? &m_.nodes_[static_cast<size_t>(lastTopLevel_)].nextSibling
                                      : nullptr;
            lastTopLevel_ = index;
        } else {
            Open& parent = open_.back();
            node.parent = parent.node;
            link = parent.lastChild >= 0
                       ? &m_.nodes_[static_cast<size_t>(parent.lastChild)].nextSibling
                       : &m_.nodes_[static_cast<size_t>(parent.node)].firstChild;
            parent.lastChild = index;
        }
        if (link != nullptr) {
            *link = index;
        }
        m_.nodes_.push_back(node);
        return index;
    }

    CSkinMarkup& m_;
    char* p_;
    size_t size_;
    size_t pos_ = 0;
    std::vector<Open> open_;
    int32_t lastTopLevel_ = -1;
};

bool CSkinMarkup::Fail(const char* message, size_t offset) {
    Release();
    error_ = message;
    errorOffset_ = offset;
    return false;
}

bool CSkinMarkup::Load(const void* data, size_t size) {
    Release();
    if (size == 0) {
        return Fail("File is empty");
    }
    if (size > kMaxFileSize) {
        return Fail("File too large");
    }
    return ParseCopy(data, size);
}

bool CSkinMarkup::ParseCopy(const void* data, size_t size) {
    std::unique_ptr<char[]> bytes(new char[size]);
    std::memcpy(bytes.get(), data, size);
    return Parse(std::move(bytes), size);
}

bool CSkinMarkup::Parse(std::unique_ptr<char[]> bytes, size_t size) {
    buffer_ = std::move(bytes);
    size_ = size;
    error_.clear();
    errorOffset_ = 0;
    return Parser(*this).Run();
}

void CSkinMarkup::Release() {
    buffer_.reset();
    size_ = 0;
    nodes_.clear();
    attributes_.clear();
    texts_.clear();
}

CSkinMarkupNode CSkinMarkup::GetRoot() const {
    return nodes_.empty() ? CSkinMarkupNode() : CSkinMarkupNode(this, 0);
}

}  // namespace SkinUI
