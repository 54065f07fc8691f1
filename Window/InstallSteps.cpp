#include "Window/InstallSteps.h"

#include <windows.h>

#include "common/Log.h"
#include "common/ProcessControl.h"
#include "common/ProgressFile.h"
#include "common/WinHandle.h"

namespace {

constexpr wchar_t kHelperProcessName[] = L"tandrel-download.tmp";
// Copies of a program ended at a time: more than an installer ever leaves or a user runs, and a
// bound on a copy that will not go.
constexpr int kMaxCopiesEnded = 4;
// A terminated process is gone within moments; a hung kernel call must not hold the window.
constexpr DWORD kExitWaitMs = 5000;

}  // namespace

DownloadFiles DownloadFilesIn(const std::wstring& workFolder) {
    return DownloadFiles{workFolder + L"tandrel-download.exe", workFolder + L"temp.progress"};
}

void EndProcessesNamed(const std::wstring& exeName,
                       const std::function<void(DWORD processId)>& beforeEach) {
    for (int copy = 0; copy < kMaxCopiesEnded; ++copy) {
        DWORD processId = 0;
        if (!FindProcessByName(exeName, processId)) {
            return;
        }
        if (beforeEach) {
            beforeEach(processId);
        }
        UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
        if (!KillProcessById(processId)) {
            return;
        }
        if (process) {
            ::WaitForSingleObject(process.get(), kExitWaitMs);
        }
    }
}

void KillSilentInstallProcess() {
    EndProcessesNamed(kHelperProcessName, [](DWORD) {
        TLOG("CSetupFrameWnd::KillSilentInstallProcess", "KillSilentInstallProcess");
    });
}

void CleanDownloadFiles(const DownloadFiles& files) {
    KillSilentInstallProcess();
    ::DeleteFileW(files.installer.c_str());
    ::DeleteFileW(files.progressFile.c_str());
}

bool ReadInstallProgressPercent(const std::wstring& progressFile, int ratio, int& percent) {
    int value = 0;
    if (!ReadProgressValue(progressFile, value)) {
        return false;
    }
    percent = MapInstallProgress(ratio, value);
    return true;
}

InstallOutcome JudgeInstallerRun(const InstallerRunResult& run) {
    const InstallOutcome outcome = ClassifyInstallerExit(run.Ran(), run.exitCode);
    switch (outcome) {
        case InstallOutcome::kInstalled:
            break;
        case InstallOutcome::kInstalledRestartNeeded:
            TLOG("CSetupFrameWnd::StartInstallExe",
                 "installed; Windows must restart to finish (exit code %lu)", run.exitCode);
            break;
        case InstallOutcome::kFailed:
            TLOG("CSetupFrameWnd::StartInstallExe", "installation failed, exit code %lu",
                 run.exitCode);
            break;
        case InstallOutcome::kNotStarted:
            TLOG("CSetupFrameWnd::StartInstallExe", "installer not started, error %lu",
                 run.startError);
            break;
    }
    return outcome;
}
