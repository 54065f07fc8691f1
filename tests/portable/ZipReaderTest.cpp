// The zip reader over memory: well-formed archives, and damaged or hostile ones that must fail
// cleanly (the sanitizer build catches any read outside the block).
#include <gtest/gtest.h>

#include <random>

#include "ZipTestArchive.h"
#include "common/ZipReader.h"

namespace {

std::string ReadEntry(const CZipReader& zip, int index) {
    ZipEntryInfo info;
    EXPECT_TRUE(zip.GetEntryInfo(index, info));
    std::string data(info.uncompressedSize, '\0');
    EXPECT_TRUE(zip.Inflate(index, &data[0], data.size())) << zip.LastError();
    return data;
}

std::string Text(size_t size) {
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        text += static_cast<char>('a' + (i * 7 + i / 13) % 26);
    }
    return text;
}

}  // namespace

TEST(ZipReaderTest, ReadsStoredDeflatedAndFolderEntriesInOrder) {
    const std::string archive = BuildZipArchive({
        {"language.ini", "[Language]\r\n1033=English\r\n"},
        {"English/", "", false},
        {"English/text.ini", Text(5000)},
        {"English/stored.bin", "raw bytes", false},
        {u8"Arabic/\u0646\u0635.txt", "x"},
    });
    CZipReader zip;
    ASSERT_TRUE(zip.Open(archive.data(), archive.size()));
    ASSERT_EQ(5, zip.GetEntryCount());

    ZipEntryInfo info;
    ASSERT_TRUE(zip.GetEntryInfo(1, info));
    EXPECT_EQ(L"English/", info.name);
    EXPECT_EQ(0u, info.uncompressedSize);
    ASSERT_TRUE(zip.GetEntryInfo(2, info));
    EXPECT_EQ(8, info.method);
    EXPECT_LT(info.compressedSize, info.uncompressedSize);

    EXPECT_EQ("[Language]\r\n1033=English\r\n", ReadEntry(zip, 0));
    EXPECT_EQ(Text(5000), ReadEntry(zip, 2));
    EXPECT_EQ("raw bytes", ReadEntry(zip, 3));
    ASSERT_TRUE(zip.GetEntryInfo(4, info));
    EXPECT_EQ(std::wstring(L"Arabic/\u0646\u0635.txt"), info.name);
    EXPECT_FALSE(zip.GetEntryInfo(5, info));
    EXPECT_FALSE(zip.GetEntryInfo(-1, info));
}

TEST(ZipReaderTest, FindsEntriesIgnoringCaseAndSeparator) {
    const std::string archive =
        BuildZipArchive({{"img/Browse-DF.png", "png"}, {"skin.xml", "<x/>"}});
    CZipReader zip;
    ASSERT_TRUE(zip.Open(archive.data(), archive.size()));
    EXPECT_EQ(0, zip.FindEntry("img\\browse-df.png"));
    EXPECT_EQ(0, zip.FindEntry("IMG/BROWSE-DF.PNG"));
    EXPECT_EQ(1, zip.FindEntry("skin.xml"));
    EXPECT_EQ(-1, zip.FindEntry("missing.xml"));
    EXPECT_EQ(-1, zip.FindEntry(std::string(256, 'a')));
}

TEST(ZipReaderTest, RefusesBuffersThatDoNotMatchTheEntry) {
    const std::string archive = BuildZipArchive({{"a.txt", Text(100)}});
    CZipReader zip;
    ASSERT_TRUE(zip.Open(archive.data(), archive.size()));
    std::string small(99, '\0');
    EXPECT_FALSE(zip.Inflate(0, &small[0], small.size()));
    std::string large(101, '\0');
    EXPECT_FALSE(zip.Inflate(0, &large[0], large.size()));
}

TEST(ZipReaderTest, EntryLongerThanDeclaredIsRefused) {
    ZipTestEntry forged{"big.txt", Text(4000)};
    forged.declaredSize = 1000;  // the deflate stream holds 4000 bytes
    const std::string archive = BuildZipArchive({forged});
    CZipReader zip;
    ASSERT_TRUE(zip.Open(archive.data(), archive.size()));
    std::string data(1000, '\0');
    EXPECT_FALSE(zip.Inflate(0, &data[0], data.size()));

    ZipTestEntry stored{"stored.txt", Text(400), false};
    stored.declaredSize = 100;  // stored sizes disagree
    const std::string storedArchive = BuildZipArchive({stored});
    ASSERT_TRUE(zip.Open(storedArchive.data(), storedArchive.size()));
    std::string storedData(100, '\0');
    EXPECT_FALSE(zip.Inflate(0, &storedData[0], storedData.size()));
}

TEST(ZipReaderTest, CrcMismatchIsRefused) {
    ZipTestEntry entry{"a.txt", Text(300)};
    entry.declaredCrc = 0x12345678;
    const std::string archive = BuildZipArchive({entry});
    CZipReader zip;
    ASSERT_TRUE(zip.Open(archive.data(), archive.size()));
    std::string data(300, '\0');
    EXPECT_FALSE(zip.Inflate(0, &data[0], data.size()));
}

TEST(DecodeUtf8Test, InvalidBytesBecomeReplacementsAndNothingAfterIsLost) {
    const struct {
        const char* bytes;
        std::wstring expected;
    } cases[] = {
        // Hex escapes throughout: \x41 is "A", \x61 "a", \x62 "b", \x71 "q", \x78 "x", \x7A "z".
        {"caf\xC3\xA9 \xE2\x82\xAC", L"caf\xE9 \x20AC"},
        {"\xE2\x41", L"\xFFFD\x41"},                      // lead byte, then a plain character
        {"\xF0\x61\x62", L"\xFFFD\x61\x62"},              // four-byte lead, two characters left
        {"\xC3", L"\xFFFD"},                              // cut off by the end
        {"\xE2\x82\x41", L"\xFFFD\xFFFD\x41"},            // two bytes of three
        {"\xC0\xAF\x78", L"\xFFFD\xFFFD\x78"},            // overlong "/"
        {"\xED\xA0\x80\x7A", L"\xFFFD\xFFFD\xFFFD\x7A"},  // surrogate
        {"\xFF\x71", L"\xFFFD\x71"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, DecodeUtf8(c.bytes)) << c.bytes;
    }
}

TEST(ZipReaderTest, NotAnArchive) {
    CZipReader zip;
    EXPECT_FALSE(zip.Open(nullptr, 0));
    const std::string text = "this is plain text, not an archive at all";
    EXPECT_FALSE(zip.Open(text.data(), text.size()));
    EXPECT_FALSE(zip.IsOpen());
    EXPECT_EQ(0, zip.GetEntryCount());
}

// Every truncation and many single-byte corruptions of a real archive: Open and Inflate either
// fail or return exactly the right bytes, and never read outside the block.
TEST(ZipReaderTest, TruncatedAndCorruptedArchivesFailCleanly) {
    const std::vector<ZipTestEntry> entries = {{"language.ini", "[Language]\r\n1025=Arabic\r\n"},
                                               {"Arabic/", "", false},
                                               {"Arabic/text.ini", Text(3000)}};
    const std::string archive = BuildZipArchive(entries);

    auto exercise = [&entries](const std::string& bytes) {
        // Copy into an exactly sized heap block so that the sanitizer sees its end.
        std::vector<char> block(bytes.begin(), bytes.end());
        CZipReader zip;
        if (!zip.Open(block.data(), block.size())) {
            return;
        }
        for (int i = 0; i < zip.GetEntryCount(); ++i) {
            ZipEntryInfo info;
            ASSERT_TRUE(zip.GetEntryInfo(i, info));
            if (info.uncompressedSize > (1u << 20)) {
                continue;
            }
            // Exactly the declared size: a write past it is an overrun the sanitizer reports.
            std::vector<char> out(info.uncompressedSize);
            if (!zip.Inflate(i, out.data(), out.size())) {
                continue;
            }
            // What an entry yields is a real entry's content: its own when the name survived.
            const std::string got(out.begin(), out.end());
            bool known = false;
            for (const ZipTestEntry& entry : entries) {
                if (DecodeUtf8(entry.name) == info.name) {
                    ASSERT_EQ(entry.data, got) << "entry " << entry.name;
                }
                known = known || entry.data == got;
            }
            ASSERT_TRUE(known) << "entry " << i << " yielded bytes of no entry";
        }
    };

    for (size_t length = 0; length < archive.size(); ++length) {
        exercise(archive.substr(0, length));
    }
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = archive;
        const int flips = 1 + static_cast<int>(random() % 3);
        for (int f = 0; f < flips; ++f) {
            damaged[random() % damaged.size()] = static_cast<char>(random());
        }
        exercise(damaged);
    }
}
