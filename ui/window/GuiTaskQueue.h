// Runs closures on a window's GUI thread on behalf of any thread: the closures wait in a
// locked queue, one registered private message wakes the window, which runs them in order.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace SkinUI {

// Shared between the window and every thread that posts to it, so a poster may outlive the
// window safely. Workers hold a std::shared_ptr<CGuiTaskQueue> (CWindowWnd::GuiTasks()) and
// call Post; nothing here ever waits for the GUI thread.
class CGuiTaskQueue {
  public:
    // Any thread. Queues |task| to run on the window's thread after the ones posted before it.
    // False when the window is gone (or not yet created): the task is then destroyed on the
    // calling thread without running.
    bool Post(std::function<void()> task);

    // The message that wakes the window; the same value in the whole process.
    static UINT WakeMessage();

    // Window side (GUI thread).
    void Attach(HWND window);
    // Runs every task queued so far; tasks posted meanwhile wait for their own wake-up. The
    // caller keeps a reference to the queue: a task may destroy the window and its owner.
    void RunPending();
    // Refuses further posts and destroys the tasks that never ran.
    void Detach();

  private:
    std::mutex lock_;
    HWND window_ = nullptr;
    bool wakePending_ = false;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace SkinUI
