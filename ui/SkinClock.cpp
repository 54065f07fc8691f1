#include "ui/SkinClock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#endif

namespace SkinUI {

uint32_t SkinTickCount() {
#ifdef _WIN32
    return ::GetTickCount();
#else
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
#endif
}

}  // namespace SkinUI
