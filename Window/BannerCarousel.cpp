#include "Window/BannerCarousel.h"

bool BannerCarousel::Tick(const ShowPicture& show) {
    if (show(next_)) {
        ++next_;
        return true;
    }
    next_ = kFirstPicture;
    return false;
}

std::wstring BannerPicturePath(const std::wstring& workFolder, const std::wstring& languageName,
                               int number) {
    return workFolder + L"language\\" + languageName + L"\\pr_" + std::to_wstring(number) + L".png";
}
