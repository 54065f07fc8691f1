// Collects a response header from received blocks until its blank line, however the blocks
// split it, and keeps the body bytes that followed in the same blocks. No Windows header.
#pragma once

#include <cstddef>
#include <string>

class CResponseHeaderReader {
  public:
    enum Result { kNeedMore, kComplete, kTooLong };

    // Headers longer than |limit| bytes are refused (a server must not grow us without end).
    explicit CResponseHeaderReader(size_t limit = 65536) : limit_(limit) {}

    // Adds one received block. After kComplete the header and the first body bytes are ready
    // and further blocks belong to the body, not here.
    Result Add(const char* data, size_t size);
    // The text before the blank line.
    const std::string& HeaderText() const { return header_; }
    // The bytes after the blank line in the blocks added so far.
    const std::string& BodyStart() const { return body_; }
    void Reset();

  private:
    size_t limit_;
    std::string received_;
    std::string header_;
    std::string body_;
};
