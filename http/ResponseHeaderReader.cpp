#include "http/ResponseHeaderReader.h"

CResponseHeaderReader::Result CResponseHeaderReader::Add(const char* data, size_t size) {
    // The blank line may straddle two blocks: look again at the last three bytes kept.
    const size_t from = received_.size() < 3 ? 0 : received_.size() - 3;
    received_.append(data, size);
    const size_t end = received_.find("\r\n\r\n", from);
    if (end == std::string::npos) {
        return received_.size() > limit_ ? kTooLong : kNeedMore;
    }
    if (end > limit_) {
        return kTooLong;
    }
    header_ = received_.substr(0, end);
    body_ = received_.substr(end + 4);
    received_.clear();
    return kComplete;
}

void CResponseHeaderReader::Reset() {
    received_.clear();
    header_.clear();
    body_.clear();
}
