#!/usr/bin/env python3
"""Draws the setup program's icon (res/app.ico): a rounded square in the brand green with a
white download arrow over a tray. Run by hand when the art changes; the output is committed."""
import sys
from PIL import Image, ImageDraw

GREEN = (0x33, 0xC0, 0x8D, 255)


def draw(size):
    scale = 4
    s = size * scale
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([0, 0, s - 1, s - 1], radius=s // 5, fill=GREEN)
    w = s // 12
    cx = s // 2
    d.rectangle([cx - w, s * 0.18, cx + w, s * 0.55], fill="white")
    d.polygon([(cx - s * 0.22, s * 0.45), (cx + s * 0.22, s * 0.45), (cx, s * 0.68)], fill="white")
    d.rectangle([s * 0.2, s * 0.74, s * 0.8, s * 0.74 + w * 1.6], fill="white")
    return img.resize((size, size), Image.LANCZOS)


def main(out):
    sizes = [256, 48, 32, 16]
    draw(256).save(out, format="ICO", sizes=[(n, n) for n in sizes])


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/app.ico")
