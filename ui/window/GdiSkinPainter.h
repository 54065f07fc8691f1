// CGdiSkinPainter: how the controls' paint requests reach the drawing engine on one GDI device
// context (the window's back buffer): fills, images, text with fonts and markup, borders,
// rounded clips and the focus cue. Lives for one paint.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/SkinPainter.h"
#include "ui/render/GdiHandles.h"

namespace SkinUI {

class CSkinManagerUI;
class CSkinResources;

class CGdiSkinPainter : public ISkinPainter {
  public:
    // |paint| is the part of the DC being painted; nothing outside it is needed.
    CGdiSkinPainter(HDC dc, const RECT& paint, CSkinResources& resources,
                    const CSkinManagerUI& manager);
    ~CGdiSkinPainter();
    CGdiSkinPainter(const CGdiSkinPainter&) = delete;
    CGdiSkinPainter& operator=(const CGdiSkinPainter&) = delete;

    void FillColour(const IntRect& rect, uint32_t argb) override;
    bool DrawImage(const IntRect& rect, const std::wstring& descriptor) override;
    void DrawText(const IntRect& rect, const std::wstring& text, uint32_t colour, int fontId,
                  uint32_t style, bool markup, int hoverLink,
                  std::vector<SkinLinkArea>* links) override;
    void DrawBorder(const IntRect& rect, const IntRect& widths, uint32_t colour,
                    const SkinSize& round) override;
    void PushClip(const IntRect& rect, const SkinSize& round) override;
    void PopClip() override;
    void DrawFocusRect(const IntRect& rect) override;

  private:
    HDC dc_;
    RECT paint_;
    CSkinResources& resources_;
    const CSkinManagerUI& manager_;
    std::vector<std::unique_ptr<ScopedDcState>> clips_;
};

}  // namespace SkinUI
