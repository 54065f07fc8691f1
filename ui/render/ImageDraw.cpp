#include "ui/render/ImageDraw.h"

#include "ui/render/ColorDraw.h"
#include "ui/render/GdiHandles.h"
#include "ui/render/ImageGeometry.h"

namespace SkinUI {
namespace {

// Blits pieces of one image from a memory DC that holds it.
class ImageBlitter {
  public:
    ImageBlitter(HDC dc, const SkinImage& image, int fade)
        : dc_(dc),
          source_(::CreateCompatibleDC(dc)),
          select_(source_.get(), image.bitmap.get()),
          blend_(image.hasAlpha || fade < 255),
          function_{AC_SRC_OVER, 0, static_cast<BYTE>(fade),
                    static_cast<BYTE>(image.hasAlpha ? AC_SRC_ALPHA : 0)},
          oldStretchMode_(::SetStretchBltMode(dc, COLORONCOLOR)) {}
    ~ImageBlitter() { ::SetStretchBltMode(dc_, oldStretchMode_); }
    ImageBlitter(const ImageBlitter&) = delete;
    ImageBlitter& operator=(const ImageBlitter&) = delete;

    void Blit(const ImagePiece& p) const {
        const IntRect& d = p.dest;
        const IntRect& s = p.source;
        if (blend_) {
            ::AlphaBlend(dc_, d.left, d.top, d.Width(), d.Height(), source_.get(), s.left, s.top,
                         s.Width(), s.Height(), function_);
        } else if (d.Width() == s.Width() && d.Height() == s.Height()) {
            ::BitBlt(dc_, d.left, d.top, d.Width(), d.Height(), source_.get(), s.left, s.top,
                     SRCCOPY);
        } else {
            ::StretchBlt(dc_, d.left, d.top, d.Width(), d.Height(), source_.get(), s.left, s.top,
                         s.Width(), s.Height(), SRCCOPY);
        }
    }

  private:
    HDC dc_;
    UniqueMemoryDc source_;
    ScopedSelect select_;
    bool blend_;
    BLENDFUNCTION function_;
    int oldStretchMode_;
};

}  // namespace

bool DrawImage(HDC dc, CImageCache& images, const RECT& control, const ImageDescriptor& d,
               const RECT* paint) {
    const IntRect dest = ResolveDestRect(ToIntRect(control), d);
    if (d.hasColor) {
        const IntRect visible = paint != nullptr ? Intersect(dest, ToIntRect(*paint)) : dest;
        FillColor(dc, ToRect(visible), d.color);
        return true;
    }
    const SkinImage* image = images.Get(d);
    if (image == nullptr) {
        return false;
    }
    if (d.fade <= 0 || dest.IsEmpty() ||
        (paint != nullptr && Intersect(dest, ToIntRect(*paint)).IsEmpty())) {
        return true;
    }
    const IntRect source = ResolveSourceRect(d, image->width, image->height);
    const ImageBlitter blitter(dc, *image, d.fade);
    for (const ImagePiece& piece : NineGridPieces(dest, source, d.corner, d.hole)) {
        for (const ImagePiece& tile : TilePiece(piece, d.xtiled, d.ytiled)) {
            blitter.Blit(tile);
        }
    }
    return true;
}

bool DrawImage(HDC dc, CImageCache& images, const RECT& control, std::wstring_view descriptor,
               const RECT* paint) {
    return DrawImage(dc, images, control, ParseImageDescriptor(descriptor), paint);
}

}  // namespace SkinUI
