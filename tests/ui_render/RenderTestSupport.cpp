#include "RenderTestSupport.h"

#include <algorithm>
#include <cstdlib>

void MakeCanvas(SkinUI::DibSurface& canvas, int width, int height, uint32_t rgb, DWORD layout) {
    canvas.Create(width, height, layout);
    canvas.Fill(0xFF000000u | rgb);
}

bool Near(uint32_t pixel, uint32_t rgb, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>((pixel >> shift) & 0xFF);
        const int b = static_cast<int>((rgb >> shift) & 0xFF);
        if (std::abs(a - b) > tolerance) {
            return false;
        }
    }
    return true;
}

RECT FindPixels(const SkinUI::DibSurface& canvas, const std::function<bool(uint32_t)>& match) {
    RECT found = {canvas.Width(), canvas.Height(), 0, 0};
    const uint32_t* pixels = canvas.Pixels();
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (match(pixels[y * canvas.Width() + x])) {
                found.left = std::min<LONG>(found.left, x);
                found.top = std::min<LONG>(found.top, y);
                found.right = std::max<LONG>(found.right, x + 1);
                found.bottom = std::max<LONG>(found.bottom, y + 1);
            }
        }
    }
    return found.right > found.left ? found : RECT{};
}

int CountPixels(const SkinUI::DibSurface& canvas, const RECT& area,
                const std::function<bool(uint32_t)>& match) {
    int count = 0;
    const uint32_t* pixels = canvas.Pixels();
    for (LONG y = std::max(area.top, 0L); y < std::min<LONG>(area.bottom, canvas.Height()); ++y) {
        for (LONG x = std::max(area.left, 0L); x < std::min<LONG>(area.right, canvas.Width());
             ++x) {
            count += match(pixels[y * canvas.Width() + x]) ? 1 : 0;
        }
    }
    return count;
}

bool MemoryImageSource::ReadImageFile(const std::wstring& name, std::vector<uint8_t>& bytes) {
    ++reads;
    auto it = files_.find(name);
    if (it == files_.end()) {
        return false;
    }
    bytes.assign(it->second.begin(), it->second.end());
    return true;
}
