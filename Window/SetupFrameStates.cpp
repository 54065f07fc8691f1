// CSetupFrameWnd's window states and what each shows, the finish page, the close question and
// the window's message boxes, which workers may ask and wait for.
#include <condition_variable>

#include "common/Log.h"
#include "ui/controls/Button.h"
#include "ui/controls/TabLayout.h"
#include "Window/InstallSteps.h"
#include "Window/SetupFrameWnd.h"

using namespace SkinUI;

namespace {

const char* StateName(int state) {
    switch (state) {
        case kWindow_Init:
            return "kWindow_Init";
        case kWindow_Downloading:
            return "kWindow_Downloading";
        case kWindow_Installing:
            return "kWindow_Installing";
        case kWindow_Finish:
            return "kWindow_Finish";
        default:
            return "unknown";
    }
}

// A worker's question, answered on the GUI thread. The task that shows the box holds it; when
// the window goes before the task runs, the task is dropped unrun and its destructor answers 0,
// so the worker never waits for a box that can no longer appear.
class PendingAnswer {
  public:
    void Set(int answer) {
        std::lock_guard<std::mutex> guard(lock_);
        if (!done_) {
            answer_ = answer;
            done_ = true;
            answered_.notify_all();
        }
    }
    int Wait() {
        std::unique_lock<std::mutex> guard(lock_);
        answered_.wait(guard, [this] { return done_; });
        return answer_;
    }

  private:
    std::mutex lock_;
    std::condition_variable answered_;
    bool done_ = false;
    int answer_ = 0;
};

class AnswerOnDrop {
  public:
    explicit AnswerOnDrop(std::shared_ptr<PendingAnswer> answer) : answer_(std::move(answer)) {}
    AnswerOnDrop(const AnswerOnDrop&) = delete;
    AnswerOnDrop& operator=(const AnswerOnDrop&) = delete;
    ~AnswerOnDrop() { answer_->Set(0); }
    void Set(int answer) { answer_->Set(answer); }

  private:
    std::shared_ptr<PendingAnswer> answer_;
};

}  // namespace

void CSetupFrameWnd::UpdateWindowSate(int state) {
    if (pages_ == nullptr || windowState_.exchange(state) == state) {
        return;
    }
    TLOG("CSetupFrameWnd::UpdateWindowSate", "UpdateWindowSate:%s", StateName(state));
    switch (state) {
        case kWindow_Init:
            OnGuiThread([this] {
                SelectPage(kHomePage);
                SetControlVisible(L"btn_start", false);
            });
            break;
        case kWindow_Downloading:
            OnGuiThread([this] {
                // The panel folds (the window shrinks if it was open) before the page turns.
                if (foldCheck_ != nullptr) {
                    foldCheck_->SetCheck(false, true);
                }
                SelectPage(kProgressPage);
            });
            SetProgress(0);
            OnGuiThread([this] {
                BannerCarousel::ShowFirst([this](int number) { return ShowBanner(number); });
                StartBannerTimer();
            });
            break;
        case kWindow_Installing:
            StartInstallExe();
            break;
        case kWindow_Finish:
            OnGuiThread([this] { SelectPage(kHomePage); });
            InstallExeFinish();
            break;
        default:
            break;
    }
}

void CSetupFrameWnd::SelectPage(int page) {
    if (pages_ != nullptr) {
        pages_->SelectItem(page, true);
    }
}

void CSetupFrameWnd::ShowFinishPage() {
    OnGuiThread([this] {
        ::KillTimer(GetHWND(), kBannerTimerId);
        ::KillTimer(GetHWND(), kProgressTimerId);
        SetControlVisible(L"btn_start", true);
        SetControlVisible(L"btn_install", false);
        for (const wchar_t* name : {L"lineLayout", L"customLayout"}) {
            if (CControlUI* line = FindControl(name)) {
                line->SetAttribute(L"visible", L"false");
            }
        }
        SetControlVisible(L"control_tip", false);
        if (taskbar_) {
            taskbar_->SetState(TBPF_NORMAL);
            taskbar_->SetValue(100, 100);
        }
        BringWindowBack();
    });
}

void CSetupFrameWnd::BringWindowBack() {
    if (!::IsWindowVisible(GetHWND()) || ::IsIconic(GetHWND())) {
        ::ShowWindow(GetHWND(), SW_SHOWNORMAL);
        ::SetForegroundWindow(GetHWND());
    }
}

void CSetupFrameWnd::CleanDownloadFiles() {
    ::CleanDownloadFiles(DownloadFilesIn(workFolder_));
}

bool CSetupFrameWnd::HandleClose(int code) {
    CloseRequest request;
    request.code = code;
    request.hasPages = pages_ != nullptr;
    const CControlUI* start = FindControl(L"btn_start");
    request.startButtonVisible = start != nullptr && start->IsVisible();
    request.questionOpen = closeQuestionOpen_;
    request.page = pages_ != nullptr ? pages_->GetCurSel() : kHomePage;

    const CloseDecision decision = DecideClose(request);
    if (decision.choice == CloseChoice::kIgnore) {
        return false;
    }
    if (decision.choice == CloseChoice::kAsk) {
        closeQuestionOpen_ = true;
        const int answer =
            ShowMessageNow(language_.GetText(decision.questionKey), kBoxCloseQuestion);
        closeQuestionOpen_ = false;
        // No, Escape (which the box reports as Cancel) or a box closed otherwise: stay.
        if (answer != IDYES) {
            return false;
        }
    }
    CleanDownloadFiles();
    return true;
}

int CSetupFrameWnd::ShowMessageNow(const std::wstring& text, MessageBoxKind kind) {
    const std::wstring caption = language_.GetText(L"STR_MESSAGEBOX_TITLE");
    return ::MessageBoxW(GetHWND(), text.c_str(), caption.c_str(),
                         MessageBoxType(kind, language_.IsRightToLeft()));
}

int CSetupFrameWnd::ShowMessage(const std::wstring& text, MessageBoxKind kind) {
    if (::GetCurrentThreadId() == guiThread_) {
        return ShowMessageNow(text, kind);
    }
    auto answer = std::make_shared<PendingAnswer>();
    auto drop = std::make_shared<AnswerOnDrop>(answer);
    if (!PostToGuiThread([this, text, kind, drop] { drop->Set(ShowMessageNow(text, kind)); })) {
        return 0;
    }
    drop.reset();
    return answer->Wait();
}
