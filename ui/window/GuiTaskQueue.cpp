#include "ui/window/GuiTaskQueue.h"

namespace SkinUI {

UINT CGuiTaskQueue::WakeMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"SkinUI.RunGuiTasks");
    return message;
}

bool CGuiTaskQueue::Post(std::function<void()> task) {
    if (!task) {
        return false;
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (window_ != nullptr) {
            tasks_.push_back(std::move(task));
            // One wake-up serves every task queued before it runs. If the post fails (a full
            // message queue) the next Post tries again.
            if (!wakePending_) {
                wakePending_ = ::PostMessageW(window_, WakeMessage(), 0, 0) != FALSE;
            }
            return true;
        }
    }
    return false;  // |task| is destroyed here, outside the lock
}

void CGuiTaskQueue::Attach(HWND window) {
    std::lock_guard<std::mutex> guard(lock_);
    window_ = window;
}

void CGuiTaskQueue::RunPending() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> guard(lock_);
        batch.swap(tasks_);
        wakePending_ = false;
    }
    while (!batch.empty()) {
        {
            // A task may have destroyed the window: the rest are dropped with it.
            std::lock_guard<std::mutex> guard(lock_);
            if (window_ == nullptr) {
                break;
            }
        }
        std::function<void()> task = std::move(batch.front());
        batch.pop_front();
        task();
    }
}

void CGuiTaskQueue::Detach() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> guard(lock_);
        window_ = nullptr;
        dropped.swap(tasks_);
        wakePending_ = false;
    }
}

}  // namespace SkinUI
