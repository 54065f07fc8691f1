// The rotating banner of the progress page: which picture each tick of the banner timer shows
// and where the pictures lie. Windows-free; the window sets the picture on its banner control.
#pragma once

#include <functional>
#include <string>

// Window timer of the carousel and its period.
constexpr unsigned kBannerTimerId = 11;
constexpr unsigned kBannerPeriodMs = 5000;

class BannerCarousel {
  public:
    // Sets picture |number| on the banner; true when the picture exists and was set.
    using ShowPicture = std::function<bool(int number)>;

    static constexpr int kFirstPicture = 1;

    // Entering the download page shows the first picture at once; the tick count is kept, so a
    // second carousel continues where the first one stopped.
    static bool ShowFirst(const ShowPicture& show) { return show(kFirstPicture); }

    // One timer tick: shows the next picture and moves on. A missing picture ends the cycle:
    // the banner keeps its picture for this tick and the next tick starts at the first one.
    // True when a picture was set.
    bool Tick(const ShowPicture& show);

  private:
    int next_ = kFirstPicture;
};

// |workFolder| + "language\" + |languageName| + "\pr_<number>.png" (no zero padding).
std::wstring BannerPicturePath(const std::wstring& workFolder, const std::wstring& languageName,
                               int number);
