// Unpacking archives into folders: the real language package built by the project, and
// damaged or hostile archives that must write nothing outside the target folder.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/ZipExtract.h"
#include "portable/ZipTestArchive.h"
#include "support/TestFolders.h"
#include "Window/EmbeddedPackage.h"

namespace {

std::string LanguagePackage() {
    return ReadFileBytes(UnixToWindowsPath(TANDREL_LANGUAGE_ZIP));
}

}  // namespace

TEST(ZipExtractTest, UnpacksTheLanguagePackageAndOverwritesOnTheNextStart) {
    const std::string package = LanguagePackage();
    ASSERT_FALSE(package.empty());
    ScopedTempFolder temp(L"extract");
    const std::wstring target = temp.path() + L"work\\language\\";  // parents are created

    ASSERT_TRUE(ExtractZipToFolder(package.data(), package.size(), target));
    EXPECT_TRUE(IsDirectory(target + L"English"));
    const std::string text = ReadFileBytes(target + L"English\\text.ini");
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ("\xFF\xFE", text.substr(0, 2)) << "UTF-16LE with byte-order mark";
    EXPECT_NE(std::string::npos, ReadFileBytes(target + L"language.ini").find("1025=Arabic"));
    EXPECT_FALSE(ReadFileBytes(target + L"English\\UrlInfo.ini").empty());

    // A user's edit and a stray file: the next start restores the one and keeps the other.
    ASSERT_TRUE(WriteFileBytes(target + L"English\\text.ini", "edited"));
    ASSERT_TRUE(WriteFileBytes(target + L"stray.txt", "mine"));
    ASSERT_TRUE(ExtractZipToFolder(package.data(), package.size(), target));
    EXPECT_EQ(text, ReadFileBytes(target + L"English\\text.ini"));
    EXPECT_EQ("mine", ReadFileBytes(target + L"stray.txt"));
}

TEST(ZipExtractTest, ZeroLengthEntriesAreFoldersAndFilesNeedTheirFolder) {
    ScopedTempFolder temp(L"extract");
    const std::string archive = BuildZipArchive({
        {"Empty/", "", false},
        {"Empty/inner/", "", false},
        {"Empty/inner/data.bin", "payload"},
        {"NoFolder/file.txt", "never written: its folder entry is missing"},
    });
    ASSERT_TRUE(ExtractZipToFolder(archive.data(), archive.size(), temp.path()));
    EXPECT_TRUE(IsDirectory(temp.path() + L"Empty"));
    EXPECT_TRUE(IsDirectory(temp.path() + L"Empty\\inner"));
    EXPECT_EQ("payload", ReadFileBytes(temp.path() + L"Empty\\inner\\data.bin"));
    EXPECT_FALSE(IsDirectory(temp.path() + L"NoFolder"));
}

TEST(ZipExtractTest, HostileNamesNeverLeaveTheFolder) {
    ScopedTempFolder outer(L"extract");
    const std::wstring target = outer.path() + L"inside\\";
    const std::string archive = BuildZipArchive({
        {"../escaped.txt", "x"},
        {"sub/../../escaped2.txt", "x"},
        {"..\\escaped3.txt", "x"},
        {"/absolute.txt", "x"},
        {"C:/drive.txt", "x"},
        {"ok.txt", "fine"},
    });
    ASSERT_TRUE(ExtractZipToFolder(archive.data(), archive.size(), target));
    EXPECT_EQ("fine", ReadFileBytes(target + L"ok.txt"));
    EXPECT_TRUE(ReadFileBytes(outer.path() + L"escaped.txt").empty());
    EXPECT_TRUE(ReadFileBytes(outer.path() + L"escaped2.txt").empty());
    EXPECT_TRUE(ReadFileBytes(outer.path() + L"escaped3.txt").empty());
    EXPECT_TRUE(ReadFileBytes(L"C:\\drive.txt").empty());
    EXPECT_TRUE(ReadFileBytes(L"C:\\absolute.txt").empty());

    EXPECT_FALSE(IsSafeEntryName(L"a/../../b"));
    EXPECT_TRUE(IsSafeEntryName(L"a/..b/c..d"));
}

TEST(ZipExtractTest, DamagedArchivesWriteNothingDamaged) {
    const std::string package = LanguagePackage();
    ASSERT_GT(package.size(), 1000u);
    ScopedTempFolder temp(L"extract");

    // Cut in the middle: the central directory is gone, nothing is unpacked.
    const std::string cut = package.substr(0, package.size() / 2);
    EXPECT_TRUE(ExtractZipToFolder(cut.data(), cut.size(), temp.path() + L"cut\\"));
    EXPECT_TRUE(IsDirectory(temp.path() + L"cut"));
    EXPECT_FALSE(IsDirectory(temp.path() + L"cut\\English"));

    // Damaged entry data: that entry is skipped, the others are written.
    ZipTestEntry broken{"broken.txt", std::string(3000, 'z')};
    broken.declaredCrc = 1;
    const std::string archive = BuildZipArchive({broken, {"good.txt", "good"}});
    EXPECT_TRUE(ExtractZipToFolder(archive.data(), archive.size(), temp.path() + L"crc\\"));
    EXPECT_TRUE(ReadFileBytes(temp.path() + L"crc\\broken.txt").empty());
    EXPECT_EQ("good", ReadFileBytes(temp.path() + L"crc\\good.txt"));

    EXPECT_TRUE(ExtractZipToFolder("junk", 4, temp.path() + L"junk\\"));
}

TEST(DomainFileTest, WritesTheCustomValueAsRawBytes) {
    ScopedTempFolder temp(L"domain");
    ASSERT_TRUE(WriteDomainFile(temp.path(), L"com_english"));
    EXPECT_EQ("com_english", ReadFileBytes(temp.path() + L"domain"));
    ASSERT_TRUE(WriteDomainFile(temp.path(), L"de"));
    EXPECT_EQ("de", ReadFileBytes(temp.path() + L"domain")) << "an older file is replaced";
    EXPECT_FALSE(WriteDomainFile(temp.path() + L"other\\", L""));
    EXPECT_TRUE(ReadFileBytes(temp.path() + L"other\\domain").empty());
}

TEST(EmbeddedPackageTest, LanguagePackageAndDomainFromOurOwnResources) {
    ScopedTempFolder work(L"work");
    LoadResZipFile(work.path());
    EXPECT_TRUE(IsDirectory(work.path() + L"language\\English"));
    EXPECT_EQ(LanguagePackage().size() > 0,
              !ReadFileBytes(work.path() + L"language\\language.ini").empty());
    // "com_english" followed by CR LF: the pair is removed.
    EXPECT_EQ(L"com_english", LoadDomainFile());
}
