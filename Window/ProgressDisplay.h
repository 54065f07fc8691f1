// The progress page's arithmetic: the download's share of the bar with its high-water mark, and
// the bar value and label for a percent. Pure and Windows-free; the window applies the results.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

// Share of the progress bar that the download fills; the installer's progress file the rest.
constexpr int kDownloadRatio = 90;

// Window timer that reads the installer's progress file.
constexpr unsigned kProgressTimerId = 12;

// Maps the downloader's byte counts onto 0..ratio percent. The count shown never moves back:
// while a retried range makes the reported count drop, it creeps on by 10 bytes per event
// until the real count overtakes it. Safe to call from any thread.
class DownloadProgressMeter {
  public:
    explicit DownloadProgressMeter(int ratio = kDownloadRatio) : ratio_(ratio) {}
    DownloadProgressMeter(const DownloadProgressMeter&) = delete;
    DownloadProgressMeter& operator=(const DownloadProgressMeter&) = delete;

    // The percent to show for |downloaded| of |size| bytes. An unknown size (0 or less) shows
    // 0 and leaves the mark as it is.
    int Update(int64_t downloaded, int64_t size);
    // Back to 0, for a new start from the home page (a retry keeps the mark).
    void Reset();
    int64_t shown() const;

  private:
    static constexpr int64_t kCreepBytes = 10;

    mutable std::mutex lock_;
    const int ratio_;
    int64_t shown_ = 0;
};

// What the bar and its label show for a percent. The right-to-left skin mirrors the bar, so
// its value counts from the other end; the label ("57 %") always reads the percent.
struct ProgressView {
    int barValue = 0;
    std::wstring label;
};
ProgressView MakeProgressView(int percent, bool rightToLeft);
