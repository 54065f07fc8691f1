// The installation after a verified download: a running copy of the product ended once the user
// agrees, the product folder with its domain file, the silent installer on the install thread
// while timer 12 shows its progress, then the finish page, or the failure and the home page.
#include "common/GA.h"
#include "common/Log.h"
#include "common/ProcessControl.h"
#include "Window/DetachedThread.h"
#include "Window/EmbeddedPackage.h"
#include "Window/FlowLog.h"
#include "Window/InstallPath.h"
#include "Window/InstallSteps.h"
#include "Window/SetupFrameWnd.h"

namespace {

// The finish page keeps the taskbar button full this long before it goes back to plain.
constexpr DWORD kTaskbarFullMs = 1000;

}  // namespace

std::unique_ptr<InstallerTrust> CSetupFrameWnd::TakeVerifiedInstaller() {
    std::lock_guard<std::mutex> guard(verifiedLock_);
    return std::move(verifiedInstaller_);
}

void CSetupFrameWnd::StartInstallExe() {
    std::unique_ptr<InstallerTrust> verified = TakeVerifiedInstaller();
    if (!verified) {
        // Only a download that passed verification is ever started.
        TLOG("CSetupFrameWnd::StartInstallExe", "ERR:no verified installer to start");
        InstallFailed();
        return;
    }
    if (!EndRunningProduct()) {
        // The user keeps the product running: nothing is installed and the program closes.
        // Its clean-up removes the download, which must no longer be held for that.
        verified.reset();
        Close(kCloseWithoutQuestion);
        return;
    }
    const std::wstring productFolder =
        CreateProductFolder(InstallPath(), language_.GetInstallSubFolder());
    WriteDomainFile(productFolder, language_.GetCustomValue());

    const bool started = StartDetachedThread(
        [this, held = std::move(verified)]() mutable { RunInstallation(std::move(held)); });
    if (!started) {
        TLOG("CSetupFrameWnd::StartInstallExe", "ERR:the install thread could not be started");
        InstallFailed();
        return;
    }
    StartProgressTimer();
}

bool CSetupFrameWnd::EndRunningProduct() {
    const std::wstring name = language_.GetExeName();
    DWORD processId = 0;
    if (name.empty() || !FindProcessByName(name, processId)) {
        return true;
    }
    TLOG("CSetupFrameWnd::StartInstallExe", kLogProductRunning);
    SetTaskbarState(TBPF_PAUSED);
    if (ShowMessage(language_.GetText(L"STR_SOFT_RUN"), kBoxProductRunning) != IDOK) {
        return false;
    }
    // Every running copy goes, and is waited for, so that the installer can replace its files.
    EndProcessesNamed(name);
    SetTaskbarState(TBPF_NORMAL);
    return true;
}

void CSetupFrameWnd::RunInstallation(std::unique_ptr<InstallerTrust> verified) {
    // The verified file is let go once its process runs: it can no longer be swapped then.
    const InstallerRunResult run = RunSilentInstaller(InstallerPath(), InstallPath(),
                                                      progressFilePath_, [&] { verified.reset(); });
    verified.reset();
    const InstallOutcome outcome = JudgeInstallerRun(run);
    if (!IsInstalled(outcome)) {
        TLOG("CSetupFrameWnd::StartInstallExe", kLogInstallerEnded);
        InstallFailed();
        return;
    }
    CGA::GetInstance()->SendInstalledSucceed();
    TLOG("CSetupFrameWnd::StartInstallExe", kLogInstallerEnded);
    UpdateWindowSate(kWindow_Finish);
}

void CSetupFrameWnd::InstallExeFinish() {
    TLOG("CSetupFrameWnd::InstallExeFinish", "InstallExeFinish");
    // The last poll of the progress file may have come before the installer wrote 100.
    SetProgress(100);
    ShowFinishPage();
    CleanDownloadFiles();
    ::Sleep(kTaskbarFullMs);
    SetTaskbarState(TBPF_NOPROGRESS);
    const std::wstring url = language_.GetInstalledUrl();
    if (!url.empty()) {
        OpenInBrowser(url);
    }
}

void CSetupFrameWnd::InstallFailed() {
    TLOG("CSetupFrameWnd::InstallFailed", "InstallFailed");
    StopProgressTimer();
    SetTaskbarState(TBPF_ERROR);
    CleanDownloadFiles();
    // The user must see why the installation ended, even with the window hidden or minimised;
    // then the home page offers Install again.
    OnGuiThread([this] { BringWindowBack(); });
    ShowMessage(language_.GetText(L"STR_INSTALL_FAILED"), kBoxInstallFailed);
    BackToHomePage();
}
