// The progress indicator on the window's taskbar button (ITaskbarList3).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shobjidl.h>

class TaskbarProgress {
  public:
    TaskbarProgress();
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    // Binds the indicator to |window| and sets the indeterminate state.
    void Attach(HWND window);
    // TBPF_NOPROGRESS (0), TBPF_INDETERMINATE (1), TBPF_NORMAL (2), TBPF_PAUSED (8).
    bool SetState(TBPFLAG state);
    bool SetValue(ULONGLONG done, ULONGLONG total);
    bool HasTaskbar() const { return taskbar_ != nullptr; }

  private:
    void CreateTaskbar(DWORD context);

    HIMAGELIST images_ = nullptr;
    ITaskbarList3* taskbar_ = nullptr;
    HWND window_ = nullptr;
    bool comInitialized_ = false;
};
