#include "http/HttpHeader.h"

#include "common/StringUtil.h"
#include "http/HttpText.h"

namespace {

constexpr char kDefaultVersion[] = "HTTP/1.1";

const char* const kDefaultFields[][2] = {
    {"User-Agent",
     "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
     "Chrome/80.0.4044.92 Safari/537.36"},
    {"Accept", "*/*"},
    {"Connection", "Keep-Alive"},
    {"Accept-Language", "zh-CN,zh;q=0.9"},
};

}  // namespace

void CHttpHeader::AddHeader(const std::string& name, const std::string& value) {
    if (!name.empty() && !value.empty()) {
        fields_.emplace(name, value);
    }
}

void CHttpHeader::ReplaceHeader(const std::string& name, const std::string& value) {
    if (!name.empty() && !value.empty()) {
        fields_[name] = value;
    }
}

std::string CHttpHeader::GetHeader(const std::string& name) const {
    const auto found = fields_.find(name);
    return found == fields_.end() ? std::string() : found->second;
}

std::string CHttpHeader::FindHeaderNoCase(const char* lowerName) const {
    for (const auto& field : fields_) {
        if (EqualsNoCase(field.first, lowerName)) {
            return field.second;
        }
    }
    return std::string();
}

void CHttpHeader::AddDefaultFields() {
    for (const auto& field : kDefaultFields) {
        AddHeader(field[0], field[1]);
    }
}

std::string CHttpHeader::BuildRequestText() {
    if (version_.empty()) {
        version_ = kDefaultVersion;
    }
    std::string text = "GET " + path_ + " " + version_ + "\r\n";
    text += BuildHeaderBlock();
    // One CRLF pair more than the blank line needs; servers skip it as an empty line.
    text += "\r\n\r\n";
    return text;
}

std::string CHttpHeader::BuildHeaderBlock() {
    AddDefaultFields();
    std::string block;
    for (const auto& field : fields_) {
        block += field.first + ": " + field.second + "\r\n";
    }
    return block;
}

bool CHttpHeader::ParseResponseHeader(const std::string& text) {
    fields_.clear();
    size_t begin = 0;
    bool statusLine = true;
    while (begin <= text.size()) {
        size_t end = text.find("\r\n", begin);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(begin, end - begin);
        begin = end + 2;
        if (statusLine) {
            statusLine = false;
            version_ = line.substr(0, 8);
            const size_t first = line.find(' ');
            const size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
            statusCode_ =
                first == std::string::npos
                    ? 0
                    : http_text::LeadingDecimal(line.substr(first + 1, second - first - 1));
            reason_ = second == std::string::npos ? std::string() : line.substr(second + 1);
            continue;
        }
        size_t separator = line.find(": ");
        size_t valueAt = separator + 2;
        if (separator == std::string::npos) {
            separator = line.find(':');
            if (separator == std::string::npos) {
                continue;
            }
            valueAt = line.find_first_not_of(" \t", separator + 1);
        }
        const std::string value = valueAt < line.size() ? line.substr(valueAt) : std::string();
        if (separator > 0) {
            fields_.emplace(line.substr(0, separator), value);
        }
    }
    return true;
}
