// Helpers for the drawing tests: canvases of known pixels, an in-memory skin package, and
// searches for the pixels a drawing left.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/render/DibSurface.h"
#include "ui/render/SkinImage.h"

// A canvas of |width| x |height| filled with the opaque colour |rgb| (0xRRGGBB).
void MakeCanvas(SkinUI::DibSurface& canvas, int width, int height, uint32_t rgb, DWORD layout = 0);

// The colour bytes of a pixel, without alpha.
inline uint32_t Rgb(uint32_t pixel) {
    return pixel & 0xFFFFFFu;
}

// Every channel within |tolerance| of |rgb|.
bool Near(uint32_t pixel, uint32_t rgb, int tolerance = 2);

// The smallest rectangle (device pixels) holding every pixel that |match| accepts; empty when
// there is none.
RECT FindPixels(const SkinUI::DibSurface& canvas, const std::function<bool(uint32_t)>& match);
int CountPixels(const SkinUI::DibSurface& canvas, const RECT& area,
                const std::function<bool(uint32_t)>& match);

// Skin package files held in memory.
class MemoryImageSource : public SkinUI::IImageSource {
  public:
    void Add(const std::wstring& name, const std::string& bytes) { files_[name] = bytes; }
    bool ReadImageFile(const std::wstring& name, std::vector<uint8_t>& bytes) override;
    int reads = 0;

  private:
    std::map<std::wstring, std::string> files_;
};
