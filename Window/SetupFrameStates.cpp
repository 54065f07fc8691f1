// CSetupFrameWnd's window states and what each shows, the finish page, the close question and
// the window's message boxes, which workers may ask and wait for.
#include <future>
#include <memory>

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
    // The posted task holds the only promise. When the window goes before the task runs, the
    // task is dropped unrun and the broken promise answers 0, so the worker never waits for a
    // box that can no longer appear.
    auto promise = std::make_shared<std::promise<int>>();
    std::future<int> answer = promise->get_future();
    if (!PostToGuiThread(
            [this, text, kind, promise] { promise->set_value(ShowMessageNow(text, kind)); })) {
        return 0;
    }
    promise.reset();
    try {
        return answer.get();
    } catch (const std::future_error&) {
        return 0;
    }
}
