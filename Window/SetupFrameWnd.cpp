// CSetupFrameWnd's start-up: the environment prepared once (work folder, log, language
// package, language manager), the skin chosen by the reading direction, and the window's
// initialisation when its skin is built; also the hooks for closing, destruction and timers.
#include "Window/SetupFrameWnd.h"

#include "common/GA.h"
#include "common/Log.h"
#include "common/SystemInfo.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Progress.h"
#include "ui/controls/TabLayout.h"
#include "Window/EmbeddedPackage.h"

using namespace SkinUI;

namespace {

constexpr UINT kIconResource = 101;
// Window-exit code posted when the window is destroyed.
constexpr int kQuitCode = 18;

}  // namespace

SKIN_BEGIN_NOTIFY_MAP(CSetupFrameWnd, SkinUI::CNotifyRouter)
SKIN_NOTIFY_HANDLER(SkinNotifyType::kClick, &CSetupFrameWnd::OnControlClick)
SKIN_NOTIFY_HANDLER(SkinNotifyType::kSelectChanged, &CSetupFrameWnd::HandleSelectChanged)
SKIN_NOTIFY_HANDLER(SkinNotifyType::kTextChanged, &CSetupFrameWnd::HandleTextChanged)
SKIN_END_NOTIFY_MAP()

CSetupFrameWnd::CSetupFrameWnd()
    : guiThread_(::GetCurrentThreadId()), downloadMeter_(language_.GetDownloadRatio()) {}

CSetupFrameWnd::~CSetupFrameWnd() = default;

std::wstring CSetupFrameWnd::InstallPath() const {
    std::lock_guard<std::mutex> guard(pathsLock_);
    return installPath_;
}

void CSetupFrameWnd::SetInstallPath(const std::wstring& path) {
    std::lock_guard<std::mutex> guard(pathsLock_);
    installPath_ = path;
}

std::wstring CSetupFrameWnd::DownloadUrl() const {
    std::lock_guard<std::mutex> guard(pathsLock_);
    return downloadUrl_;
}

void CSetupFrameWnd::SetDownloadUrl(const std::wstring& url) {
    std::lock_guard<std::mutex> guard(pathsLock_);
    downloadUrl_ = url;
}

void CSetupFrameWnd::InitEnvironment() {
    workFolder_ = GetWorkFolder();
    LogInit(L"tandrel_down.log", (workFolder_ + L"Log").c_str());
    LoadResZipFile(workFolder_);
    language_.Init(workFolder_ + L"language\\");
}

std::wstring CSetupFrameWnd::SkinFile() {
    // The toolkit asks once, when the window is created and before anything else: the skin
    // depends on the language's reading direction, so the environment is prepared here.
    InitEnvironment();
    return language_.IsRightToLeft() ? L"skin_rtl.xml" : L"skin.xml";
}

void CSetupFrameWnd::OnSkinLoaded() {
    SetIcon(kIconResource);
    InitData();
    InitTaskbar();
    InitAnalytics();
}

void CSetupFrameWnd::InitData() {
    // The pages never change once the skin is built; workers may test for them.
    pages_ = dynamic_cast<CTabLayoutUI*>(FindControl(L"switch"));

    SetInstallPath(GetProgramFilesFolder());
    language_.SetCustomValue(LoadDomainFile());
    // Arabic reads right to left; its skin is laid out mirrored already.
    SetRightToLeftReading(language_.IsRightToLeft());

    UpdateWindowSate(kWindow_Init);
    InitControls();
    progressLabel_ = dynamic_cast<CLabelUI*>(FindControl(L"label_progress"));
    tipLabel_ = dynamic_cast<CLabelUI*>(FindControl(L"label_tip"));
    progressBar_ = dynamic_cast<CProgressUI*>(FindControl(L"progress_download"));

    TLOGW("CSetupFrameWnd::InitData", L"Windows Version:%s", GetWindowsProductName().c_str());
    TLOGW("CSetupFrameWnd::InitData", L"Windows Bit:%s", IsNative64Bit() ? L"x64" : L"x86");
    TLOGW("CSetupFrameWnd::InitData", L"downloader version:%s",
          GetFileVersionString(GetModulePath()).c_str());

    // The skin draws its own caption; the title names the window on the taskbar.
    ::SetWindowTextW(GetHWND(), language_.GetText(L"STR_MESSAGEBOX_TITLE").c_str());
    progressFilePath_ = workFolder_ + L"temp.progress";
    downloadRatio_ = language_.GetDownloadRatio();
    pollInterval_ = language_.GetProgressPollInterval();
    TLOG("CSetupFrameWnd::InitData", "DownloadRatio:%d  ==== ReadFileTimeout:%d", downloadRatio_,
         pollInterval_);
}

void CSetupFrameWnd::InitTaskbar() {
    taskbar_ = std::make_unique<TaskbarProgress>();
    taskbar_->Attach(GetHWND());
    taskbar_->SetState(TBPF_NORMAL);
}

void CSetupFrameWnd::InitAnalytics() {
    // The first call creates the process's one sender here, on the GUI thread, before any
    // report can be sent.
    CGA* analytics = CGA::GetInstance();
    analytics->SetCollectUrl(CGA::BuildCollectUrl());
    analytics->SetEventCategory(CGA::EventCategoryFor(language_.GetGaTitle()));
}

LRESULT CSetupFrameWnd::OnClose(WPARAM wParam, LPARAM, bool& handled) {
    // Refused: the message is handled and the window stays; accepted: the default handling
    // destroys it.
    handled = !HandleClose(static_cast<int>(wParam));
    return 0;
}

LRESULT CSetupFrameWnd::OnDestroy(WPARAM, LPARAM, bool& handled) {
    ::PostQuitMessage(kQuitCode);
    handled = false;
    return 0;
}

LRESULT CSetupFrameWnd::OnOtherMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
    // The window's own timers; the toolkit's (from kFirstTimerId on) stay with the toolkit.
    if (message == WM_TIMER && wParam < CSkinManagerUI::kFirstTimerId) {
        HandleTimer(wParam);
        return 0;
    }
    handled = false;
    return 0;
}
