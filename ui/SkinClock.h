// The time stamp of notifications: the system tick count in milliseconds on Windows, a
// monotonic clock elsewhere (the native test build).
#pragma once

#include <cstdint>

namespace SkinUI {

uint32_t SkinTickCount();

}  // namespace SkinUI
