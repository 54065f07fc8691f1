#!/usr/bin/python3
"""Draws the images of the skin package (res/skin/img) and the contact sheet
docs/skin-contact-sheet.png.

Every image is drawn at its final size with exact pixel geometry: shapes are rendered at
SS times the size and reduced with a box filter in premultiplied alpha, so that edges on the
pixel grid stay sharp and curves get true area-coverage anti-aliasing without blur. Text is
drawn at the final size. The look follows the language art (tools/gen_language_art.py): the
brand green #33C08D, the Orbitane mark (an orbit ring around a lens on a green tile) and
DejaVu Sans.

The contact sheet is drawn by tools/skin_contact_sheet.py.

Right to left: fold_rtl.png is fold.png mirrored. The right-to-left progress bar shows
100 - percent over a green background (the skin's bkcolor), so its fill image is the empty
part of the bar: the track colour of the left-to-right bar, on which progress grows from the
right.

Needs /usr/bin/python3 with Pillow and fonts-dejavu. Run by hand; the output is committed.
"""
import argparse
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFont

SS = 8  # supersampling factor; box reduction keeps grid-aligned edges exact

BRAND = (0x33, 0xC0, 0x8D)
BRAND_HOVER = (0x4A, 0xCC, 0x9C)
BRAND_PRESSED = (0x28, 0xA5, 0x78)
BRAND_TINT = (0xEA, 0xF8, 0xF2)
TRACK = (0xDA, 0xF3, 0xED)  # the skin's bkcolor of the left-to-right bar
INK = (0x1E, 0x2B, 0x37)
MUTED = (0x6B, 0x77, 0x82)
GLYPH = (0x7A, 0x85, 0x8F)
LINE = (0xC9, 0xD0, 0xD6)
CHECK_LINE = (0xA3, 0xAD, 0xB6)
DISABLED = (0xC4, 0xCB, 0xD1)
CLOSE_RED = (0xE5, 0x48, 0x4D)
HOVER_GREY = (0xE6, 0xEA, 0xED)
WHITE = (0xFF, 0xFF, 0xFF)

DEJAVU = "/usr/share/fonts/truetype/dejavu/"


def font(size, bold=False):
    return ImageFont.truetype(DEJAVU + ("DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"),
                              size)


def rgba(color, alpha=255):
    return tuple(color[:3]) + (alpha,)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


# ----------------------------------------------------------------------------------------------
# Drawing at SS times the size (coordinates are given at the final size)


class Art:
    def __init__(self, size):
        self.size = size
        self.image = Image.new("RGBA", (size[0] * SS, size[1] * SS), (0, 0, 0, 0))

    def _layer(self, paint):
        layer = Image.new("RGBA", self.image.size, (0, 0, 0, 0))
        paint(ImageDraw.Draw(layer))
        self.image = Image.alpha_composite(self.image, layer)

    @staticmethod
    def _box(box):
        # PIL boxes include their last pixel; [x0, x1) at the final size covers x0*SS..x1*SS-1.
        x0, y0, x1, y1 = box
        return (round(x0 * SS), round(y0 * SS), round(x1 * SS) - 1, round(y1 * SS) - 1)

    def rect(self, box, fill, radius=0):
        self._layer(lambda d: d.rounded_rectangle(self._box(box), radius=round(radius * SS),
                                                  fill=rgba(fill) if len(fill) == 3 else fill))

    def framed(self, box, radius, border, fill, width=1):
        """A rounded box with a border of |width| pixels inside its edge."""
        x0, y0, x1, y1 = box
        self.rect(box, border, radius)
        self.rect((x0 + width, y0 + width, x1 - width, y1 - width), fill, max(0, radius - width))

    def circle(self, cx, cy, r, fill):
        self._layer(lambda d: d.ellipse(self._box((cx - r, cy - r, cx + r, cy + r)),
                                        fill=rgba(fill)))

    def ring(self, cx, cy, r, width, color):
        self._layer(lambda d: d.ellipse(self._box((cx - r, cy - r, cx + r, cy + r)),
                                        outline=rgba(color), width=round(width * SS)))

    def stroke(self, points, color, width):
        """A polyline with round caps and joins."""
        def paint(d):
            pts = [(x * SS, y * SS) for x, y in points]
            w = width * SS
            d.line(pts, fill=rgba(color), width=round(w), joint="curve")
            for x, y in pts:
                d.ellipse((x - w / 2, y - w / 2, x + w / 2, y + w / 2), fill=rgba(color))
        self._layer(paint)

    def final(self):
        """Box reduction in premultiplied alpha: no dark fringes at transparent edges."""
        return self.image.convert("RGBa").reduce(SS).convert("RGBA")


def vertical_gradient(size, top, bottom):
    column = Image.new("RGBA", (1, size[1]))
    for y in range(size[1]):
        column.putpixel((0, y), rgba(mix(top, bottom, y / max(1, size[1] - 1))))
    return column.resize(size, Image.NEAREST)


def clip(image, mask_art):
    """Keeps |image| only where |mask_art| (an Art of the same size) is opaque."""
    alpha = mask_art.final().getchannel("A")
    out = image.copy()
    out.putalpha(alpha)
    return out


def text(image, xy, string, fnt, color, anchor="ls", spacing=0.0):
    """Text at the final size through an alpha mask, so that transparent images get clean
    edges; |spacing| adds tracking between letters."""
    mask = Image.new("L", image.size, 0)
    draw = ImageDraw.Draw(mask)
    if spacing:
        x, y = xy
        for ch in string:
            draw.text((x, y), ch, font=fnt, fill=255, anchor=anchor)
            x += fnt.getlength(ch) + spacing
    else:
        draw.text(xy, string, font=fnt, fill=255, anchor=anchor)
    layer = Image.new("RGBA", image.size, rgba(color))
    layer.putalpha(mask)
    return Image.alpha_composite(image, layer)


def tracked_length(string, fnt, spacing):
    return sum(fnt.getlength(ch) for ch in string) + spacing * (len(string) - 1)


# ----------------------------------------------------------------------------------------------
# Buttons


def action_button(state):
    """168 x 46, the Install and Start button; the toolkit draws the white label."""
    size = (168, 46)
    radius = 6
    face = {"normal": BRAND, "hover": BRAND_HOVER, "pressing": BRAND_PRESSED,
            "disable": DISABLED}[state]
    shape = Art(size)
    shape.rect((0, 0) + size, WHITE, radius)
    if state == "disable":
        return clip(Image.new("RGBA", size, rgba(face)), shape)
    # A faint top-to-bottom shade keeps the flat face from looking dull.
    body = vertical_gradient(size, mix(face, WHITE, 0.07), mix(face, (0, 0, 0), 0.04))
    if state == "pressing":
        # Pressed in: a soft shadow along the top edge instead of the light.
        shade = vertical_gradient((size[0], 4), mix(face, (0, 0, 0), 0.18), face)
        body.paste(shade, (0, 0))
    else:
        # A lighter line along the top edge: the shape less itself moved down by a pixel.
        lower = Art(size)
        lower.rect((0, 1, size[0], size[1] + 1), WHITE, radius)
        edge = ImageChops.subtract(shape.final().getchannel("A"), lower.final().getchannel("A"))
        light = Image.new("RGBA", size, rgba(mix(face, WHITE, 0.3)))
        light.putalpha(edge)
        body = Image.alpha_composite(body, light)
    return clip(body, shape)


def secondary_button(hot):
    """90 x 32, Browse and Hide: outlined; hot turns the outline and a light tint green."""
    size = (90, 32)
    art = Art(size)
    if hot:
        art.framed((0, 0) + size, 4, BRAND, BRAND_TINT)
    else:
        art.framed((0, 0) + size, 4, LINE, WHITE)
    return art.final()


def window_button(kind, hot):
    """20 x 20 title-row buttons: minimise (a dash) and close (a cross)."""
    size = (20, 20)
    art = Art(size)
    glyph = GLYPH
    if hot:
        art.rect((0, 0) + size, CLOSE_RED if kind == "close" else HOVER_GREY, 4)
        glyph = WHITE if kind == "close" else INK
    # Glyphs of eight pixels with one-pixel strokes; the dash sits on one pixel row.
    if kind == "close":
        art.stroke([(6.6, 6.6), (13.4, 13.4)], glyph, 1.3)
        art.stroke([(13.4, 6.6), (6.6, 13.4)], glyph, 1.3)
    else:
        art.rect((6, 10, 14, 11), glyph)
    return art.final()


# ----------------------------------------------------------------------------------------------
# Check marks and fold arrows (14 x 14)


def check_box(checked):
    size = (14, 14)
    art = Art(size)
    if checked:
        art.rect((0, 0) + size, BRAND, 3)
        art.stroke([(3.6, 7.2), (6.0, 9.6), (10.4, 4.8)], WHITE, 1.7)
    else:
        art.framed((0, 0) + size, 3, CHECK_LINE, WHITE)
    return art.final()


def fold_arrow(direction):
    """A chevron in a tinted disc: right (folded), left (folded, right to left), down (open)."""
    size = (14, 14)
    art = Art(size)
    art.circle(7, 7, 7, BRAND_TINT)
    chevrons = {
        "right": [(5.9, 4.2), (8.7, 7.0), (5.9, 9.8)],
        "down": [(4.2, 5.9), (7.0, 8.7), (9.8, 5.9)],
    }
    art.stroke(chevrons[direction], BRAND_PRESSED, 1.6)
    return art.final()


# ----------------------------------------------------------------------------------------------
# Logos


def logo_mark(art, x, y, size):
    """The Orbitane mark, as on the banners."""
    art.rect((x, y, x + size, y + size), BRAND, size * 0.28)
    cx, cy = x + size / 2, y + size / 2
    art.ring(cx, cy, size * 0.3, size * 0.09, WHITE)
    art.circle(cx, cy, size * 0.11, WHITE)
    art.circle(cx + size * 0.25, cy - size * 0.2, size * 0.07, WHITE)


def product_logo():
    """235 x 52: the mark, the brand in spaced capitals and the product name."""
    size = (235, 52)
    art = Art(size)
    logo_mark(art, 0, 2, 48)
    image = art.final()
    brand = font(11, True)
    name = font(31, True)
    x = 60
    image = text(image, (x + 1, 14), "ORBITANE", brand, BRAND_PRESSED, spacing=2.2)
    image = text(image, (x, 47), "Repavio", name, INK)
    return image


def title_logo():
    """108 x 32: the small mark with brand and product on two lines."""
    size = (108, 32)
    art = Art(size)
    logo_mark(art, 0, 3, 26)
    image = art.final()
    x = 33
    image = text(image, (x, 13), "Orbitane", font(10), MUTED)
    image = text(image, (x, 28), "Repavio", font(14, True), INK)
    return image


# ----------------------------------------------------------------------------------------------
# Progress fill (254 x 99, stretched into the 6-pixel bar)


def progress_fill():
    size = (254, 99)
    start, end = mix(BRAND, WHITE, 0.25), BRAND
    row = Image.new("RGBA", (size[0], 1))
    for x in range(size[0]):
        row.putpixel((x, 0), rgba(mix(start, end, x / (size[0] - 1))))
    return row.resize(size, Image.NEAREST)


def progress_track_rtl():
    return Image.new("RGBA", (254, 99), rgba(TRACK))


# ----------------------------------------------------------------------------------------------
# The package


def skin_images():
    """File name -> image, in the package's order."""
    images = {
        "browse-df.png": secondary_button(False),
        "browse-ho.png": secondary_button(True),
    }
    for state in ("disable", "hover", "normal", "pressing"):
        images[f"button_{state}.png"] = action_button(state)
    images["checked.png"] = check_box(True)
    images["unchecked.png"] = check_box(False)
    images["close-df.png"] = window_button("close", False)
    images["close-ho.png"] = window_button("close", True)
    images["fold.png"] = fold_arrow("right")
    images["fold_rtl.png"] = images["fold.png"].transpose(Image.FLIP_LEFT_RIGHT)
    images["unfold.png"] = fold_arrow("down")
    images["hide-df.png"] = secondary_button(False)
    images["hide-ho.png"] = secondary_button(True)
    images["left_log.png"] = title_logo()
    images["logo.png"] = product_logo()
    images["minzoom-df.png"] = window_button("minimize", False)
    images["minzoom-ho.png"] = window_button("minimize", True)
    images["progress.png"] = progress_fill()
    images["progress_rtl.png"] = progress_track_rtl()
    return images


SIZES = {
    "browse-df.png": (90, 32), "browse-ho.png": (90, 32),
    "button_disable.png": (168, 46), "button_hover.png": (168, 46),
    "button_normal.png": (168, 46), "button_pressing.png": (168, 46),
    "checked.png": (14, 14), "unchecked.png": (14, 14),
    "close-df.png": (20, 20), "close-ho.png": (20, 20),
    "fold.png": (14, 14), "fold_rtl.png": (14, 14), "unfold.png": (14, 14),
    "hide-df.png": (90, 32), "hide-ho.png": (90, 32),
    "left_log.png": (108, 32), "logo.png": (235, 52),
    "minzoom-df.png": (20, 20), "minzoom-ho.png": (20, 20),
    "progress.png": (254, 99), "progress_rtl.png": (254, 99),
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", default=os.path.join(here, "..", "res", "skin", "img"))
    parser.add_argument("--sheet", default=os.path.join(here, "..", "docs",
                                                        "skin-contact-sheet.png"))
    args = parser.parse_args()

    images = skin_images()
    if {n: i.size for n, i in images.items()} != SIZES:
        raise SystemExit("image sizes differ from the package table")
    os.makedirs(args.out, exist_ok=True)
    total = 0
    for name, image in images.items():
        path = os.path.join(args.out, name)
        image.save(path, "PNG", optimize=True)
        total += os.path.getsize(path)
    if args.sheet:
        import skin_contact_sheet  # noqa: E402 (it takes the palette from this module)
        os.makedirs(os.path.dirname(args.sheet), exist_ok=True)
        skin_contact_sheet.contact_sheet(images, args.sheet)
    print(f"{len(images)} images, {total} bytes")
    return 0


if __name__ == "__main__":
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    sys.exit(main())
