#include "common/PeHeader.h"

#include "common/ByteOrder.h"

namespace {

constexpr size_t kDosHeaderSize = 64;
constexpr size_t kNewHeaderOffsetField = 0x3C;
constexpr size_t kSignatureSize = 4;
constexpr size_t kFileHeaderSize = 20;
constexpr size_t kCharacteristicsField = 18;  // within the file header
constexpr size_t kOptionalMagicSize = 2;
constexpr uint16_t kExecutableImage = 0x0002;
constexpr uint16_t kDll = 0x2000;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;

}  // namespace

bool IsWindowsProgramHeader(const uint8_t* data, size_t size) {
    if (data == nullptr || size < kDosHeaderSize || data[0] != 'M' || data[1] != 'Z') {
        return false;
    }
    const uint64_t pe = ReadLittle32(data + kNewHeaderOffsetField);
    const uint64_t needed = pe + kSignatureSize + kFileHeaderSize + kOptionalMagicSize;
    if (pe < kDosHeaderSize || needed > size) {
        return false;
    }
    const uint8_t* signature = data + pe;
    if (signature[0] != 'P' || signature[1] != 'E' || signature[2] != 0 || signature[3] != 0) {
        return false;
    }
    const uint8_t* fileHeader = signature + kSignatureSize;
    const uint16_t characteristics = ReadLittle16(fileHeader + kCharacteristicsField);
    if ((characteristics & kExecutableImage) == 0 || (characteristics & kDll) != 0) {
        return false;
    }
    const uint16_t magic = ReadLittle16(fileHeader + kFileHeaderSize);
    return magic == kMagicPe32 || magic == kMagicPe32Plus;
}
