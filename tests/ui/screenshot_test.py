"""The skinned window as a person sees it: screenshots of the skin preview under Wine compared
with the reference pictures in tests/ui/reference (a few pixels may differ where glyphs are
hinted differently), a few named pixels, and Arabic text read right to left. A failed
comparison leaves NAME-actual.png and NAME-diff.png in the working directory."""

import os
import sys
import tempfile
import unittest

from PIL import Image, ImageChops

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from preview_driver import Preview  # noqa: E402

EXE = os.environ.get("SKIN_PREVIEW_EXE", "")
REFERENCE_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "reference")

# A pixel differs when one channel is off by more than this; a picture matches while at most
# MAX_DIFFERENT_SHARE of its pixels differ.
CHANNEL_TOLERANCE = 40
MAX_DIFFERENT_SHARE = 0.002

# name, preview arguments, {(x, y): expected RGB}
SCREENS = [
    ("home", [], {(0, 180): 0xCCCCCC,  # the window's border
                  (165, 200): 0x3CC090,  # btn_install's normal image
                  (215, 130): 0x33C08D}),  # the logo
    ("progress", ["--page", "1", "--progress", "30"],
     {(60, 313): 0x62CFA8, (300, 313): 0xDAF3ED}),  # 30 % filled from the left
    ("home_rtl", ["--skin", "skin_rtl.xml"], {(536, 14): 0x33C08D,  # the small logo, right
                                             (649, 180): 0xCCCCCC}),
    ("progress_rtl", ["--skin", "skin_rtl.xml", "--page", "1", "--progress", "30"],
     {(590, 313): 0x3ED186, (170, 313): 0xDAF3ED}),  # 30 % from the right, on green
    ("panel", ["--fold", "--select", "chk_agree"], {(0, 420): 0xCCCCCC, (300, 400): 0xF0F0F0}),
]

ARABIC_INSTALLING = "\\u062c\\u0627\\u0631\\u064d \\u0627\\u0644\\u062a\\u062b\\u0628\\u064a\\u062a"
# The text area of label_install in banner_rtl.xml, page 1: right-aligned in the right half of
# the text row.
LABEL_INSTALL = (382, 320, 597, 342)


def capture(args, path):
    with Preview(EXE, *args) as preview:
        preview.screenshot(path)
    return Image.open(path).convert("RGB")


def different_pixels(a, b):
    diff = ImageChops.difference(a, b).convert("RGB")
    mask = diff.point(lambda v: 255 if v > CHANNEL_TOLERANCE else 0)
    return sum(1 for p in mask.getdata() if max(p) > 0), diff


def ink_box(image, box):
    """The part of |box| holding text: pixels clearly darker than the white background."""
    crop = image.crop(box).convert("L").point(lambda v: 255 if v < 160 else 0)
    bbox = crop.getbbox()
    return None if bbox is None else crop.crop(bbox), bbox


class ScreenshotTest(unittest.TestCase):
    def test_screens_match_their_references(self):
        for name, args, pixels in SCREENS:
            with self.subTest(name), tempfile.TemporaryDirectory() as tmp:
                actual = capture(args, os.path.join(tmp, name + ".png"))
                for (x, y), rgb in pixels.items():
                    got = actual.getpixel((x, y))
                    want = ((rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255)
                    self.assertTrue(all(abs(g - w) <= 6 for g, w in zip(got, want)),
                                    "%s at %d,%d: %s, expected %06X" % (name, x, y, got, rgb))
                reference = Image.open(os.path.join(REFERENCE_DIR, name + ".png")).convert("RGB")
                count = -1
                if reference.size == actual.size:
                    count, diff = different_pixels(reference, actual)
                if count < 0 or count > MAX_DIFFERENT_SHARE * actual.size[0] * actual.size[1]:
                    actual.save(name + "-actual.png")
                    if count >= 0:
                        diff.point(lambda v: min(255, v * 4)).save(name + "-diff.png")
                    self.fail("%s differs from its reference: %d pixels (size %s, expected %s); "
                              "see %s-actual.png" % (name, count, actual.size, reference.size,
                                                     os.path.join(os.getcwd(), name)))

    def test_arabic_reads_right_to_left_in_its_alignment(self):
        # Read right to left, the trailing dots of "جارٍ التثبيت..." stand at the left end: the
        # same picture as "...جارٍ التثبيت" read left to right.
        base = ["--skin", "skin_rtl.xml", "--page", "1", "--text"]
        with tempfile.TemporaryDirectory() as tmp:
            rtl = capture(base + ["label_install=" + ARABIC_INSTALLING + "..."] + ["--rtl-reading"],
                          os.path.join(tmp, "rtl.png"))
            ltr = capture(base + ["label_install=" + ARABIC_INSTALLING + "..."],
                          os.path.join(tmp, "ltr.png"))
            moved = capture(base + ["label_install=..." + ARABIC_INSTALLING],
                            os.path.join(tmp, "moved.png"))
        rtl_ink, rtl_box = ink_box(rtl, LABEL_INSTALL)
        ltr_ink, _ = ink_box(ltr, LABEL_INSTALL)
        moved_ink, _ = ink_box(moved, LABEL_INSTALL)
        self.assertIsNotNone(rtl_ink)
        self.assertEqual(rtl_ink.size, moved_ink.size)
        self.assertEqual(0, different_pixels(rtl_ink.convert("RGB"), moved_ink.convert("RGB"))[0])
        self.assertNotEqual(list(rtl_ink.getdata()), list(ltr_ink.getdata()))
        # Right-aligned: the text ends at the right edge of the text area, give or take the
        # glyph's side bearing (measured without the joining of the letters it would stop
        # about 35 pixels short).
        self.assertGreaterEqual(rtl_box[2], LABEL_INSTALL[2] - LABEL_INSTALL[0] - 10)


if __name__ == "__main__":
    if len(sys.argv) > 1:
        EXE = sys.argv.pop(1)
    unittest.main(verbosity=2)
