#include "common/ZipReader.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>

#include "common/ByteOrder.h"

namespace {

constexpr uint32_t kEndOfCentralDirSignature = 0x06054b50;
constexpr uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr size_t kEndOfCentralDirSize = 22;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kLocalHeaderSize = 30;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagUtf8 = 0x0800;
constexpr size_t kMaxNameLength = 256;

// True when [offset, offset + length) lies inside a block of |size| bytes.
bool InBlock(uint64_t offset, uint64_t length, size_t size) {
    return offset <= size && length <= size - offset;
}

void AppendCodePoint(std::wstring& out, uint32_t cp) {
    if (sizeof(wchar_t) == 2 && cp > 0xFFFF) {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(cp));
    }
}

bool IsValidUtf8(const std::string& text) {
    const std::wstring decoded = DecodeUtf8(text);
    return decoded.find(L'\xFFFD') == std::wstring::npos;
}

std::string NormalizeLookupName(const std::string& name) {
    std::string out = name;
    for (char& c : out) {
        if (c == '\\') {
            c = '/';
        }
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace

std::wstring DecodeUtf8(const std::string& text) {
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t lead = static_cast<uint8_t>(text[i]);
        int extra = 0;
        uint32_t cp = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            out.push_back(L'\xFFFD');
            ++i;
            continue;
        }
        // A sequence cut short by the end of the text or by a byte that cannot continue it is
        // invalid; only its lead byte is consumed, so the following character is still decoded.
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + static_cast<size_t>(k) >= text.size()) {
                valid = false;
                break;
            }
            const uint8_t next = static_cast<uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        static const uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (!valid || cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(L'\xFFFD');
            ++i;
            continue;
        }
        AppendCodePoint(out, cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

bool CZipReader::Fail(const char* why) const {
    error_ = why;
    return false;
}

bool CZipReader::Open(const void* data, size_t size) {
    Close();
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (bytes == nullptr || size < kEndOfCentralDirSize) {
        return Fail("archive too small");
    }
    // The end record sits in the last 22 + 65535 bytes (its comment may be that long).
    size_t eocd = size - kEndOfCentralDirSize;
    const size_t lowest =
        size > kEndOfCentralDirSize + 0xFFFF ? size - kEndOfCentralDirSize - 0xFFFF : 0;
    while (ReadLittle32(bytes + eocd) != kEndOfCentralDirSignature) {
        if (eocd == lowest) {
            return Fail("no end of central directory");
        }
        --eocd;
    }
    const uint16_t count = ReadLittle16(bytes + eocd + 10);
    const uint32_t dirSize = ReadLittle32(bytes + eocd + 12);
    const uint32_t dirOffset = ReadLittle32(bytes + eocd + 16);
    if (!InBlock(dirOffset, dirSize, eocd)) {
        return Fail("central directory outside the archive");
    }

    std::vector<Entry> entries;
    entries.reserve(count);
    uint64_t pos = dirOffset;
    const uint64_t dirEnd = static_cast<uint64_t>(dirOffset) + dirSize;
    for (uint16_t i = 0; i < count; ++i) {
        if (!InBlock(pos, kCentralHeaderSize, dirEnd)) {
            return Fail("truncated central directory");
        }
        const uint8_t* h = bytes + pos;
        if (ReadLittle32(h) != kCentralHeaderSignature) {
            return Fail("bad central directory entry");
        }
        Entry entry;
        entry.flags = ReadLittle16(h + 8);
        entry.method = ReadLittle16(h + 10);
        entry.crc = ReadLittle32(h + 16);
        entry.compressedSize = ReadLittle32(h + 20);
        entry.uncompressedSize = ReadLittle32(h + 24);
        const uint16_t nameLength = ReadLittle16(h + 28);
        const uint16_t extraLength = ReadLittle16(h + 30);
        const uint16_t commentLength = ReadLittle16(h + 32);
        entry.localHeaderOffset = ReadLittle32(h + 42);
        const uint64_t variable = static_cast<uint64_t>(nameLength) + extraLength + commentLength;
        if (!InBlock(pos + kCentralHeaderSize, variable, dirEnd)) {
            return Fail("truncated central directory entry");
        }
        entry.rawName.assign(reinterpret_cast<const char*>(h + kCentralHeaderSize), nameLength);
        // Without the UTF-8 flag the name's code page is unknown: valid UTF-8 is taken as such,
        // anything else byte by byte (Latin-1).
        if ((entry.flags & kFlagUtf8) != 0 || IsValidUtf8(entry.rawName)) {
            entry.name = DecodeUtf8(entry.rawName);
        } else {
            entry.name.assign(entry.rawName.begin(), entry.rawName.end());
            for (size_t k = 0; k < entry.rawName.size(); ++k) {
                entry.name[k] = static_cast<wchar_t>(static_cast<uint8_t>(entry.rawName[k]));
            }
        }
        entries.push_back(std::move(entry));
        pos += kCentralHeaderSize + variable;
    }
    data_ = bytes;
    size_ = size;
    entries_ = std::move(entries);
    error_.clear();
    return true;
}

void CZipReader::Close() {
    data_ = nullptr;
    size_ = 0;
    entries_.clear();
}

bool CZipReader::GetEntryInfo(int index, ZipEntryInfo& info) const {
    if (index < 0 || index >= GetEntryCount()) {
        return false;
    }
    const Entry& entry = entries_[static_cast<size_t>(index)];
    info.name = entry.name;
    info.uncompressedSize = entry.uncompressedSize;
    info.compressedSize = entry.compressedSize;
    info.method = entry.method;
    return true;
}

bool CZipReader::LocateData(const Entry& entry, const uint8_t*& begin) const {
    if (!InBlock(entry.localHeaderOffset, kLocalHeaderSize, size_)) {
        return Fail("local header outside the archive");
    }
    const uint8_t* h = data_ + entry.localHeaderOffset;
    if (ReadLittle32(h) != kLocalHeaderSignature) {
        return Fail("bad local header");
    }
    const uint64_t dataOffset = static_cast<uint64_t>(entry.localHeaderOffset) + kLocalHeaderSize +
                                ReadLittle16(h + 26) + ReadLittle16(h + 28);
    if (!InBlock(dataOffset, entry.compressedSize, size_)) {
        return Fail("entry data outside the archive");
    }
    begin = data_ + dataOffset;
    return true;
}

bool CZipReader::Inflate(int index, void* dest, size_t destSize) const {
    if (!IsOpen() || index < 0 || index >= GetEntryCount()) {
        return Fail("no such entry");
    }
    const Entry& entry = entries_[static_cast<size_t>(index)];
    if ((entry.flags & kFlagEncrypted) != 0) {
        return Fail("encrypted entry");
    }
    if (destSize != entry.uncompressedSize || (destSize > 0 && dest == nullptr)) {
        return Fail("buffer does not match the entry size");
    }
    const uint8_t* source = nullptr;
    if (!LocateData(entry, source)) {
        return false;
    }
    if (entry.method == 0) {
        if (entry.compressedSize != entry.uncompressedSize) {
            return Fail("stored entry with mismatching sizes");
        }
        if (destSize > 0) {
            std::memcpy(dest, source, destSize);
        }
    } else if (entry.method == 8) {
        z_stream stream;
        std::memset(&stream, 0, sizeof(stream));
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
            return Fail("inflate initialisation failed");
        }
        stream.next_in = const_cast<Bytef*>(source);
        stream.avail_in = entry.compressedSize;
        Bytef emptyTarget = 0;  // zlib refuses a null output pointer even for zero bytes
        stream.next_out = destSize > 0 ? static_cast<Bytef*>(dest) : &emptyTarget;
        stream.avail_out = static_cast<uInt>(destSize);
        // Inflation stops at the end of |dest|: a stream that has more to give than declared
        // never reaches its end there and is refused like a damaged one.
        const int result = inflate(&stream, Z_FINISH);
        const uLong produced = stream.total_out;
        inflateEnd(&stream);
        if (result != Z_STREAM_END || produced != destSize) {
            return Fail(stream.avail_out == 0 ? "entry longer than declared or damaged"
                                              : "damaged deflate data");
        }
    } else {
        return Fail("unsupported compression method");
    }
    const uLong crc = crc32(0L, static_cast<const Bytef*>(dest), static_cast<uInt>(destSize));
    if (crc != entry.crc) {
        return Fail("CRC mismatch");
    }
    return true;
}

int CZipReader::FindEntry(const std::string& name) const {
    if (name.empty() || name.size() >= kMaxNameLength) {
        return -1;
    }
    const std::string wanted = NormalizeLookupName(name);
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (NormalizeLookupName(entries_[i].rawName) == wanted) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
