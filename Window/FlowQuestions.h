// The setup window's questions as decisions: what a request to close leads to (close at once,
// ignore, or ask with which text) and the message-box types of the flow. Windows-free.
#pragma once

// Close code posted by the flow itself (Abort, Cancel on the running product, Start): the
// window closes without asking.
constexpr int kCloseWithoutQuestion = 1000;

// The window's page of its tab layout: the home page and the progress page.
constexpr int kHomePage = 0;
constexpr int kProgressPage = 1;

struct CloseRequest {
    int code = 0;
    bool hasPages = true;             // the skin has the tab layout
    bool startButtonVisible = false;  // the finish page is shown
    bool questionOpen = false;        // a close question is already on screen
    int page = kHomePage;             // current page of the tab layout
};

enum class CloseChoice {
    kClose,   // clean the downloaded files and close
    kIgnore,  // the window stays
    kAsk,     // ask the Yes/No question with |questionKey|; Yes cleans and closes
};

struct CloseDecision {
    CloseChoice choice = CloseChoice::kIgnore;
    const wchar_t* questionKey = nullptr;  // "STR_CLOSE_TIP1" or "STR_CLOSE_TIP2" when asking
};

CloseDecision DecideClose(const CloseRequest& request);

// Message-box types (MB_* bits) of the flow's boxes, before the right-to-left flags.
enum MessageBoxKind : unsigned {
    kBoxStorage = 0x0,          // MB_OK: not enough free space
    kBoxCloseQuestion = 0x24,   // MB_YESNO | MB_ICONQUESTION
    kBoxProductRunning = 0x31,  // MB_OKCANCEL | MB_ICONWARNING
    kBoxDownloadFailed = 0x32,  // MB_ABORTRETRYIGNORE | MB_ICONWARNING
    kBoxInstallFailed = 0x10,   // MB_OK | MB_ICONERROR
};

// MB_RIGHT | MB_RTLREADING | MB_SETFOREGROUND, added for a right-to-left language.
constexpr unsigned kBoxRightToLeftFlags = 0x190000;

unsigned MessageBoxType(MessageBoxKind kind, bool rightToLeft);
