// Skin fonts: created from the system's default GUI font with the skin's face, size and
// styles, held by identifier, with the default font for identifiers that have none.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "ui/render/GdiHandles.h"

namespace SkinUI {

struct FontInfo {
    std::wstring face;  // an unknown face is left to the system's font mapping
    int size = 12;      // character height in pixels
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

// The system's default GUI font (a stock object: never deleted).
HFONT DefaultGuiFont();

// The default GUI font's attributes with |info| applied: face (at most 31 characters),
// DEFAULT_CHARSET, height -size, weight raised by 700 when bold, underline, italic.
UniqueFont CreateSkinFont(const FontInfo& info);

// A variant of |base| with the styles added (never removed); |face| and |size| replace the
// base's when given.
UniqueFont DeriveFont(HFONT base, bool bold, bool italic, bool underline,
                      const std::wstring& face = {}, int size = 0);

// The fonts of one window by identifier. GUI thread only.
class CFontTable {
  public:
    // Creates and stores the font; a negative identifier or an empty face adds nothing.
    // With |makeDefault| it also becomes the default font.
    bool Add(int id, const FontInfo& info, bool makeDefault = false);
    // The font of |id|, or the default font when there is none (-1 included).
    HFONT Get(int id) const;
    HFONT Default() const;
    void Clear();

  private:
    std::map<int, UniqueFont> fonts_;
    int defaultId_ = -1;
};

}  // namespace SkinUI
