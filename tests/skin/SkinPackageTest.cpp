// The skin package read back from the built tandrel-download.exe: entry order and kinds, the
// pixel size of every image, and the skin files byte for byte as they are in res/skin.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/Resource.h"
#include "common/TextConvert.h"
#include "common/WinHandle.h"
#include "common/ZipReader.h"
#include "support/TestFolders.h"

namespace {

// Archive order. Images carry their size in pixels; the folder and the skin files carry 0.
struct PackageEntry {
    const char* name;
    uint32_t width;
    uint32_t height;
};

const PackageEntry kEntries[] = {
    {"img/", 0, 0},
    {"img/browse-df.png", 90, 32},
    {"img/browse-ho.png", 90, 32},
    {"img/button_disable.png", 168, 46},
    {"img/button_hover.png", 168, 46},
    {"img/button_normal.png", 168, 46},
    {"img/button_pressing.png", 168, 46},
    {"img/checked.png", 14, 14},
    {"img/unchecked.png", 14, 14},
    {"img/close-df.png", 20, 20},
    {"img/close-ho.png", 20, 20},
    {"img/fold.png", 14, 14},
    {"img/fold_rtl.png", 14, 14},
    {"img/unfold.png", 14, 14},
    {"img/hide-df.png", 90, 32},
    {"img/hide-ho.png", 90, 32},
    {"img/left_log.png", 108, 32},
    {"img/logo.png", 235, 52},
    {"img/minzoom-df.png", 20, 20},
    {"img/minzoom-ho.png", 20, 20},
    {"img/progress.png", 254, 99},
    {"img/progress_rtl.png", 254, 99},
    {"banner.xml", 0, 0},
    {"banner_rtl.xml", 0, 0},
    {"skin.xml", 0, 0},
    {"skin_rtl.xml", 0, 0},
    {"home.xml", 0, 0},
    {"home_rtl.xml", 0, 0},
};
constexpr int kEntryCount = static_cast<int>(sizeof(kEntries) / sizeof(kEntries[0]));

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

uint32_t BigEndian32(const std::string& bytes, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

// The resource bytes copied out of the executable, and a reader over the copy.
struct SkinPackage {
    std::string bytes;
    CZipReader reader;
};

class SkinPackageTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        package_ = std::make_unique<SkinPackage>();
        UniqueModule exe(::LoadLibraryExW(UnixToWindowsPath(TANDREL_SETUP_EXE).c_str(), nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(exe.valid()) << "error " << ::GetLastError();
        const void* bytes = nullptr;
        size_t size = 0;
        ASSERT_TRUE(FindResourceBytes(exe.get(), MAKEINTRESOURCEW(104), L"ZIPRES", bytes, size))
            << "no ZIPRES 104";
        package_->bytes.assign(static_cast<const char*>(bytes), size);
        ASSERT_TRUE(package_->reader.Open(package_->bytes.data(), package_->bytes.size()))
            << package_->reader.LastError();
    }

    static void TearDownTestSuite() { package_.reset(); }

    void SetUp() override { ASSERT_TRUE(package_->reader.IsOpen()); }

    static const CZipReader& Reader() { return package_->reader; }

    static std::string Name(int index) {
        ZipEntryInfo info;
        return Reader().GetEntryInfo(index, info) ? WideToUtf8(info.name) : std::string();
    }

    static std::string Inflate(int index) {
        ZipEntryInfo info;
        if (!Reader().GetEntryInfo(index, info)) {
            return {};
        }
        std::string data(info.uncompressedSize, '\0');
        return Reader().Inflate(index, &data[0], data.size()) ? data : std::string("(damaged)");
    }

  private:
    static std::unique_ptr<SkinPackage> package_;
};

std::unique_ptr<SkinPackage> SkinPackageTest::package_;

TEST_F(SkinPackageTest, EntriesComeInPackageOrderFolderStoredFilesDeflated) {
    ASSERT_EQ(kEntryCount, Reader().GetEntryCount());
    for (int i = 0; i < kEntryCount; ++i) {
        SCOPED_TRACE(kEntries[i].name);
        ZipEntryInfo info;
        ASSERT_TRUE(Reader().GetEntryInfo(i, info));
        EXPECT_EQ(kEntries[i].name, Name(i));
        if (EndsWith(kEntries[i].name, "/")) {
            EXPECT_EQ(0, info.method);
            EXPECT_EQ(0u, info.uncompressedSize);
        } else {
            EXPECT_EQ(8, info.method);
            EXPECT_GT(info.uncompressedSize, 0u);
        }
    }
}

TEST_F(SkinPackageTest, EveryImageIsAPngOfItsSize) {
    for (const PackageEntry& entry : kEntries) {
        if (!EndsWith(entry.name, ".png")) {
            continue;
        }
        SCOPED_TRACE(entry.name);
        const int index = Reader().FindEntry(entry.name);
        ASSERT_GE(index, 0);
        const std::string png = Inflate(index);
        ASSERT_GE(png.size(), 24u);
        EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), png.substr(0, 8));
        EXPECT_EQ("IHDR", png.substr(12, 4));
        EXPECT_EQ(entry.width, BigEndian32(png, 16));
        EXPECT_EQ(entry.height, BigEndian32(png, 20));
    }
}

TEST_F(SkinPackageTest, SkinFilesAreTheSourceFilesWithCrlfLineEnds) {
    int checked = 0;
    for (int i = 0; i < Reader().GetEntryCount(); ++i) {
        const std::string name = Name(i);
        if (!EndsWith(name, ".xml")) {
            continue;
        }
        SCOPED_TRACE(name);
        ++checked;
        const std::string packed = Inflate(i);
        EXPECT_EQ(ReadFileBytes(UnixToWindowsPath(TANDREL_SOURCE_DIR "/res/skin/" + name)), packed);
        size_t lines = 0;
        for (size_t pos = 0; pos < packed.size(); ++pos) {
            if (packed[pos] == '\n') {
                ++lines;
                EXPECT_TRUE(pos > 0 && packed[pos - 1] == '\r') << "bare LF at byte " << pos;
            } else if (packed[pos] == '\r') {
                EXPECT_TRUE(pos + 1 < packed.size() && packed[pos + 1] == '\n')
                    << "bare CR at byte " << pos;
            }
        }
        EXPECT_GT(lines, 10u);
        // The hidden tab bar's first option reads "首页" in UTF-8.
        const bool rootFile = name == "skin.xml" || name == "skin_rtl.xml";
        EXPECT_EQ(rootFile, packed.find("text=\"\xE9\xA6\x96\xE9\xA1\xB5\"") != std::string::npos);
    }
    EXPECT_EQ(6, checked);
}

}  // namespace
