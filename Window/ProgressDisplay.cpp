#include "Window/ProgressDisplay.h"

int DownloadProgressMeter::Update(int64_t downloaded, int64_t size) {
    if (size <= 0) {
        return 0;
    }
    std::lock_guard<std::mutex> guard(lock_);
    int64_t shown = downloaded < shown_ ? shown_ + kCreepBytes : downloaded;
    if (shown > size) {
        shown = size;
    }
    shown_ = shown;
    return static_cast<int>(static_cast<double>(shown) / static_cast<double>(size) * ratio_);
}

void DownloadProgressMeter::Reset() {
    std::lock_guard<std::mutex> guard(lock_);
    shown_ = 0;
}

int64_t DownloadProgressMeter::shown() const {
    std::lock_guard<std::mutex> guard(lock_);
    return shown_;
}

ProgressView MakeProgressView(int percent, bool rightToLeft) {
    ProgressView view;
    view.barValue = rightToLeft ? 100 - percent : percent;
    view.label = std::to_wstring(percent) + L" %";
    return view;
}
