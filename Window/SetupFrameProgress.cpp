// CSetupFrameWnd's progress page: the bar, its label and the taskbar button, the download's
// share of them, the installer's progress file on timer 12 and the banner carousel on timer 11.
#include "common/FileUtil.h"
#include "ui/controls/Progress.h"
#include "Window/InstallSteps.h"
#include "Window/SetupFrameWnd.h"

using namespace SkinUI;

void CSetupFrameWnd::SetProgress(int percent) {
    latestPercent_ = percent;
    if (::GetCurrentThreadId() == guiThread_) {
        ApplyLatestProgress();
        return;
    }
    // One task at a time is enough: it shows whatever value is latest when it runs.
    if (!progressPosted_.exchange(true)) {
        PostProgress();
    }
}

void CSetupFrameWnd::PostProgress() {
    const bool posted = PostToGuiThread([this] {
        progressPosted_ = false;
        ApplyLatestProgress();
    });
    if (!posted) {
        progressPosted_ = false;  // the window is gone
    }
}

void CSetupFrameWnd::ApplyLatestProgress() {
    const int percent = latestPercent_;
    const ProgressView view = MakeProgressView(percent, language_.IsRightToLeft());
    if (progressBar_ != nullptr) {
        progressBar_->SetValue(view.barValue);
    }
    if (progressLabel_ != nullptr) {
        progressLabel_->SetText(view.label);
    }
    if (taskbar_) {
        taskbar_->SetState(TBPF_NORMAL);
        taskbar_->SetValue(static_cast<ULONGLONG>(percent < 0 ? 0 : percent), 100);
    }
}

void CSetupFrameWnd::ShowDownloadProgress(int64_t downloaded, int64_t size) {
    SetProgress(downloadMeter_.Update(downloaded, size));
}

void CSetupFrameWnd::SetTaskbarState(TBPFLAG state) {
    OnGuiThread([this, state] {
        if (taskbar_) {
            taskbar_->SetState(state);
        }
    });
}

bool CSetupFrameWnd::ShowBanner(int number) {
    CControlUI* banner = FindControl(L"banner");
    if (banner == nullptr) {
        return false;
    }
    const std::wstring picture =
        BannerPicturePath(workFolder_, language_.GetLanguageName(), number);
    if (!FileExists(picture)) {
        return false;
    }
    banner->SetBkImage(picture);
    return true;
}

void CSetupFrameWnd::StartBannerTimer() {
    ::SetTimer(GetHWND(), kBannerTimerId, kBannerPeriodMs, nullptr);
}

void CSetupFrameWnd::StartProgressTimer() {
    // A value from an earlier run must never show: the installer writes a fresh file.
    ::DeleteFileW(progressFilePath_.c_str());
    OnGuiThread([this] {
        ::SetTimer(GetHWND(), kProgressTimerId, static_cast<UINT>(pollInterval_), nullptr);
    });
}

void CSetupFrameWnd::StopProgressTimer() {
    OnGuiThread([this] { ::KillTimer(GetHWND(), kProgressTimerId); });
}

void CSetupFrameWnd::ReadProgressFile() {
    int percent = 0;
    if (ReadInstallProgressPercent(progressFilePath_, downloadRatio_, percent)) {
        SetProgress(percent);
    }
}

void CSetupFrameWnd::HandleTimer(UINT_PTR id) {
    if (id == kProgressTimerId) {
        ReadProgressFile();
        return;
    }
    if (FindControl(L"banner") != nullptr) {
        banner_.Tick([this](int number) { return ShowBanner(number); });
    }
}
