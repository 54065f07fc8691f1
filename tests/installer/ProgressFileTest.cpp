// Reading the installer's progress file and placing its value after the download's share.
#include <gtest/gtest.h>

#include <climits>

#include "common/ProgressFile.h"
#include "support/TestFolders.h"

namespace {

constexpr int kDownloadRatio = 90;

struct ProgressCase {
    const char* content;
    int value;
    int shown;
};

// Writes each case's content as the progress file, reads it back and maps it.
template <size_t N>
void ExpectProgressCases(const std::wstring& path, const ProgressCase (&cases)[N]) {
    for (const ProgressCase& c : cases) {
        SCOPED_TRACE(c.content);
        ASSERT_TRUE(WriteFileBytes(path, c.content));
        int value = -12345;
        ASSERT_TRUE(ReadProgressValue(path, value));
        EXPECT_EQ(c.value, value);
        EXPECT_EQ(c.shown, MapInstallProgress(kDownloadRatio, value));
    }
}

}  // namespace

TEST(ProgressFileTest, FileValuesMapOntoTheInstallShare) {
    ScopedTempFolder scratch(L"progress");
    const std::wstring path = scratch.path() + L"temp.progress";
    const ProgressCase cases[] =
        {
            {"37\n", 37, 93},  {"37\r\n", 37, 93}, {"57", 57, 95},       {"100", 100, 100},
            {"", 0, 90},       {"0", 0, 90},       {"  \t+42%", 42, 94}, {"done", 0, 90},
            {"-50", -50, 90},   // held at 0: never back into the download's share
            {"200", 200, 100},  // held at 100
        };
    ExpectProgressCases(path, cases);
}

TEST(ProgressFileTest, OnlyTheFirstTenBytesAreRead) {
    ScopedTempFolder scratch(L"progress10");
    const std::wstring path = scratch.path() + L"temp.progress";
    const ProgressCase cases[] = {
        {"12345678901234", 1234567890, 100},
        {"0000000005999", 5, 90},
        {"          75", 0, 90},        // ten blanks: the digits lie beyond the bytes read
        {"99999999999", INT_MAX, 100},  // 10 nines overflow int and are held at its limit
    };
    ExpectProgressCases(path, cases);
}

TEST(ProgressFileTest, MissingFileLeavesTheValueUnchanged) {
    ScopedTempFolder scratch(L"progressnone");
    int value = 42;
    EXPECT_FALSE(ReadProgressValue(scratch.path() + L"temp.progress", value));
    EXPECT_EQ(42, value);
}
