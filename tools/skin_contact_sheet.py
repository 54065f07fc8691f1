#!/usr/bin/python3
"""The skin's contact sheet (docs/skin-contact-sheet.png): every image of res/skin/img with its
name and size, on light and dark backgrounds, small ones also enlarged; then the home page and
the progress row put together as the skin places them, left to right and right to left.
Called by tools/gen_skin_art.py.
"""
from PIL import Image, ImageDraw

from gen_skin_art import BRAND, INK, MUTED, TRACK, WHITE, font, rgba

SHEET_BG = (0xF3, 0xF5, 0xF7)
DARK = (0x1F, 0x27, 0x30)
CARD_LINE = (0xDD, 0xE2, 0xE6)
PAD = 14

SHEET_ROWS = [
    ("Action button: normal, hover, pressing, disabled",
     ["button_normal.png", "button_hover.png", "button_pressing.png", "button_disable.png"]),
    ("Browse and Hide buttons: normal and hot",
     ["browse-df.png", "browse-ho.png", "hide-df.png", "hide-ho.png"]),
    ("Logos", ["logo.png", "left_log.png"]),
    ("Check box, fold arrows (left to right, right to left, open), window buttons",
     ["checked.png", "unchecked.png", "fold.png", "fold_rtl.png", "unfold.png",
      "close-df.png", "close-ho.png", "minzoom-df.png", "minzoom-ho.png"]),
    ("Progress fill (left to right) and right-to-left track", ["progress.png",
                                                                "progress_rtl.png"]),
]


def zoom_factor(image):
    return 4 if max(image.size) <= 20 else 1


def swatch(image, background, zoom):
    """The image on a plain background, with a margin."""
    w, h = image.size[0] * zoom, image.size[1] * zoom
    tile = Image.new("RGBA", (w + 2 * 10, h + 2 * 10), rgba(background))
    shown = image if zoom == 1 else image.resize((w, h), Image.NEAREST)
    tile.alpha_composite(shown, (10, 10))
    return tile


def card(name, image):
    """Light and dark swatches at 1x (and 4x for the small ones), with name and size. Wide
    images get their swatches stacked; opaque ones and the logos, which are made for the
    white title and home rows, show on white only."""
    zoom = zoom_factor(image)
    backgrounds = [WHITE] if name.startswith(("progress", "logo", "left_log")) else [WHITE, DARK]
    tiles = [swatch(image, b, 1) for b in backgrounds]
    if image.size[0] > 120 and len(tiles) == 2:
        stacked = Image.new("RGBA", (tiles[0].size[0], 2 * tiles[0].size[1]))
        stacked.paste(tiles[0], (0, 0))
        stacked.paste(tiles[1], (0, tiles[0].size[1]))
        tiles = [stacked]
    if zoom > 1:
        tiles += [swatch(image, b, zoom) for b in backgrounds]
    label, dims = font(12, True), font(11)
    caption = f"img/{name}"
    size_text = f"{image.size[0]} \u00d7 {image.size[1]}" + (f"   (also at {zoom}x)"
                                                            if zoom > 1 else "")
    tiles_w = sum(t.size[0] for t in tiles) + 6 * (len(tiles) - 1)
    width = max(tiles_w, round(label.getlength(caption)), round(dims.getlength(size_text)))
    height = max(t.size[1] for t in tiles) + 40
    out = Image.new("RGBA", (width + 2 * PAD, height + 2 * PAD), rgba(WHITE))
    x = PAD
    for t in tiles:
        out.alpha_composite(t, (x, PAD))
        x += t.size[0] + 6
    draw = ImageDraw.Draw(out)
    y = PAD + max(t.size[1] for t in tiles) + 10
    draw.text((PAD, y), caption, font=label, fill=rgba(INK), anchor="lt")
    draw.text((PAD, y + 17), size_text, font=dims, fill=rgba(MUTED), anchor="lt")
    draw.rectangle((0, 0, out.size[0] - 1, out.size[1] - 1), outline=rgba(CARD_LINE))
    return out


def centered_text(draw, box, string, fnt, color):
    x0, y0, x1, y1 = box
    draw.text(((x0 + x1) / 2, (y0 + y1) / 2), string, font=fnt, fill=rgba(color), anchor="mm")


def in_context(images, rtl):
    """The home page strip and the progress row as the skin places them (text approximated
    with DejaVu Sans; the program draws it with the window's fonts)."""
    W = 650
    page = Image.new("RGBA", (W, 300), rgba(WHITE))
    draw = ImageDraw.Draw(page)
    ui, ui_bold = font(13), font(20, True)
    flip = (lambda x, w: W - x - w) if rtl else (lambda x, w: x)
    # Title row: logo, spring, the 50-pixel box with minimise and close (mirrored in RTL).
    page.alpha_composite(images["left_log.png"], (flip(10, 108), 5))
    buttons = ["close", "minzoom"] if rtl else ["minzoom", "close"]
    for i, b in enumerate(buttons):
        page.alpha_composite(images[f"{b}-{'ho' if b == 'close' else 'df'}.png"],
                             (W - 10 - 50 + i * 30 if not rtl else 10 + i * 30, 11))
    # Logo and the two action-button states that matter most.
    page.alpha_composite(images["logo.png"], ((W - 235) // 2, 72))
    for i, (state, label) in enumerate([("normal", "Install >>"), ("hover", "Install >>"),
                                        ("disable", "Install >>")]):
        x = 60 + i * 186
        page.alpha_composite(images[f"button_{state}.png"], (x, 154))
        centered_text(draw, (x, 154, x + 168, 200), label, ui_bold, WHITE)
    # Agreement row.
    y = 214
    draw.line((0, y, W, y), fill=rgba((0xE0, 0xE0, 0xE0)))
    row_y = y + 8
    agree = "I've read and agreed to the"
    link = "Tandrel License Agreement"
    fold_text = "Customize Installation"
    if rtl:
        page.alpha_composite(images["fold_rtl.png"], (20, row_y + 8))
        draw.text((40, row_y + 15), fold_text, font=ui, fill=rgba(INK), anchor="lm")
        tx = W - 20 - 20
        page.alpha_composite(images["checked.png"], (W - 20 - 14, row_y + 8))
        lw = ui.getlength(link)
        aw = ui.getlength(agree + " ")
        draw.text((tx - aw - lw, row_y + 15), link, font=ui, fill=rgba((0, 0, 0xFF)),
                  anchor="lm")
        draw.text((tx - aw, row_y + 15), " " + agree, font=ui, fill=rgba(INK), anchor="lm")
    else:
        page.alpha_composite(images["checked.png"], (20, row_y + 8))
        draw.text((40, row_y + 15), agree + " ", font=ui, fill=rgba(INK), anchor="lm")
        lx = 40 + ui.getlength(agree + " ")
        draw.text((lx, row_y + 15), link, font=ui, fill=rgba((0, 0, 0xFF)), anchor="lm")
        draw.line((lx, row_y + 23, lx + ui.getlength(link), row_y + 23),
                  fill=rgba((0, 0, 0xFF)))
        fx = W - 20 - 200
        draw.text((fx + 180, row_y + 15), fold_text, font=ui, fill=rgba(INK), anchor="rm")
        page.alpha_composite(images["fold.png"], (fx + 182, row_y + 8))
    # Progress row at 30 %: bar, texts and Hide (hot).
    py = 256
    bar_x, bar_w = (50 + 90 + 25, W - 2 * 50 - 90 - 25) if rtl else (50, W - 2 * 50 - 90 - 25)
    value = 70 if rtl else 30  # the program shows 100 - percent right to left
    bar = Image.new("RGBA", (bar_w, 6), rgba((0x3E, 0xD1, 0x86) if rtl else TRACK))
    fill_w = bar_w * value // 100
    fill = images["progress_rtl.png" if rtl else "progress.png"].resize((fill_w, 6),
                                                                          Image.BILINEAR)
    bar.alpha_composite(fill, (0, 0))
    mask = Image.new("L", bar.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, bar_w - 1, 5), radius=1.5, fill=255)
    page.paste(bar, (bar_x, py), mask)
    label_l, label_r = ("30 %", "Installing...") if rtl else ("Installing...", "30 %")
    draw.text((bar_x, py + 20), label_l, font=ui, fill=rgba(INK), anchor="lm")
    draw.text((bar_x + bar_w, py + 20), label_r, font=ui, fill=rgba(INK), anchor="rm")
    hide_x = 50 if rtl else W - 50 - 90
    page.alpha_composite(images["hide-ho.png"], (hide_x, py - 6))
    centered_text(draw, (hide_x, py - 6, hide_x + 90, py + 26), "Hide", ui, BRAND)
    return page


def contact_sheet(images, path):
    width = 1100
    blocks = []
    for title, names in SHEET_ROWS:
        cards = [card(n, images[n]) for n in names]
        lines, line, used = [], [], 0
        for c in cards:
            if line and used + c.size[0] > width - 2 * 24:
                lines.append(line)
                line, used = [], 0
            line.append(c)
            used += c.size[0] + 12
        lines.append(line)
        blocks.append((title, lines))
    contexts = [("In the window, left to right (Install normal, hover, disabled; "
                 "Hide hot; 30 %)", in_context(images, False)),
                ("Right to left", in_context(images, True))]

    height = 90
    for _, lines in blocks:
        height += 30 + sum(max(c.size[1] for c in l) + 12 for l in lines) + 10
    height += sum(30 + p.size[1] + 20 for _, p in contexts) + 10
    sheet = Image.new("RGBA", (width, height), rgba(SHEET_BG))
    draw = ImageDraw.Draw(sheet)
    draw.text((24, 26), "Skin package images", font=font(22, True), fill=rgba(INK),
              anchor="lt")
    draw.text((24, 58), f"res/skin/img: {len(images)} images, drawn by tools/gen_skin_art.py "
              "at 100 % (small ones also enlarged 4x), on light and dark backgrounds",
              font=font(12), fill=rgba(MUTED), anchor="lt")
    y = 90
    for title, lines in blocks:
        draw.text((24, y + 8), title, font=font(13, True), fill=rgba(INK), anchor="lt")
        y += 30
        for line in lines:
            x = 24
            for c in line:
                sheet.alpha_composite(c, (x, y))
                x += c.size[0] + 12
            y += max(c.size[1] for c in line) + 12
        y += 10
    for title, page in contexts:
        draw.text((24, y + 8), title, font=font(13, True), fill=rgba(INK), anchor="lt")
        y += 30
        draw.rectangle((23, y - 1, 24 + page.size[0], y + page.size[1]),
                       outline=rgba(CARD_LINE))
        sheet.alpha_composite(page, (24, y))
        y += page.size[1] + 20
    sheet.convert("RGB").save(path, "PNG", optimize=True)
