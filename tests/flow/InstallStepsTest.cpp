// The install folder test, the verdict on real runs of the sample installer, and the clean-up
// of the downloaded files with the installer's lingering helper still running.
#include <gtest/gtest.h>

#include <vector>

#include "FlowTestLog.h"
#include "SamplePrograms.h"
#include "common/FileUtil.h"
#include "common/Format.h"
#include "common/ProcessControl.h"
#include "common/TextConvert.h"
#include "support/TestFolders.h"
#include "Window/InstallPath.h"
#include "Window/InstallSteps.h"

TEST(InstallPathTest, UsableFolders) {
    ScopedTempFolder scratch(L"installpath");
    ASSERT_TRUE(CreateFolderTree(scratch.path() + L"existing"));
    const struct {
        std::wstring path;
        bool usable;
    } cases[] = {
        {scratch.path() + L"existing", true},
        {scratch.path() + L"existing\\", true},
        {L"C:\\", true},
        {scratch.path() + L"existing\\new folder\\", true},  // created at install time
        {scratch.path() + L"missing\\new folder\\", false},
        {L"K:\\Apps\\", false},  // no such drive
        {L"K:\\", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.path));
        EXPECT_EQ(c.usable, CheckInstallPath(c.path));
    }
    EXPECT_EQ(L"D:\\Apps\\", InstallPathFromBox(L"D:\\Apps"));
    EXPECT_EQ(L"D:\\Apps\\", InstallPathFromBox(L"D:\\Apps\\"));
}

TEST(InstallOutcomeTest, ExitCodesOfTheInstaller) {
    ScopedEnvironment fast(L"REPAVIO_SETUP_DURATION_MS", L"0");
    ScopedTempFolder scratch(L"outcome");
    const struct {
        const wchar_t* exitCode;
        bool present;
        InstallOutcome outcome;
    } cases[] = {
        {L"0", true, InstallOutcome::kInstalled},
        {L"1641", true, InstallOutcome::kInstalledRestartNeeded},
        {L"3010", true, InstallOutcome::kInstalledRestartNeeded},
        {L"1603", true, InstallOutcome::kFailed},
        {L"0", false, InstallOutcome::kNotStarted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.exitCode) + (c.present ? "" : ", no installer"));
        ScopedEnvironment code(L"REPAVIO_SETUP_EXIT_CODE", c.exitCode);
        const std::wstring installer =
            c.present ? SampleInstallerPath() : scratch.path() + L"missing.exe";
        const InstallOutcome outcome = JudgeInstallerRun(RunSilentInstaller(
            installer, scratch.path() + L"target\\", scratch.path() + L"temp.progress"));
        EXPECT_EQ(c.outcome, outcome);
    }
}

TEST(CleanDownloadFilesTest, EndsEveryHelperAndDeletesBothFiles) {
    ScopedEnvironment fast(L"REPAVIO_SETUP_DURATION_MS", L"0");
    ScopedEnvironment linger(L"REPAVIO_SETUP_LINGER_MS", L"600000");
    ScopedTempFolder scratch(L"clean");
    const DownloadFiles files = DownloadFilesIn(scratch.path());
    ASSERT_TRUE(::CopyFileW(SampleInstallerPath().c_str(), files.installer.c_str(), FALSE));
    // Two runs leave two helpers behind.
    std::vector<DWORD> runs;
    for (int i = 0; i < 2; ++i) {
        const InstallerRunResult run =
            RunSilentInstaller(files.installer, scratch.path() + L"target\\", files.progressFile);
        ASSERT_TRUE(run.Ran());
        runs.push_back(run.processId);
    }
    DWORD helper = 0;
    ASSERT_TRUE(FindProcessByName(L"tandrel-download.tmp", helper));
    int percent = 0;
    EXPECT_TRUE(ReadInstallProgressPercent(files.progressFile, 90, percent));
    EXPECT_EQ(100, percent);

    LogTail log;
    CleanDownloadFiles(files);
    EXPECT_FALSE(FindProcessByName(L"tandrel-download.tmp", helper));
    EXPECT_FALSE(FileExists(files.installer));
    EXPECT_FALSE(FileExists(files.progressFile));
    EXPECT_FALSE(ReadInstallProgressPercent(files.progressFile, 90, percent));
    EXPECT_NE(std::string::npos, log.NewText().find("KillSilentInstallProcess"));

    // Nothing left to end: the marker is not written again.
    LogTail quiet;
    CleanDownloadFiles(files);
    EXPECT_EQ(std::string::npos, quiet.NewText().find("KillSilentInstallProcess"));

    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    for (DWORD run : runs) {
        RemoveTree(FormatString(L"%sorbitane-repavio-setup-%lu", temp, run));
    }
}
