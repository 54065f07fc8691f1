// skin-preview: shows the setup program's skin as the toolkit draws it, without the setup
// flow. Arguments pick the skin file, the page, the fold-out panel and the progress value;
// the tests drive it with real input and read the notifications it reports.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "PreviewOptions.h"
#include "common/TextConvert.h"
#include "common/WinHandle.h"
#include "ui/controls/Button.h"
#include "ui/controls/Progress.h"
#include "ui/controls/TabLayout.h"
#include "ui/window/SkinWindowBase.h"

using namespace SkinUI;

namespace {

// The fold-out panel's height in the skin.
constexpr int kPanelHeight = 75;

class CPreviewWindow : public CSkinWindowBase {
  public:
    explicit CPreviewWindow(const PreviewOptions& options) : options_(options) {
        if (!options.eventsFile.empty()) {
            events_.reset(::_wfopen(options.eventsFile.c_str(), L"ab"));
        }
    }

    void Report(const std::wstring& line) {
        if (events_) {
            const std::string text = WideToUtf8(line) + "\n";
            std::fwrite(text.data(), 1, text.size(), events_.get());
            std::fflush(events_.get());
        }
    }

    void Notify(SkinNotify& msg) override {
        if (msg.type != SkinNotifyType::kTimer) {
            Report(L"notify " + msg.type + L" " +
                   (msg.sender != nullptr ? msg.sender->GetName() : std::wstring()) + L" " +
                   std::to_wstring(msg.wParam) + L" " + std::to_wstring(msg.lParam));
        }
        CSkinWindowBase::Notify(msg);
    }

  protected:
    LPCWSTR ClassName() const override { return L"SkinPreviewFrame"; }
    std::wstring SkinFolder() const override { return std::wstring(); }
    std::wstring SkinFile() override { return options_.skinFile; }
    SkinSource SkinSourceKind() const override { return SkinSource::kZipResource; }
    std::wstring SkinZipFileName() const override { return L"skin.zip"; }
    int SkinResourceId() const override { return 104; }

    void OnSkinLoaded() override {
        SetRightToLeftReading(options_.rtlReading);
        for (const auto& text : options_.texts) {
            if (CControlUI* control = FindControl(text.first)) {
                control->SetText(text.second);
            }
        }
        for (const std::wstring& name : options_.selected) {
            if (auto* option = dynamic_cast<COptionUI*>(FindControl(name))) {
                option->Selected(true);
            }
        }
        if (auto* pages = dynamic_cast<CTabLayoutUI*>(FindControl(L"switch"))) {
            pages->SelectItem(options_.page);
        }
        if (auto* bar = dynamic_cast<CProgressUI*>(FindControl(L"progress_download"));
            bar != nullptr && options_.progress >= 0) {
            // The right-to-left bar fills from the right: its fill shows what is left.
            const bool mirrored = options_.skinFile.find(L"_rtl") != std::wstring::npos;
            bar->SetValue(mirrored ? 100 - options_.progress : options_.progress);
        }
        CControlUI* panel = FindControl(L"bottomLayout");
        auto* fold = dynamic_cast<CCheckBoxUI*>(FindControl(L"chk_fold"));
        if (options_.fold && panel != nullptr && fold != nullptr) {
            fold->SetCheck(true, false);
            panel->SetVisible(true);
            RECT client = {};
            ::GetClientRect(GetHWND(), &client);
            ::SetWindowPos(GetHWND(), nullptr, 0, 0, client.right, client.bottom + kPanelHeight,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    LRESULT OnClose(WPARAM wParam, LPARAM, bool& handled) override {
        Report(L"close " + std::to_wstring(wParam));
        handled = false;  // the window goes
        return 0;
    }

  private:
    const PreviewOptions& options_;
    UniqueFile events_;
};

void PrintPaintTimes(CPreviewWindow& window, int runs) {
    ::UpdateWindow(window.GetHWND());
    const double first = window.LastPaintMicroseconds();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        times.push_back(window.MeasureFullPaint());
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "paint of one full frame (650x360 and more): first %.0f us; %d runs: min %.0f us, "
        "median %.0f us, max %.0f us\n",
        first, runs, times.front(), times[times.size() / 2], times.back());
    std::fflush(stdout);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const std::vector<std::wstring> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    ::LocalFree(argv);
    PreviewOptions options;
    std::wstring error;
    if (!ParsePreviewOptions(args, options, error)) {
        ::MessageBoxW(nullptr, (error + L"\n\n" + PreviewUsage()).c_str(), L"Skin preview",
                      MB_OK | MB_ICONERROR);
        return 2;
    }

    CWindowWnd::SetInstance(instance);
    CPreviewWindow window(options);
    // The setup program's own style: a visible pop-up with border, caption and system menu.
    if (window.Create(nullptr, L"Skin preview", 0x96C80000, 0) == nullptr) {
        return 1;
    }
    window.CenterWindow();
    if (options.paintRuns > 0) {
        window.PostToGuiThread([&] {
            PrintPaintTimes(window, options.paintRuns);
            window.Close(0);
        });
    }
    // Once the first paint is on screen, the tests may look and send input.
    window.PostToGuiThread([&] {
        ::UpdateWindow(window.GetHWND());
        window.Report(L"ready");
    });
    return static_cast<int>(window.ShowModal());
}
