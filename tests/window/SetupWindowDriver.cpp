// setup-window-driver: the real setup window (same code, same resources) for the window tests,
// run by RunSetupWindow and driven from outside. A worker thread reads commands that the test
// appends to a file and calls the window's thread-safe methods, as the install flow's workers
// do; reports of the window's state are written to an events file.
//
//   setup-window-driver --commands FILE --events FILE
//   commands: progress N | download DONE SIZE | state N | tip TEXT | ask TEXT | progress-timer |
//             report | dialogs
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "common/GA.h"
#include "common/TextConvert.h"
#include "common/WinHandle.h"
#include "ui/controls/Button.h"
#include "ui/controls/Progress.h"
#include "ui/controls/TabLayout.h"
#include "Window/SetupApp.h"
#include "Window/SetupFrameWnd.h"

using namespace SkinUI;

namespace {

class EventLog {
  public:
    explicit EventLog(const std::wstring& path) : file_(::_wfopen(path.c_str(), L"ab")) {}
    void Write(const std::wstring& line) {
        std::lock_guard<std::mutex> guard(lock_);
        if (file_) {
            const std::string text = WideToUtf8(line) + "\n";
            std::fwrite(text.data(), 1, text.size(), file_.get());
            std::fflush(file_.get());
        }
    }

  private:
    std::mutex lock_;
    UniqueFile file_;
};

std::wstring Field(const wchar_t* key, const std::wstring& value) {
    return std::wstring(L"\t") + key + L"=" + value;
}

std::wstring Field(const wchar_t* key, long long value) {
    return Field(key, std::to_wstring(value));
}

// GUI thread: what a person sees, control by control.
std::wstring Report(CSetupFrameWnd& window) {
    auto find = [&](const wchar_t* name) { return window.FindControl(name); };
    auto visible = [&](const wchar_t* name) {
        return find(name) != nullptr && find(name)->IsVisible();
    };
    std::wstring line = L"report" + Field(L"state", window.WindowState());
    const auto* pages = dynamic_cast<CTabLayoutUI*>(find(L"switch"));
    line += Field(L"page", pages != nullptr ? pages->GetCurSel() : -1);
    const auto* bar = dynamic_cast<CProgressUI*>(find(L"progress_download"));
    line += Field(L"bar", bar != nullptr ? bar->GetValue() : -1);
    line += Field(L"label", find(L"label_progress")->GetText());
    line += Field(L"banner", find(L"banner")->GetBkImage());
    RECT client = {};
    ::GetClientRect(window.GetHWND(), &client);
    line += Field(L"width", client.right) + Field(L"height", client.bottom);
    line += Field(L"fold", dynamic_cast<CCheckBoxUI*>(find(L"chk_fold"))->GetCheck());
    line += Field(L"panel", visible(L"bottomLayout"));
    line += Field(L"agree", dynamic_cast<CCheckBoxUI*>(find(L"chk_agree"))->GetCheck());
    line += Field(L"install", find(L"btn_install")->IsEnabled() && visible(L"btn_install"));
    line += Field(L"start", visible(L"btn_start"));
    line += Field(L"path", find(L"edit_path")->GetText());
    line += Field(L"tip", visible(L"label_tip") ? find(L"label_tip")->GetText() : L"");
    const CControlUI* focus = window.GetManager().GetFocus();
    line += Field(L"focus", focus != nullptr ? focus->GetName() : L"");
    line += Field(L"rtl", window.GetManager().IsRightToLeftReading());
    line += Field(L"minimized", ::IsIconic(window.GetHWND()) != FALSE);
    line += Field(L"analytics", CGA::GetInstance()->GetEventCategory() + L" " +
                                    CGA::GetInstance()->GetCollectUrl());
    return line;
}

struct DialogSearch {
    HWND main;
    EventLog* events;
    int count;
};

BOOL CALLBACK ReportDialog(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<DialogSearch*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (window == search.main || process != ::GetCurrentProcessId() || !::IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t title[256] = {};
    ::GetWindowTextW(window, title, 256);
    std::wstring texts;
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[512] = {};
        ::GetWindowTextW(child, text, 512);
        if (text[0] != 0) {
            texts += std::wstring(texts.empty() ? L"" : L"|") + text;
        }
    }
    // One line per dialog: line breaks inside a text are written as "\n".
    for (size_t at = texts.find_first_of(L"\r\n"); at != std::wstring::npos;
         at = texts.find_first_of(L"\r\n", at)) {
        texts.replace(at, 1, texts[at] == L'\n' ? L"\\n" : L"");
    }
    // Mirrored boxes (right-to-left layout) show in the extended style.
    const bool mirrored = (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    search.events->Write(std::wstring(L"dialog\t") + title + L"\t" + texts + L"\t" +
                         (mirrored ? L"rtl" : L"ltr"));
    ++search.count;
    return TRUE;
}

// Any thread: the program's other visible windows (message boxes, dialogs) with their texts.
void ReportDialogs(HWND mainWindow, EventLog& events) {
    DialogSearch search{mainWindow, &events, 0};
    ::EnumWindows(&ReportDialog, reinterpret_cast<LPARAM>(&search));
    events.Write(L"dialogs\t" + std::to_wstring(search.count));
}

void RunCommand(CSetupFrameWnd& window, EventLog& events, const std::wstring& line) {
    std::wistringstream in(line);
    std::wstring command;
    in >> command;
    std::wstring rest;
    std::getline(in >> std::ws, rest);
    if (command == L"progress") {
        window.SetProgress(std::stoi(rest));
    } else if (command == L"download") {
        long long done = 0, size = 0;
        std::wistringstream(rest) >> done >> size;
        window.ShowDownloadProgress(done, size);
    } else if (command == L"state") {
        window.UpdateWindowSate(std::stoi(rest));
    } else if (command == L"progress-timer") {
        window.StartProgressTimer();
    } else if (command == L"tip") {
        window.ShowTip(rest);
    } else if (command == L"ask") {
        // A worker of its own waits for the answer; commands go on meanwhile.
        std::thread([&window, &events, rest] {
            const int answer = window.ShowMessage(rest, kBoxCloseQuestion);
            events.Write(L"answer\t" + std::to_wstring(answer));
        }).detach();
    } else if (command == L"report") {
        window.PostToGuiThread([&window, &events] { events.Write(Report(window)); });
    } else if (command == L"dialogs") {
        ReportDialogs(window.GetHWND(), events);
    }
    events.Write(L"done\t" + line);
}

// Polls the commands file for complete new lines until the process ends.
void ReadCommands(CSetupFrameWnd& window, EventLog& events, std::wstring path) {
    size_t consumed = 0;
    for (;;) {
        std::ifstream file(path.c_str(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        size_t end;
        while ((end = text.find('\n', consumed)) != std::string::npos) {
            const std::string line = text.substr(consumed, end - consumed);
            consumed = end + 1;
            RunCommand(window, events, Utf8ToWide(line));
        }
        ::Sleep(30);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::wstring commands, eventsPath;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring key = argv[i];
        (key == L"--commands" ? commands : eventsPath) = argv[i + 1];
    }
    ::LocalFree(argv);
    static EventLog events(eventsPath);
    return RunSetupWindow(instance, [&](CSetupFrameWnd& window) {
        std::thread(ReadCommands, std::ref(window), std::ref(events), commands).detach();
        window.PostToGuiThread([] { events.Write(L"ready"); });
    });
}
