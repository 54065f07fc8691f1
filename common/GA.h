// Usage analytics: the process-wide sender of the three GA4 Measurement Protocol reports, the
// machine's client identity in the registry, and the thread that sends one report. Reports
// are fire and forget: nothing is retried and a lost report changes nothing else.
#pragma once

#include <string>

class CGA {
  public:
    // The one instance, created on first use (which reads or makes the client identity) and
    // never destroyed. The first call comes from the GUI thread before any report is sent.
    static CGA* GetInstance();

    // Set once by the main window before the first report, read-only afterwards.
    void SetCollectUrl(const std::wstring& url) { collectUrl_ = url; }
    void SetEventCategory(const std::wstring& category) { eventCategory_ = category; }
    // The category of a product title: the title followed by " (Windows version)".
    static std::wstring EventCategoryFor(const std::wstring& gaTitle);
    // The collection URL of this build (config/profiles.cmake).
    static std::wstring BuildCollectUrl();

    // The identity kept under HKLM "SOFTWARE\WOW6432Node\Tandrel\TandrelDown" value "GUID":
    // an existing value of ASCII letters, digits and "-" is kept, anything else is replaced by
    // a new GUID text. Empty when the key can be neither created nor opened for full access.
    static std::wstring LoadClientId();

    bool SendStartInstall();         // "Downloader_Start_Install"
    bool SendDownloaderInstalled();  // "Downloader_Installed"
    bool SendInstalledSucceed();     // "Installed_Succeed"
    // Posts one report; true when a client was created and the request made, whatever its
    // outcome (the status only goes to the log).
    bool SendGACommon(const std::string& eventName);

    const std::string& GetClientId() const { return clientId_; }
    const std::wstring& GetCollectUrl() const { return collectUrl_; }
    const std::wstring& GetEventCategory() const { return eventCategory_; }

  private:
    CGA();

    std::wstring collectUrl_;
    std::wstring eventCategory_;
    std::string clientId_;  // UTF-8
};

// Event kinds of GAEventThreadProc: 1 "Downloader_Installed", 2 "Installed_Succeed", any
// other "Downloader_Start_Install".
enum GAEventKind {
    kGAEventStartInstall = 0,
    kGAEventDownloaderInstalled = 1,
    kGAEventInstalledSucceed = 2
};

struct GAEventTask {
    CGA* ga;
    int kind;
};

// Thread routine: sends the task's event, frees the task, returns 0.
unsigned long __stdcall GAEventThreadProc(void* task);
// Sends one event on a new detached thread and returns at once.
void StartGAEventThread(int kind);

// Wide text to UTF-8 the way the reports carry it: through the ANSI code page, so characters
// it cannot represent arrive as its default character.
std::string GAWideToUtf8(const std::wstring& text);
