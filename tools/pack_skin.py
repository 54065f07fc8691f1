#!/usr/bin/env python3
"""Packs the skin package (resource 104, type "ZIPRES") from res/skin.

Archive order: the stored folder entry "img/" (size 0), the images, then the skin files, each
left-to-right file followed by its right-to-left twin. Every file is deflated. The files are
packed byte for byte: the XML keeps its UTF-8 text and CRLF line ends.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from package_zip import Package, arguments  # noqa: E402

IMAGES = [
    "browse-df.png", "browse-ho.png",
    "button_disable.png", "button_hover.png", "button_normal.png", "button_pressing.png",
    "checked.png", "unchecked.png",
    "close-df.png", "close-ho.png",
    "fold.png", "fold_rtl.png", "unfold.png",
    "hide-df.png", "hide-ho.png",
    "left_log.png",
    "logo.png",
    "minzoom-df.png", "minzoom-ho.png",
    "progress.png", "progress_rtl.png",
]
SKIN_FILES = ["banner.xml", "banner_rtl.xml", "skin.xml", "skin_rtl.xml", "home.xml",
              "home_rtl.xml"]


def main():
    args = arguments(__doc__).parse_args()
    # A missing file fails the build rather than shipping a skin without it.
    with Package(args.source, args.out) as package:
        package.add_folder("img")
        for name in IMAGES:
            package.copy(f"img/{name}")
        for name in SKIN_FILES:
            package.copy(name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
