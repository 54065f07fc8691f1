#include "ZipTestArchive.h"

#include <zlib.h>

namespace {

void Put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::string RawDeflate(const std::string& data) {
    z_stream stream = {};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, data.size()) + 16, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

}  // namespace

std::string BuildZipArchive(const std::vector<ZipTestEntry>& entries) {
    std::string archive;
    std::string directory;
    for (const ZipTestEntry& entry : entries) {
        const bool deflated = entry.deflate && !entry.data.empty();
        const std::string payload = deflated ? RawDeflate(entry.data) : entry.data;
        const uint32_t crc =
            entry.declaredCrc >= 0
                ? static_cast<uint32_t>(entry.declaredCrc)
                : static_cast<uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(entry.data.data()),
                                              static_cast<uInt>(entry.data.size())));
        const uint32_t size = entry.declaredSize >= 0 ? static_cast<uint32_t>(entry.declaredSize)
                                                      : static_cast<uint32_t>(entry.data.size());
        const uint32_t offset = static_cast<uint32_t>(archive.size());
        const uint16_t method = deflated ? 8 : 0;

        Put32(archive, 0x04034b50);
        Put16(archive, 20);
        Put16(archive, 0x0800);  // UTF-8 names
        Put16(archive, method);
        Put32(archive, 0);  // time and date
        Put32(archive, crc);
        Put32(archive, static_cast<uint32_t>(payload.size()));
        Put32(archive, size);
        Put16(archive, static_cast<uint32_t>(entry.name.size()));
        Put16(archive, 0);
        archive += entry.name;
        archive += payload;

        Put32(directory, 0x02014b50);
        Put16(directory, 20);
        Put16(directory, 20);
        Put16(directory, 0x0800);
        Put16(directory, method);
        Put32(directory, 0);
        Put32(directory, crc);
        Put32(directory, static_cast<uint32_t>(payload.size()));
        Put32(directory, size);
        Put16(directory, static_cast<uint32_t>(entry.name.size()));
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, 0);
        Put32(directory, offset);
        directory += entry.name;
    }
    const uint32_t directoryOffset = static_cast<uint32_t>(archive.size());
    archive += directory;
    Put32(archive, 0x06054b50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put32(archive, static_cast<uint32_t>(directory.size()));
    Put32(archive, directoryOffset);
    Put16(archive, 0);
    return archive;
}
