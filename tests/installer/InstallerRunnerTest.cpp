// The silent installer run against the sample installer: the exact command line it receives,
// its progress seen rising while the run blocks, and the difference between a run and a start
// that failed.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "SamplePrograms.h"
#include "common/FileUtil.h"
#include "common/InstallerRunner.h"
#include "common/ProgressFile.h"
#include "common/TextConvert.h"
#include "support/TestFolders.h"

namespace {

// The work folder of a run: the installer copied in under its download name, as the setup
// program leaves it, and the progress file next to it.
struct WorkFolder {
    explicit WorkFolder(const std::wstring& tag) : scratch(tag) {
        work = scratch.path() + L"work\\";
        CreateFolderTree(work);
        installer = work + L"tandrel-download.exe";
        progress = work + L"temp.progress";
        ::CopyFileW(SampleInstallerPath().c_str(), installer.c_str(), FALSE);
    }

    ScopedTempFolder scratch;
    std::wstring work;
    std::wstring installer;
    std::wstring progress;
};

std::wstring InstalledProduct(std::wstring folder) {
    if (folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder + L"Orbitane\\Orbitane Repavio\\Repavio.exe";
}

}  // namespace

TEST(SilentInstallerTest, InstallerReceivesTheExactCommandLine) {
    ScopedEnvironment fast(L"REPAVIO_SETUP_DURATION_MS", L"0");
    WorkFolder run(L"cmdline");
    const std::vector<std::wstring> folders = {
        // The default folder: Program Files with its trailing backslash before the quote.
        run.scratch.path() + L"Program Files (x86)\\",
        run.scratch.path() + L"my apps\\two  blanks",
        run.scratch.path() + L"plain",
    };
    for (const std::wstring& folder : folders) {
        SCOPED_TRACE(WideToUtf8(folder));
        const InstallerRunResult result = RunSilentInstaller(run.installer, folder, run.progress);
        ASSERT_TRUE(result.Ran());
        EXPECT_EQ(0u, result.exitCode);

        const std::string received = ReadFileBytes(run.work + L"commandline.txt");
        EXPECT_EQ(" /verysilent /tandrel_down /wait_run /path=\"" + WideToUtf8(folder) +
                      "\" /progress=\"" + WideToUtf8(run.progress) + "\"",
                  received);
        // The folder arrived as one argument, trailing backslash and blanks included.
        EXPECT_TRUE(FileExists(InstalledProduct(folder)));
    }
}

TEST(SilentInstallerTest, FullRunShowsRisingProgressAndReturnsAfterTheInstallerEnded) {
    ScopedEnvironment duration(L"REPAVIO_SETUP_DURATION_MS", L"3000");
    ScopedEnvironment step(L"REPAVIO_SETUP_STEP", L"10");
    WorkFolder run(L"fullrun");
    const std::wstring folder = run.scratch.path() + L"Program Files (x86)\\";

    std::atomic<bool> done{false};
    InstallerRunResult result;
    std::thread installThread([&] {
        result = RunSilentInstaller(run.installer, folder, run.progress);
        done = true;
    });
    // The GUI thread's side: poll the file while the run blocks its own thread.
    std::vector<int> seen;
    while (!done) {
        int value = -1;
        if (ReadProgressValue(run.progress, value) && (seen.empty() || seen.back() != value)) {
            seen.push_back(value);
        }
        ::Sleep(30);
    }
    installThread.join();

    ASSERT_TRUE(result.Ran());
    EXPECT_TRUE(result.Succeeded());
    EXPECT_NE(0u, result.processId);
    EXPECT_TRUE(ProcessHasEnded(result.processId));
    const std::string installed = ReadFileBytes(InstalledProduct(folder));
    EXPECT_FALSE(installed.empty());
    EXPECT_TRUE(installed == ReadFileBytes(SampleProductPath())) << "installed product differs";

    ASSERT_GE(seen.size(), 3u) << "too few distinct progress values seen";
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_LT(seen[i - 1], seen[i]) << "progress went backwards at sample " << i;
    }
    EXPECT_GE(seen.front(), 0);
    EXPECT_LE(seen.back(), 100);
    int last = -1;
    ASSERT_TRUE(ReadProgressValue(run.progress, last));
    EXPECT_EQ(100, last);
    EXPECT_EQ(100, MapInstallProgress(90, last));
}

TEST(SilentInstallerTest, InstallerThatCannotStartIsNotReportedAsRun) {
    WorkFolder run(L"nostart");
    const std::wstring folder = run.scratch.path() + L"target\\";

    InstallerRunResult result = RunSilentInstaller(run.work + L"missing.exe", folder, run.progress);
    EXPECT_FALSE(result.Ran());
    EXPECT_FALSE(result.Succeeded());
    EXPECT_NE(static_cast<DWORD>(ERROR_SUCCESS), result.startError);

    // A download that is not a program at all, e.g. an error page saved under the name.
    const std::wstring notAProgram = run.work + L"page.exe";
    ASSERT_TRUE(WriteFileBytes(notAProgram, "<html>503 Service Unavailable</html>\n"));
    result = RunSilentInstaller(notAProgram, folder, run.progress);
    EXPECT_FALSE(result.Ran());
    EXPECT_NE(static_cast<DWORD>(ERROR_SUCCESS), result.startError);

    int value = 7;
    EXPECT_FALSE(ReadProgressValue(run.progress, value));
    EXPECT_FALSE(FileExists(InstalledProduct(folder)));
}

TEST(SilentInstallerTest, ExitCodeOfTheRunIsReported) {
    ScopedEnvironment fast(L"REPAVIO_SETUP_DURATION_MS", L"0");
    WorkFolder run(L"exitcode");
    {
        ScopedEnvironment fail(L"REPAVIO_SETUP_FAIL_AT", L"30");
        const std::wstring folder = run.scratch.path() + L"failed\\";
        const InstallerRunResult result = RunSilentInstaller(run.installer, folder, run.progress);
        ASSERT_TRUE(result.Ran());
        EXPECT_FALSE(result.Succeeded());
        EXPECT_EQ(1603u, result.exitCode);
        EXPECT_FALSE(FileExists(InstalledProduct(folder)));
    }
    {
        ScopedEnvironment reboot(L"REPAVIO_SETUP_EXIT_CODE", L"3010");
        const std::wstring folder = run.scratch.path() + L"installed\\";
        const InstallerRunResult result = RunSilentInstaller(run.installer, folder, run.progress);
        ASSERT_TRUE(result.Ran());
        EXPECT_EQ(3010u, result.exitCode);
        EXPECT_TRUE(FileExists(InstalledProduct(folder)));
    }
}
