#!/usr/bin/env python3
"""Packs the skin package (resource 104, type "ZIPRES") from res/skin.

Archive order: the stored folder entry "img/" (size 0), the images, then the skin files, each
left-to-right file followed by its right-to-left twin. Every file is deflated. The files are
packed byte for byte: the XML keeps its UTF-8 text and CRLF line ends.
"""
import argparse
import os
import sys
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pack_language import add_file, add_folder  # noqa: E402

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
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--source", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    def read(*parts):
        with open(os.path.join(args.source, *parts), "rb") as f:
            return f.read()

    # A missing file fails the build rather than shipping a skin without it.
    tmp = args.out + ".tmp"
    with zipfile.ZipFile(tmp, "w") as archive:
        add_folder(archive, "img")
        for name in IMAGES:
            add_file(archive, f"img/{name}", read("img", name))
        for name in SKIN_FILES:
            add_file(archive, name, read(name))
    os.replace(tmp, args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
