"""Regenerates the skinned window's reference pictures (tests/ui/reference) from the skin
preview. Run it through tools/gen_ui_references.sh, which provides Wine, the display and the
built preview. Look at every picture before committing it."""

import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "ui"))
import screenshot_test  # noqa: E402


def main():
    screenshot_test.EXE = sys.argv[1]
    for name, args, _ in screenshot_test.SCREENS:
        reference = os.path.join(screenshot_test.REFERENCE_DIR, name + ".png")
        screenshot_test.capture(args, reference)
        print("wrote", reference)


if __name__ == "__main__":
    main()
