// Recognising a Windows program by its first bytes: real headers, look-alikes and every
// truncation (the sanitizer build catches any read past the bytes given).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/PeHeader.h"

namespace {

// The headers of a program: DOS header, "PE\0\0" at |peOffset|, file header, optional magic.
std::vector<uint8_t> ProgramHeader(uint32_t peOffset = 0x80, uint16_t characteristics = 0x0102,
                                   uint16_t magic = 0x10B) {
    std::vector<uint8_t> bytes(std::max<size_t>(64, peOffset + 4 + 20 + 2), 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    std::memcpy(&bytes[0x3C], &peOffset, 4);  // little-endian hosts only, as every target is
    std::memcpy(&bytes[peOffset], "PE\0\0", 4);
    std::memcpy(&bytes[peOffset + 4 + 18], &characteristics, 2);
    std::memcpy(&bytes[peOffset + 4 + 20], &magic, 2);
    return bytes;
}

bool Check(const std::vector<uint8_t>& bytes) {
    // An exactly sized copy, so that the sanitizer sees where the bytes end.
    std::vector<uint8_t> block(bytes);
    return IsWindowsProgramHeader(block.data(), block.size());
}

}  // namespace

TEST(PeHeaderTest, RecognisesProgramsOnly) {
    std::vector<uint8_t> badSignature = ProgramHeader();
    badSignature[0x80 + 2] = 'X';
    std::vector<uint8_t> pointsOutside = ProgramHeader();
    const uint32_t far = 0x7FFFFFF0;
    std::memcpy(&pointsOutside[0x3C], &far, 4);
    const std::string page = "<!doctype html><html><body>" + std::string(200, ' ') + "</body>";

    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        bool program;
    } cases[] = {
        {"32-bit program", ProgramHeader(), true},
        {"64-bit program", ProgramHeader(0x100, 0x0022, 0x20B), true},
        {"DLL", ProgramHeader(0x80, 0x2102), false},
        {"object without the executable flag", ProgramHeader(0x80, 0x0100), false},
        {"unknown optional header", ProgramHeader(0x80, 0x0102, 0x107), false},
        {"PE header inside the DOS header", ProgramHeader(0x20), false},
        {"damaged PE signature", badSignature, false},
        {"PE offset beyond the bytes", pointsOutside, false},
        {"HTML page", std::vector<uint8_t>(page.begin(), page.end()), false},
        {"nothing", {}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.program, Check(c.bytes)) << c.name;
    }
    const std::vector<uint8_t> whole = ProgramHeader();
    for (size_t length = 0; length < whole.size(); ++length) {
        EXPECT_FALSE(Check(std::vector<uint8_t>(whole.begin(), whole.begin() + length))) << length;
    }
}
