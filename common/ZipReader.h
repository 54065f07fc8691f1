// A zip archive read from a memory block: entry list, names, sizes, and inflating one entry
// into a caller's buffer (stored and deflated entries, no encryption). Used for the language
// package and for the skin package.
//
// Every offset and size taken from the archive is checked against the block before use, so a
// truncated, corrupted or hostile archive fails cleanly instead of reading outside the block.
// No Windows header: also built natively under the sanitizers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ZipEntryInfo {
    std::wstring name;  // as stored, with "/" separators
    uint32_t uncompressedSize = 0;
    uint32_t compressedSize = 0;
    uint16_t method = 0;  // 0 stored, 8 deflated
};

class CZipReader {
  public:
    // The block must stay valid and unchanged until Close() or destruction.
    bool Open(const void* data, size_t size);
    void Close();
    bool IsOpen() const { return data_ != nullptr; }

    int GetEntryCount() const { return static_cast<int>(entries_.size()); }
    bool GetEntryInfo(int index, ZipEntryInfo& info) const;

    // Inflates entry |index| into |dest|, which must hold exactly its uncompressed size.
    // False when the data is damaged, longer or shorter than declared, or fails its CRC.
    bool Inflate(int index, void* dest, size_t destSize) const;

    // Case-insensitive look-up; "\" matches "/". Names of 256 characters or more are refused.
    int FindEntry(const std::string& name) const;

    // Why the last Open() or Inflate() failed.
    const std::string& LastError() const { return error_; }

  private:
    struct Entry {
        std::string rawName;
        std::wstring name;
        uint16_t flags;
        uint16_t method;
        uint32_t crc;
        uint32_t compressedSize;
        uint32_t uncompressedSize;
        uint32_t localHeaderOffset;
    };

    bool Fail(const char* why) const;
    bool LocateData(const Entry& entry, const uint8_t*& begin) const;

    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    std::vector<Entry> entries_;
    mutable std::string error_;
};

// Decodes UTF-8 into a wide string (UTF-16 or UTF-32, whatever wchar_t is). Invalid sequences
// become U+FFFD.
std::wstring DecodeUtf8(const std::string& text);
