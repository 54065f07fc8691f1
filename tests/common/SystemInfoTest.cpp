// Machine and program facts as a 32-bit program sees them under Wine (a 64-bit prefix), and
// the folder helpers on the real file system.
#include <windows.h>

#include <gtest/gtest.h>

#include <clocale>

#include "common/FileUtil.h"
#include "common/Format.h"
#include "common/SystemInfo.h"
#include "common/TaskbarProgress.h"
#include "common/TextConvert.h"
#include "support/TestFolders.h"

TEST(SystemInfoTest, ProgramFilesAndWorkFolderOfA32BitProgram) {
    wchar_t x86[MAX_PATH] = {};
    ::ExpandEnvironmentStringsW(L"%ProgramFiles(x86)%", x86, MAX_PATH);
    // On a 64-bit Windows a 32-bit program gets the folder for 32-bit programs.
    EXPECT_EQ(std::wstring(x86) + L"\\", GetProgramFilesFolder());
    EXPECT_EQ(GetProgramFilesFolder() + L"tandrel_down\\common_tests\\", GetWorkFolder());
    EXPECT_EQ(L"common_tests", GetExecutableTitle());

    const std::wstring folder = GetModuleFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(L'\\', folder.back());
    EXPECT_EQ(folder + L"\\common_tests.exe", GetModulePath());
}

TEST(SystemInfoTest, WindowsFacts) {
    EXPECT_TRUE(IsNative64Bit()) << "the test prefix is a 64-bit Windows";
    EXPECT_TRUE(IsNative64BitArchitecture(9));    // x64
    EXPECT_TRUE(IsNative64BitArchitecture(6));    // Itanium
    EXPECT_FALSE(IsNative64BitArchitecture(12));  // ARM64
    EXPECT_FALSE(IsNative64BitArchitecture(0));   // x86
    EXPECT_FALSE(GetWindowsProductName().empty());
    EXPECT_EQ(FormatString(L"%d", static_cast<int>(::GetUserDefaultUILanguage())),
              GetUiLanguageCode());
}

TEST(SystemInfoTest, FileVersionOfOurOwnProgram) {
    const std::wstring setup = UnixToWindowsPath(TANDREL_BINARY_DIR "/tandrel-download.exe");
    ASSERT_TRUE(FileExists(setup));
    EXPECT_EQ(L"1.0.3.0", GetFileVersionString(setup));
    EXPECT_EQ(L"", GetFileVersionString(GetModulePath())) << "the test has no version resource";
    EXPECT_EQ(L"", GetFileVersionString(L"C:\\no\\such\\file.exe"));
}

TEST(SystemInfoTest, FreeDiskSpace) {
    uint32_t free = 12345;
    ASSERT_TRUE(GetFreeDiskMB(L"C:\\", free));
    EXPECT_GT(free, 0u);
    ULARGE_INTEGER available, total, totalFree;
    ASSERT_TRUE(::GetDiskFreeSpaceExW(L"C:\\", &available, &total, &totalFree));
    EXPECT_NEAR(static_cast<double>(totalFree.QuadPart >> 20), free, 64.0);

    uint32_t untouched = 777;
    EXPECT_FALSE(GetFreeDiskMB(L"C:\\no\\such\\folder\\", untouched));
    EXPECT_EQ(777u, untouched);
}

TEST(FolderTest, CreateFolderTreeMakesEveryMissingParent) {
    ScopedTempFolder temp(L"folders");
    const std::wstring deep = temp.path() + L"x\\y\\z\\";
    EXPECT_TRUE(CreateFolderTree(deep));
    EXPECT_TRUE(IsDirectory(temp.path() + L"x"));
    EXPECT_TRUE(IsDirectory(temp.path() + L"x\\y\\z"));
    EXPECT_TRUE(PathExists(temp.path() + L"x/y//z"));
    EXPECT_TRUE(CreateFolderTree(deep)) << "an existing folder";
    EXPECT_FALSE(CreateFolderTree(L""));

    // A file in the way: the folder cannot be created.
    ASSERT_TRUE(WriteFileBytes(temp.path() + L"file", "x"));
    EXPECT_FALSE(CreateFolderTree(temp.path() + L"file\\sub"));

    EXPECT_TRUE(FileExists(temp.path() + L"file"));
    EXPECT_FALSE(FileExists(temp.path() + L"missing"));
}

TEST(TextConvertTest, CodePagesAndLocale) {
    EXPECT_EQ(L"", AnsiToWide(""));
    EXPECT_EQ("", WideToOem(L""));
    EXPECT_EQ(L"com_english", LocaleToWide("com_english"));
    EXPECT_EQ("com_english", WideToLocale(L"com_english"));
    EXPECT_EQ(L"caf\xE9", AnsiToWide("caf\xE9"));  // code page 1252 here
    EXPECT_EQ("caf\x82", WideToOem(L"caf\xE9"));   // code page 437
    EXPECT_EQ(L"\x0646\x0635", Utf8ToWide("\xD9\x86\xD8\xB5"));
    EXPECT_EQ("\xD9\x86\xD8\xB5", WideToUtf8(L"\x0646\x0635"));
}

// Download threads convert text while the GUI thread does too: a conversion must not switch the
// C runtime's process-wide locale under them.
TEST(TextConvertTest, LocaleConversionsUseTheAnsiCodePageAndLeaveTheProcessLocaleAlone) {
    const std::string before = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(L"caf\xE9", LocaleToWide("caf\xE9"));
    EXPECT_EQ("caf\xE9", WideToLocale(L"caf\xE9"));
    EXPECT_EQ("x?y", WideToLocale(L"x\x4E2Dy")) << "no character of code page 1252";
    EXPECT_STREQ("C", std::setlocale(LC_CTYPE, nullptr));
    std::setlocale(LC_CTYPE, before.c_str());
}

TEST(FormatTest, MeasuresAndFormatsWithWindowsRules) {
    EXPECT_EQ(L"Language Code:1025", FormatString(L"Language Code:%s", L"1025"));
    EXPECT_EQ("Range:bytes=800-1002", FormatString("Range:bytes=%d-%d", 800, 1002));
    const std::string big(100000, 'q');
    EXPECT_EQ(big + "!", FormatString("%s!", big.c_str()));
    EXPECT_EQ("", FormatString(static_cast<const char*>(nullptr)));
}

TEST(TaskbarProgressTest, DrivesTheTaskbarButtonOfARealWindow) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"taskbar", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                    nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    {
        TaskbarProgress progress;
        ASSERT_TRUE(progress.HasTaskbar());
        progress.Attach(window);
        EXPECT_TRUE(progress.SetState(TBPF_NORMAL));
        EXPECT_TRUE(progress.SetValue(42, 100));
        EXPECT_TRUE(progress.SetState(TBPF_PAUSED));
        EXPECT_TRUE(progress.SetState(TBPF_NOPROGRESS));
    }
    ::DestroyWindow(window);
}
