// The install flow from the Install click to a verified download: the folder test, the
// preparation thread (the installer's address, its size, the free space), the download thread
// and its progress, the verification of the downloaded bytes and the answers to a failure.
#include "common/GA.h"
#include "common/Log.h"
#include "common/ShellLaunch.h"
#include "http/HttpDownload.h"
#include "ui/controls/Edit.h"
#include "Window/DetachedThread.h"
#include "Window/DownloadPreparation.h"
#include "Window/FlowLog.h"
#include "Window/InstallPath.h"
#include "Window/InstallSteps.h"
#include "Window/SetupFrameWnd.h"

#define CLICK_LOG(...) TLOG("CSetupFrameWnd::OnClickInstall", __VA_ARGS__)

namespace {

// The installer is fetched in this many parallel byte ranges.
constexpr int kDownloadThreads = 5;

}  // namespace

std::wstring CSetupFrameWnd::InstallerPath() const {
    return DownloadFilesIn(workFolder_).installer;
}

void CSetupFrameWnd::OnClickInstall() {
    CLICK_LOG("OnClickInstall");
    ShowTip(std::wstring());
    const std::wstring path =
        InstallPathFromBox(pathEdit_ != nullptr ? pathEdit_->GetText() : InstallPath());
    SetInstallPath(path);
    TLOGW("CSetupFrameWnd::OnClickInstall", L"sel path:%s", path.c_str());

    ::SetLastError(ERROR_SUCCESS);
    if (!CheckInstallPath(path)) {
        ShowTip(language_.GetText(L"STR_PATH_INVALID"));
        return;
    }
    CLICK_LOG("sel path end");
    if (!StartDetachedThread([this] { RunPreparation(); })) {
        // Nothing has started: the home page stays, and the click can be repeated.
        CLICK_LOG("ERR:the preparation thread could not be started");
        return;
    }
    CLICK_LOG("send ga begin");
    StartGAEventThread(kGAEventStartInstall);
    CLICK_LOG("send ga end");
    CLICK_LOG("change page downloading begin");
    UpdateWindowSate(kWindow_Downloading);
    CLICK_LOG("change page downloading end");
}

void CSetupFrameWnd::RunPreparation() {
    PreparationRequest request;
    request.addressApiUrl = language_.GetDownloadUrlEx();
    request.downloadUrl = DownloadUrl();
    request.installPath = InstallPath();
    request.storageText = language_.GetText(L"STR_STORAGE");
    request.unitText = language_.GetText(L"STR_MB");
    const PreparationOutcome outcome = PrepareDownload(request, SystemPreparationServices());
    SetDownloadUrl(outcome.downloadUrl);

    switch (outcome.status) {
        case PreparationStatus::kStartDownload:
            if (!StartDownload(outcome.downloadUrl, InstallerPath())) {
                DownloadFailed();
            }
            break;
        case PreparationStatus::kNotEnoughSpace:
            // The box has only OK: however it was closed (Escape reports Cancel), it was read.
            // 0: the window is gone.
            if (ShowMessage(outcome.storageMessage, kBoxStorage) != 0) {
                BackToHomePage();
            }
            break;
        case PreparationStatus::kFreeSpaceUnknown:
            // A drive that cannot tell its free space (gone, no medium) is no place to install
            // to: the user is shown the folder again, as for any unusable one. Posted, so that
            // it follows the click's own turn to the progress page.
            PostToGuiThread([this] {
                BackToHomePage();
                ShowTip(language_.GetText(L"STR_PATH_INVALID"));
            });
            break;
    }
}

bool CSetupFrameWnd::StartDownload(const std::wstring& url, const std::wstring& file) {
    if (url.empty() || file.empty()) {
        return false;
    }
    const bool started = StartDetachedThread([this, url, file] {
        DownloadParam param;
        param.nDownloadThread = kDownloadThreads;
        param.pUserData = this;
        param.strDownloadUrl = url;
        param.strSavePath = file;
        StartHttpDownload(param, &CSetupFrameWnd::OnDownloadEvent);
    });
    if (!started) {
        TLOG("CSetupFrameWnd::StartDownload", "ERR:the download thread could not be started");
    }
    return started;
}

void CSetupFrameWnd::OnDownloadEvent(int event, int64_t valueA, int64_t valueB, void* userData) {
    auto* window = static_cast<CSetupFrameWnd*>(userData);
    if (event == kDownloadEventProgress) {
        // A range thread holds the downloader's lock here: this only posts.
        window->ShowDownloadProgress(valueA, valueB);
    } else if (event == kDownloadEventEnd) {
        // The download thread, after every range thread has ended.
        window->OnDownloadEnd(static_cast<int>(valueA));
    }
}

void CSetupFrameWnd::OnDownloadEnd(int result) {
    if (result != kDownloadOk) {
        // Invalid parameters (-1) leave nothing running either: the user gets the same ways
        // out as for a download that failed.
        DownloadFailed();
        return;
    }
    // The program runs elevated: only the pinned publisher's intact installer is ever started.
    InstallerTrust verified = VerifyInstallerFile(InstallerPath());
    if (!verified.trusted()) {
        TLOGW("CSetupFrameWnd::OnDownloadEnd", L"ERR:downloaded installer refused and removed: %s",
              verified.Describe().c_str());
        ::DeleteFileW(InstallerPath().c_str());
        DownloadFailed();
        return;
    }
    DownloadSuccess(std::move(verified));
}

void CSetupFrameWnd::DownloadSuccess(InstallerTrust verified) {
    TLOG("CSetupFrameWnd::DownloadSuccess", kLogDownloadSucceeded);
    StartGAEventThread(kGAEventDownloaderInstalled);
    {
        std::lock_guard<std::mutex> guard(verifiedLock_);
        verifiedInstaller_ = std::make_unique<InstallerTrust>(std::move(verified));
    }
    // The whole download share shows before the installing state's question, if any.
    SetProgress(DownloadRatio());
    UpdateWindowSate(kWindow_Installing);
}

void CSetupFrameWnd::DownloadFailed() {
    TLOG("CSetupFrameWnd::DownloadFailed", kLogDownloadFailed);
    SetTaskbarState(TBPF_ERROR);
    const std::wstring text =
        language_.GetText(L"STR_NETWORK_ERROR") + L"\n\n" + language_.GetText(L"STR_OPERATE_TIP");
    for (;;) {
        switch (ShowMessage(text, kBoxDownloadFailed)) {
            case IDABORT:
                // The close's clean-up removes what was downloaded.
                Close(kCloseWithoutQuestion);
                return;
            case IDRETRY:
                CleanDownloadFiles();
                if (StartDownload(DownloadUrl(), InstallerPath())) {
                    return;
                }
                break;  // nothing could be started: the same question again
            case IDIGNORE: {
                // The browser fetches the installer itself.
                const std::wstring url = DownloadUrl();
                if (!url.empty()) {
                    OpenInBrowser(url);
                }
                CleanDownloadFiles();
                BackToHomePage();
                return;
            }
            default:
                // Escape (Cancel) or a window that is gone: nothing.
                return;
        }
    }
}

void CSetupFrameWnd::BackToHomePage() {
    SetProgress(0);
    ResetDownloadProgress();
    UpdateWindowSate(kWindow_Init);
}

void CSetupFrameWnd::OpenInBrowser(const std::wstring& url) {
    // The shell may show its own error box owned by the window: that is the GUI thread's work.
    OnGuiThread([this, url] {
        const HINSTANCE result = OpenWithShell(GetHWND(), url);
        TLOGW("CSetupFrameWnd::OpenInBrowser", L"shell open %s: %d", url.c_str(),
              static_cast<int>(reinterpret_cast<INT_PTR>(result)));
    });
}
