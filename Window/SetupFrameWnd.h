// CSetupFrameWnd: the setup program's one window. Start-up of the environment, the controls,
// the window states, the close question, the banner carousel and the progress display.
// The install flow's own steps are members too (SetupFrameFlow.cpp) but live elsewhere.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "common/InstallerTrust.h"
#include "common/LanguageManager.h"
#include "common/TaskbarProgress.h"
#include "ui/window/SkinWindowBase.h"
#include "Window/BannerCarousel.h"
#include "Window/FlowQuestions.h"
#include "Window/ProgressDisplay.h"

namespace SkinUI {
class CControlUI;
class CEditUI;
class CLabelUI;
class CCheckBoxUI;
class CProgressUI;
class CTabLayoutUI;
}  // namespace SkinUI

enum WindowState : int {
    kWindow_None = -1,  // before the first transition
    kWindow_Init = 0,
    kWindow_Downloading = 1,
    kWindow_Installing = 2,
    kWindow_Finish = 3,
};

// Threads. The window, its controls, its timers and its message boxes belong to the GUI thread
// (the thread that constructed the object). The methods marked "any thread" may be called from
// worker threads as well: they do their control work at once on the GUI thread, or post it
// there in call order, and they never wait for it, except ShowMessage, which blocks a worker
// until the user has answered. Everything else is for the GUI thread only.
class CSetupFrameWnd : public SkinUI::CSkinWindowBase {
  public:
    CSetupFrameWnd();
    ~CSetupFrameWnd() override;

    // ---- Operations for the install flow, safe from any thread.

    // Moves the window to |state|; nothing when it is there already or the skin has no pages.
    // The state is recorded and logged on the calling thread; the pages and controls change on
    // the GUI thread. The flow's entry actions (StartInstallExe, InstallExeFinish) run on the
    // calling thread. Never blocks.
    void UpdateWindowSate(int state);
    // The bar, its label ("57 %") and the taskbar button show |percent|. Bursts from workers
    // are merged: the GUI thread shows the latest value asked for. Never blocks.
    void SetProgress(int percent);
    // The download's share of the bar for |downloaded| of |size| bytes, never moving back
    // (see DownloadProgressMeter). Meant for the downloader's progress events, which arrive
    // under the downloader's lock: it only posts. Never blocks.
    void ShowDownloadProgress(int64_t downloaded, int64_t size);
    // The download's high-water mark back to 0, for a new start from the home page.
    void ResetDownloadProgress() { downloadMeter_.Reset(); }
    // The tip line under the path box; a text unfolds the panel, an empty one hides the line.
    void ShowTip(const std::wstring& text);
    // The taskbar button's state: TBPF_NOPROGRESS, TBPF_NORMAL, TBPF_ERROR or TBPF_PAUSED.
    void SetTaskbarState(TBPFLAG state);
    // Timer 12 reads the installer's progress file; a file left by an earlier run is deleted
    // first so that its value is never shown.
    void StartProgressTimer();
    // The finish page: Start shown, Install and the licence line hidden, both timers stopped,
    // the taskbar at 100 %, the window shown and activated when it was hidden or minimised.
    void ShowFinishPage();
    // A message box owned by the window, captioned with the product's setup title; the
    // right-to-left flags are added for Arabic. Returns the button pressed (IDYES, IDNO, ...;
    // Escape gives IDCANCEL). BLOCKS until the user answers; on a worker the box is shown by
    // the GUI thread meanwhile. Never call it while holding a lock that the GUI thread may
    // need (a progress event's, for instance). 0 when the window is gone.
    int ShowMessage(const std::wstring& text, MessageBoxKind kind);
    // Kills the installer's helper process and deletes the downloaded files; no window work.
    void CleanDownloadFiles();
    // Close requests go through CWindowWnd::Close(code), which only posts; the flow closes
    // without the question with kCloseWithoutQuestion.

    // Values set during start-up and read-only afterwards: safe from any thread.
    int DownloadRatio() const { return downloadRatio_; }
    // Values the flow replaces while it runs (any thread).
    std::wstring InstallPath() const;
    void SetInstallPath(const std::wstring& path);
    std::wstring DownloadUrl() const;
    void SetDownloadUrl(const std::wstring& url);
    int WindowState() const { return windowState_.load(); }

    // ---- GUI thread only.

    // Shows banner picture |number| of the chosen language; false when it does not exist.
    bool ShowBanner(int number);
    // Timer 11 turns the banner every 5000 ms (setting it again restarts it).
    void StartBannerTimer();
    // Timer 12's tick: 90 % plus the installer's progress share.
    void ReadProgressFile();
    void HandleTimer(UINT_PTR id);

  protected:
    LPCWSTR ClassName() const override { return L"SetupMainFrame"; }
    void OnSkinLoaded() override;
    void OnControlClick(SkinUI::SkinNotify& msg) override { HandleClick(msg); }
    std::wstring SkinFolder() const override { return std::wstring(); }
    std::wstring SkinFile() override;
    SkinUI::SkinSource SkinSourceKind() const override { return SkinUI::SkinSource::kZipResource; }
    std::wstring SkinZipFileName() const override { return L"skin.zip"; }
    int SkinResourceId() const override { return 104; }
    LRESULT OnClose(WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // INotifyUI: the path box's focus first, then the notification map.
    void Notify(SkinUI::SkinNotify& msg) override;

    SKIN_DECLARE_NOTIFY_MAP()

  private:
    // Start-up (SetupFrameWnd.cpp).
    void InitEnvironment();
    void InitData();
    void InitTaskbar();
    void InitAnalytics();

    // Controls (SetupFrameControls.cpp).
    void InitControls();
    void HandleClick(SkinUI::SkinNotify& msg);
    void HandleSelectChanged(SkinUI::SkinNotify& msg);
    void HandleTextChanged(SkinUI::SkinNotify& msg);
    void OnClickBrowse();
    void OnClickLicence();
    void OnClickStart();
    void OnAgreeChanged();
    void OnFoldChanged();
    void SetControlText(const wchar_t* name, const wchar_t* key);
    void SetControlVisible(const wchar_t* name, bool visible);

    // States and the close question (SetupFrameStates.cpp).
    bool HandleClose(int code);
    void SelectPage(int page);
    int ShowMessageNow(const std::wstring& text, MessageBoxKind kind);
    // GUI thread: a hidden or minimised window is shown normally and brought to the front.
    void BringWindowBack();

    // Progress and banners (SetupFrameProgress.cpp).
    void ApplyLatestProgress();
    void PostProgress();
    void StopProgressTimer();

    // The install flow up to a verified download (SetupFrameFlow.cpp): the Install click, the
    // preparation thread, the download thread and the answers to a failed download.
    void OnClickInstall();
    void RunPreparation();
    bool StartDownload(const std::wstring& url, const std::wstring& file);
    static void OnDownloadEvent(int event, int64_t valueA, int64_t valueB, void* userData);
    void OnDownloadEnd(int result);
    void DownloadSuccess(InstallerTrust verified);
    void DownloadFailed();
    // Page 0 at 0 %, ready for another Install click.
    void BackToHomePage();
    // Opens |url| in the default browser; any thread, the shell is called on the GUI thread.
    void OpenInBrowser(const std::wstring& url);
    std::wstring InstallerPath() const;

    // The installation (SetupFrameInstall.cpp): the product's running copy, the product folder,
    // the install thread, the finish page or the failure.
    void StartInstallExe();
    bool EndRunningProduct();
    void RunInstallation(std::unique_ptr<InstallerTrust> verified);
    void InstallExeFinish();
    void InstallFailed();
    std::unique_ptr<InstallerTrust> TakeVerifiedInstaller();

    // Runs |task| now on the GUI thread, or posts it there from any other thread.
    template <typename Task>
    void OnGuiThread(Task&& task) {
        if (::GetCurrentThreadId() == guiThread_) {
            task();
        } else {
            PostToGuiThread(std::forward<Task>(task));
        }
    }

    std::wstring workFolder_;
    std::wstring installPath_;  // behind pathsLock_
    std::wstring downloadUrl_;  // behind pathsLock_
    std::wstring progressFilePath_;
    std::atomic<int> windowState_{kWindow_None};
    SkinUI::CEditUI* pathEdit_ = nullptr;
    SkinUI::CLabelUI* tipLabel_ = nullptr;
    SkinUI::CCheckBoxUI* foldCheck_ = nullptr;
    SkinUI::CLabelUI* progressLabel_ = nullptr;
    SkinUI::CProgressUI* progressBar_ = nullptr;
    SkinUI::CTabLayoutUI* pages_ = nullptr;
    std::unique_ptr<TaskbarProgress> taskbar_;
    LanguageManager language_;
    int downloadRatio_ = 90;
    int pollInterval_ = 1500;

    mutable std::mutex pathsLock_;
    const DWORD guiThread_;
    DownloadProgressMeter downloadMeter_;
    BannerCarousel banner_;
    std::atomic<int> latestPercent_{0};
    std::atomic<bool> progressPosted_{false};
    bool closeQuestionOpen_ = false;

    // The downloaded installer as verified, held unchanged from the download's end until its
    // process has started (or the installation is given up).
    std::mutex verifiedLock_;
    std::unique_ptr<InstallerTrust> verifiedInstaller_;  // behind verifiedLock_
};
