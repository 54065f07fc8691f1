#!/usr/bin/python3
"""Draws the images of the language package for every language.

  <Language>/install_tips.png   520 x 36, the tip under the install-path row (transparent)
  <Language>/pr_1..3.png        650 x 290, the banners shown while the product installs

The texts come from tools/language_data.py. Shapes are drawn at twice the size and scaled
down; text is drawn at the final size so that it stays crisp. Arabic is shaped and laid out
right to left (libraqm), and its banners are mirrored. Images are stored as palette PNGs to keep
the package small. --sheet also writes a contact sheet of all images.

Needs /usr/bin/python3 with Pillow built with libraqm, fonts-dejavu and fonts-wqy-microhei.
"""
import argparse
import io
import os
import sys

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import language_data  # noqa: E402

BANNER_SIZE = (650, 290)
TIP_SIZE = (520, 36)
SS = 2  # supersampling factor for shapes
# Left edge of the illustrations (about 262 pixels wide), beside the text column.
ART_LEFT = 372
ART_LEFT_RTL = 650 - ART_LEFT - 262 + 8

BRAND = (0x33, 0xC0, 0x8D)
WHITE = (255, 255, 255)

DEJAVU = "/usr/share/fonts/truetype/dejavu/"
WQY = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
CJK_LANGUAGES = {"Chinese", "ChineseTW", "Japanese", "Korean"}
RTL_LANGUAGES = {"Arabic"}
# Characters that must not start a line in CJK text.
NO_LINE_START = set("、。，．：；！？）」』】〉》”’…・ー～,.:;!?)]")

# Per banner: gradient top and bottom, accent, a second accent.
PALETTES = [
    ((0x0C, 0x33, 0x3C), (0x13, 0x5E, 0x57), BRAND, (0xA8, 0xF0, 0xD2)),
    ((0x17, 0x23, 0x45), (0x1E, 0x52, 0x74), BRAND, (0xFF, 0xC8, 0x57)),
    ((0x35, 0x1D, 0x4D), (0x7A, 0x36, 0x66), (0xFF, 0x8A, 0x65), BRAND),
]


# ----------------------------------------------------------------------------------------------
# Fonts and text


class Typeface:
    def __init__(self, language):
        self.language = language
        self.rtl = language in RTL_LANGUAGES
        self.cjk = language in CJK_LANGUAGES
        self.direction = "rtl" if self.rtl else "ltr"

    def font(self, size, bold):
        engine = ImageFont.Layout.RAQM
        if self.cjk:
            return ImageFont.truetype(WQY, size, index=0, layout_engine=engine)
        name = "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"
        return ImageFont.truetype(DEJAVU + name, size, layout_engine=engine)

    # WenQuanYi has no bold face: a thin stroke in the text colour stands in for it.
    def stroke(self, bold):
        return 1 if (bold and self.cjk) else 0

    def length(self, text, font, bold=False):
        return font.getlength(text, direction=self.direction) + 2 * self.stroke(bold)

    def wrap(self, text, font, width, bold=False):
        """Greedy line breaking: at blanks, between any two CJK characters, and at "\n"."""
        if "\n" in text:
            return [line for part in text.split("\n")
                    for line in self.wrap(part, font, width, bold)]
        if self.cjk and self.language != "Korean":
            units = []
            for ch in text:
                if units and (ch in NO_LINE_START or ch == " " or
                              (ch.isascii() and ch.isalnum() and units[-1][-1:].isascii()
                               and units[-1][-1:].isalnum())):
                    units[-1] += ch
                else:
                    units.append(ch)
            joiner = ""
        else:
            units = text.split(" ")
            joiner = " "
        lines, current = [], ""
        for unit in units:
            candidate = unit if not current else current + joiner + unit
            if current and self.length(candidate.strip(), font, bold) > width:
                lines.append(current.strip())
                current = unit
            else:
                current = candidate
        if current.strip():
            lines.append(current.strip())
        return lines

    def fit(self, text, width, sizes, max_lines, bold):
        """The largest size whose wrapped text has at most max_lines lines."""
        for size in sizes:
            font = self.font(size, bold)
            lines = self.wrap(text, font, width, bold)
            if len(lines) <= max_lines and all(self.length(l, font, bold) <= width
                                               for l in lines):
                return font, lines
        raise SystemExit(f"{self.language}: text does not fit: {text}")

    def draw_lines(self, draw, lines, font, x, y, width, line_height, fill, bold=False):
        """Draws lines starting at the top y; left-aligned at x, right-aligned for RTL."""
        stroke = self.stroke(bold)
        for i, line in enumerate(lines):
            ty = y + i * line_height
            if self.rtl:
                draw.text((x + width, ty), line, font=font, fill=fill, anchor="ra",
                          direction="rtl", stroke_width=stroke, stroke_fill=fill)
            else:
                draw.text((x, ty), line, font=font, fill=fill, anchor="la",
                          stroke_width=stroke, stroke_fill=fill)


# ----------------------------------------------------------------------------------------------
# Shapes (all coordinates at the final size; the canvas helpers scale them)


class Canvas:
    """An RGBA layer drawn at SS times the final size."""

    def __init__(self, size):
        self.size = size
        self.image = Image.new("RGBA", (size[0] * SS, size[1] * SS), (0, 0, 0, 0))

    @staticmethod
    def _s(values):
        return [round(v * SS) for v in values]

    def layer(self):
        return Canvas(self.size)

    def merge(self, other):
        self.image = Image.alpha_composite(self.image, other.image)

    def draw(self):
        """A drawing on a fresh layer that is blended in afterwards (ImageDraw itself would
        overwrite the pixels below a translucent shape instead of blending with them)."""
        return _BlendedDraw(self)

    def rect(self, box, fill, radius=0, outline=None, width=0):
        self.draw().rounded_rectangle(self._s(box), radius=radius * SS, fill=fill,
                                      outline=outline, width=round(width * SS))

    def ellipse(self, box, fill=None, outline=None, width=0):
        self.draw().ellipse(self._s(box), fill=fill, outline=outline, width=round(width * SS))

    def circle(self, cx, cy, r, fill=None, outline=None, width=0):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), fill, outline, width)

    def polygon(self, points, fill):
        self.draw().polygon([(x * SS, y * SS) for x, y in points], fill=fill)

    def line(self, points, fill, width):
        self.draw().line([(x * SS, y * SS) for x, y in points], fill=fill,
                         width=round(width * SS), joint="curve")

    def arc(self, box, start, end, fill, width):
        self.draw().arc(self._s(box), start, end, fill=fill, width=round(width * SS))

    def final(self):
        return self.image.resize(self.size, Image.LANCZOS)


class _BlendedDraw:
    def __init__(self, canvas):
        self.canvas = canvas

    def __getattr__(self, name):
        def call(*args, **kwargs):
            layer = Image.new("RGBA", self.canvas.image.size, (0, 0, 0, 0))
            getattr(ImageDraw.Draw(layer), name)(*args, **kwargs)
            self.canvas.image = Image.alpha_composite(self.canvas.image, layer)
        return call


def rgba(color, alpha=255):
    return tuple(color[:3]) + (alpha,)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def gradient(size, top, bottom):
    """A vertical gradient: every row is one colour, which keeps the PNG small."""
    column = Image.new("RGB", (1, size[1]))
    for y in range(size[1]):
        column.putpixel((0, y), mix(top, bottom, y / (size[1] - 1)))
    return column.resize(size, Image.NEAREST)


def photo(c, box, scene, radius=6, frame=WHITE):
    """A photo print: white frame, sky, sun, two hills and a lake."""
    x0, y0, x1, y1 = box
    sky_top, sky_bottom, sun, hill_far, hill_near = scene
    c.rect((x0 + 3, y0 + 5, x1 + 3, y1 + 5), rgba((0, 0, 0), 60), radius)  # shadow
    c.rect(box, rgba(frame), radius)
    ix0, iy0, ix1, iy1 = x0 + 5, y0 + 5, x1 - 5, y1 - 5
    w, h = ix1 - ix0, iy1 - iy0
    inner = c.layer()
    bands = 10
    for i in range(bands):
        inner.rect((ix0, iy0 + h * i / bands, ix1, iy0 + h * (i + 1) / bands + 1),
                   rgba(mix(sky_top, sky_bottom, i / (bands - 1))))
    inner.circle(ix0 + w * 0.72, iy0 + h * 0.3, h * 0.12, rgba(sun))
    inner.polygon([(ix0, iy1), (ix0, iy0 + h * 0.62), (ix0 + w * 0.3, iy0 + h * 0.38),
                   (ix0 + w * 0.62, iy0 + h * 0.7), (ix0 + w * 0.62, iy1)], rgba(hill_far))
    inner.polygon([(ix0 + w * 0.25, iy1), (ix0 + w * 0.62, iy0 + h * 0.5),
                   (ix1, iy0 + h * 0.78), (ix1, iy1)], rgba(hill_near))
    # Keep the scene inside the rounded print.
    mask = Image.new("L", inner.image.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(Canvas._s((ix0, iy0, ix1, iy1)),
                                           radius=max(1, radius - 3) * SS, fill=255)
    clipped = Image.new("RGBA", inner.image.size, (0, 0, 0, 0))
    clipped.paste(inner.image, (0, 0), mask)
    c.image = Image.alpha_composite(c.image, clipped)


SCENES = [
    ((0x8E, 0xD1, 0xF5), (0xD9, 0xF1, 0xFF), (0xFF, 0xD5, 0x6A), (0x5C, 0xA7, 0x8C),
     (0x2F, 0x7D, 0x63)),
    ((0xFF, 0xB3, 0x8A), (0xFF, 0xE2, 0xB8), (0xFF, 0xF4, 0xD6), (0xB0, 0x6A, 0x8C),
     (0x6D, 0x3F, 0x6E)),
    ((0x6F, 0xB8, 0xE8), (0xBF, 0xE6, 0xF7), (0xFF, 0xFF, 0xFF), (0x7F, 0x9C, 0xB8),
     (0x3E, 0x5F, 0x86)),
    ((0x3B, 0x4C, 0x8C), (0xA5, 0x8A, 0xC9), (0xFF, 0xE9, 0xA8), (0x3E, 0x3A, 0x6E),
     (0x1F, 0x22, 0x45)),
]


def check_mark(c, cx, cy, r, color):
    c.circle(cx, cy, r, rgba(color))
    c.line([(cx - r * 0.45, cy + r * 0.02), (cx - r * 0.1, cy + r * 0.38),
            (cx + r * 0.5, cy - r * 0.35)], rgba(WHITE), r * 0.28)


def magnifier(c, cx, cy, r, color):
    c.line([(cx + r * 0.7, cy + r * 0.7), (cx + r * 1.55, cy + r * 1.55)], rgba(color), r * 0.38)
    c.circle(cx, cy, r, rgba(WHITE, 70), rgba(color), r * 0.22)


def illustration_search(c, x, y, palette):
    accent, light = palette[2], palette[3]
    # App window with a search field and a grid of results.
    c.rect((x + 3, y + 7, x + 253, y + 207), rgba((0, 0, 0), 50), 12)
    c.rect((x, y, x + 250, y + 200), rgba((0xF6, 0xFA, 0xF9)), 12)
    c.rect((x + 14, y + 14, x + 236, y + 40), rgba(WHITE), 13, rgba((0xD6, 0xE4, 0xE0)), 1)
    magnifier(c, x + 29, y + 26, 6, (0x7C, 0x8C, 0x8A))
    for i, (w, col) in enumerate([(44, accent), (36, (0x6C, 0x9E, 0xF0)), (52, (0xF5, 0xA6, 0x23))]):
        px = x + 46 + sum([50, 42, 58][:i])
        c.rect((px, y + 20, px + w, y + 34), rgba(col, 60), 7)
        c.circle(px + 8, y + 27, 3.5, rgba(col))
    tile_w, tile_h = 70, 64
    for row in range(2):
        for col in range(3):
            tx = x + 14 + col * (tile_w + 6)
            ty = y + 52 + row * (tile_h + 8)
            photo(c, (tx, ty, tx + tile_w, ty + tile_h), SCENES[(row * 3 + col) % 4], 6,
                  frame=WHITE)
    # The match: outlined in the accent colour with a check.
    tx, ty = x + 14 + (tile_w + 6), y + 52
    c.rect((tx - 3, ty - 3, tx + tile_w + 3, ty + tile_h + 3), None, 8, rgba(accent), 3)
    check_mark(c, tx + tile_w, ty + 2, 10, accent)
    magnifier(c, x + 205, y + 168, 26, light)


def illustration_duplicates(c, x, y, palette):
    accent, warm = palette[2], palette[3]
    # Two near-identical shots: the blurry one fades out, the sharp one stays.
    back = c.layer()
    photo(back, (x + 8, y + 18, x + 148, y + 128), SCENES[2], 8)
    back.image.putalpha(back.image.getchannel("A").point(lambda a: a * 45 // 100))
    c.merge(back)
    c.circle(x + 148, y + 20, 12, rgba((0xE5, 0x5B, 0x5B)))
    c.line([(x + 142, y + 20), (x + 154, y + 20)], rgba(WHITE), 3.5)
    photo(c, (x + 76, y + 46, x + 236, y + 170), SCENES[2], 8)
    check_mark(c, x + 234, y + 48, 14, accent)
    # Storage gauge: the space won back.
    gx, gy = x + 20, y + 192
    c.rect((gx, gy, gx + 216, gy + 12), rgba(WHITE, 50), 6)
    c.rect((gx, gy, gx + 150, gy + 12), rgba(accent), 6)
    c.rect((gx + 150, gy, gx + 180, gy + 12), rgba(warm), 0)
    c.circle(gx + 180, gy + 6, 6, rgba(warm))
    c.rect((gx + 150, gy, gx + 180, gy + 12), rgba(warm), 0)


def illustration_slideshow(c, x, y, palette):
    accent, green = palette[2], palette[3]
    # A screen playing a slideshow, a film strip below and notes of the soundtrack.
    c.rect((x + 4, y + 10, x + 234, y + 150), rgba((0, 0, 0), 60), 12)
    c.rect((x, y, x + 230, y + 142), rgba((0x1E, 0x1A, 0x2B)), 12)
    photo(c, (x + 6, y + 6, x + 224, y + 128), SCENES[1], 8, frame=(0x1E, 0x1A, 0x2B))
    c.circle(x + 115, y + 67, 22, rgba(WHITE, 215))
    c.polygon([(x + 108, y + 55), (x + 108, y + 79), (x + 128, y + 67)], rgba(accent))
    c.rect((x + 14, y + 132, x + 216, y + 136), rgba(WHITE, 70), 2)
    c.rect((x + 14, y + 132, x + 120, y + 136), rgba(green), 2)
    # Film strip.
    fx, fy = x - 6, y + 160
    c.rect((fx, fy, fx + 244, fy + 48), rgba((0x22, 0x1B, 0x30)), 5)
    for i in range(12):
        c.rect((fx + 6 + i * 20, fy + 3, fx + 16 + i * 20, fy + 7), rgba(WHITE, 150), 1)
        c.rect((fx + 6 + i * 20, fy + 41, fx + 16 + i * 20, fy + 45), rgba(WHITE, 150), 1)
    for i in range(4):
        photo(c, (fx + 6 + i * 59, fy + 10, fx + 60 + i * 59, fy + 38), SCENES[(i + 2) % 4], 3,
              frame=(0x22, 0x1B, 0x30))
    # Music notes.
    for nx, ny, s in [(x + 246, y + 20, 1.0), (x + 262, y + 70, 0.75)]:
        c.ellipse((nx - 9 * s, ny + 24 * s, nx + 3 * s, ny + 33 * s), rgba(accent))
        c.line([(nx + 2 * s, ny + 28 * s), (nx + 2 * s, ny)], rgba(accent), 3 * s)
        c.line([(nx + 2 * s, ny + 1 * s), (nx + 13 * s, ny + 7 * s)], rgba(accent), 4 * s)


ILLUSTRATIONS = [illustration_search, illustration_duplicates, illustration_slideshow]


def logo_mark(c, x, y, size):
    """The Orbitane mark: an orbit ring around a lens on a brand-green tile."""
    c.rect((x, y, x + size, y + size), rgba(BRAND), size * 0.28)
    cx, cy = x + size / 2, y + size / 2
    c.circle(cx, cy, size * 0.3, None, rgba(WHITE), size * 0.09)
    c.circle(cx, cy, size * 0.11, rgba(WHITE))
    c.circle(cx + size * 0.25, cy - size * 0.2, size * 0.07, rgba(WHITE))


# ----------------------------------------------------------------------------------------------
# Images


def banner(language, index):
    face = Typeface(language)
    top, bottom, accent, second = PALETTES[index]
    width, height = BANNER_SIZE
    base = gradient(BANNER_SIZE, top, bottom).convert("RGBA")

    # The backdrop is mirrored for RTL; the illustration and the logo only change sides, since
    # check marks, play buttons and notes keep their direction in a right-to-left layout.
    backdrop = Canvas(BANNER_SIZE)
    backdrop.circle(width - 40, -30, 170, rgba(WHITE, 14))
    backdrop.circle(width - 90, height + 40, 120, rgba(accent, 26))
    backdrop.circle(-20, height - 10, 60, rgba(WHITE, 10))
    layer = backdrop.final()
    if face.rtl:
        layer = layer.transpose(Image.FLIP_LEFT_RIGHT)
    image = Image.alpha_composite(base, layer)

    art = Canvas(BANNER_SIZE)
    art_x = ART_LEFT_RTL if face.rtl else ART_LEFT
    ILLUSTRATIONS[index](art, art_x, 48, PALETTES[index])
    logo_mark(art, width - 40 - 24 if face.rtl else 40, 30, 24)
    image = Image.alpha_composite(image, art.final())

    draw = ImageDraw.Draw(image)
    text_x, text_w = 40, 300
    if face.rtl:
        text_x = width - text_x - text_w
    # Wordmark next to the logo tile (the product name is the same in every language).
    wordmark = ImageFont.truetype(DEJAVU + "DejaVuSans-Bold.ttf", 14,
                                  layout_engine=ImageFont.Layout.RAQM)
    if face.rtl:
        draw.text((width - 40 - 24 - 9, 42), "Orbitane Repavio", font=wordmark, fill=WHITE,
                  anchor="rm")
    else:
        draw.text((40 + 24 + 9, 42), "Orbitane Repavio", font=wordmark, fill=WHITE, anchor="lm")

    headline, subline = language_data.ART[language]["banners"][index]
    head_font, head_lines = face.fit(headline, text_w, range(30, 19, -1), 2, True)
    head_size = head_font.size
    head_line_h = round(head_size * (1.38 if face.cjk or face.rtl else 1.22))
    sub_font, sub_lines = face.fit(subline, text_w, range(16, 11, -1), 3, False)
    sub_line_h = round(sub_font.size * (1.6 if face.cjk or face.rtl else 1.45))

    block_h = len(head_lines) * head_line_h + 18 + len(sub_lines) * sub_line_h
    y = max(78, 78 + (176 - block_h) // 2)
    face.draw_lines(draw, head_lines, head_font, text_x, y, text_w, head_line_h, WHITE, True)
    y += len(head_lines) * head_line_h + 4
    bar_x = text_x + text_w - 36 if face.rtl else text_x
    draw.rounded_rectangle((bar_x, y, bar_x + 36, y + 4), radius=2, fill=accent)
    y += 14
    face.draw_lines(draw, sub_lines, sub_font, text_x, y, text_w, sub_line_h,
                    mix(WHITE, top, 0.18))
    return image.convert("RGB")


def install_tip(language):
    face = Typeface(language)
    width, height = TIP_SIZE
    icon = Canvas((16, 16))
    icon.circle(8, 8, 7.5, rgba(BRAND))
    icon.rect((7, 7, 9, 12.5), rgba(WHITE), 0.8)
    icon.circle(8, 4.6, 1.3, rgba(WHITE))
    image = Image.new("RGBA", TIP_SIZE, (255, 255, 255, 0))

    text = language_data.ART[language]["tip"]
    text_w = width - 24
    # One line when it fits at a readable size, otherwise two.
    one_line = any(face.length(text, face.font(size, False)) <= text_w for size in (12, 11))
    font, lines = face.fit(text, text_w, [12, 11], 1 if one_line else 2, False)
    line_h = 16 if len(lines) == 2 else 0
    block_top = (height - (line_h * (len(lines) - 1) + font.size)) // 2 - 1
    icon_x = width - 16 if face.rtl else 0
    image.alpha_composite(icon.final(), (icon_x, max(0, block_top)))
    text_x = 0 if face.rtl else 24
    draw = ImageDraw.Draw(image)
    face.draw_lines(draw, lines, font, text_x, block_top, text_w, line_h, (0x6B, 0x72, 0x7A, 255))
    return image


def to_palette_png(image, colors):
    """Palette PNG bytes; the tip keeps its alpha in the palette."""
    if image.mode == "RGBA":
        quantized = image.quantize(colors=colors, method=Image.Quantize.FASTOCTREE,
                                   dither=Image.Dither.NONE)
    else:
        quantized = image.quantize(colors=colors, method=Image.Quantize.MEDIANCUT,
                                   dither=Image.Dither.NONE)
    out = io.BytesIO()
    quantized.save(out, "PNG", optimize=True)
    return out.getvalue()


def contact_sheet(images, path):
    """All languages in one picture: per row the label, the three banners at half size and the tip."""
    label_w, gap, bw, bh = 120, 10, BANNER_SIZE[0] // 2, BANNER_SIZE[1] // 2
    row_h = bh + TIP_SIZE[1] + 3 * gap
    sheet_w = label_w + 3 * (bw + gap) + gap
    sheet = Image.new("RGB", (sheet_w, gap + row_h * len(images)), (0xF0, 0xF0, 0xF0))
    draw = ImageDraw.Draw(sheet)
    label_font = ImageFont.truetype(DEJAVU + "DejaVuSans-Bold.ttf", 15)
    for row, (language, (tip, banners)) in enumerate(images.items()):
        y = gap + row * row_h
        draw.text((gap, y + bh // 2), language, font=label_font, fill=(0x30, 0x30, 0x30),
                  anchor="lm")
        for i, b in enumerate(banners):
            sheet.paste(b.resize((bw, bh), Image.LANCZOS), (label_w + i * (bw + gap), y))
        tip_y = y + bh + gap
        draw.rectangle((label_w, tip_y - 2, label_w + TIP_SIZE[0], tip_y + TIP_SIZE[1] + 1),
                       fill=WHITE)
        sheet.paste(tip, (label_w, tip_y), tip)
    out = sheet.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    out.save(path, "PNG", optimize=True)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", default=os.path.join(here, "..", "res", "language"))
    parser.add_argument("--sheet", default=os.path.join(here, "..", "docs",
                                                        "language-contact-sheet.png"))
    parser.add_argument("--languages", nargs="*", default=language_data.LANGUAGES)
    args = parser.parse_args()

    images = {}
    total = 0
    for language in args.languages:
        folder = os.path.join(args.out, language)
        os.makedirs(folder, exist_ok=True)
        tip = install_tip(language)
        banners = [banner(language, i) for i in range(3)]
        files = {"install_tips.png": to_palette_png(tip, 64)}
        for i, b in enumerate(banners):
            files[f"pr_{i + 1}.png"] = to_palette_png(b, 256)
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
            total += len(data)
        # The sheet shows what the package carries: the decoded palette images.
        decoded = [Image.open(io.BytesIO(files[f"pr_{i + 1}.png"])).convert("RGB")
                   for i in range(3)]
        images[language] = (Image.open(io.BytesIO(files["install_tips.png"])).convert("RGBA"),
                            decoded)
    if args.sheet:
        os.makedirs(os.path.dirname(args.sheet), exist_ok=True)
        contact_sheet(images, args.sheet)
    print(f"{len(images)} languages, {total} bytes of images")
    return 0


if __name__ == "__main__":
    sys.exit(main())
