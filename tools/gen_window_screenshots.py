"""Takes the README's screenshots of the real setup window (docs/window-*.png): the home page
folded and unfolded and the progress page, in English and in Arabic. Run it through
tools/gen_window_screenshots.sh, which provides Wine, the display and the built driver. Look at
every picture before committing it."""

import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "window"))
from window_driver import Driver  # noqa: E402

LANGUAGES = [("en", "en_US.UTF-8"), ("ar", "ar_SA.UTF-8")]
# name, commands for the driver, whether the panel is unfolded by a click on its check box
SCREENS = [
    ("home", [], False),
    ("panel", [], True),
    ("progress", ["state 1", "download %d %d" % (57 << 20, 100 << 20)], False),
]
FOLD = {"en": (560, 336), "ar": (90, 336)}


def main():
    driver_exe = sys.argv[1]
    for language, locale in LANGUAGES:
        for name, commands, unfold in SCREENS:
            with Driver(driver_exe, {"LC_ALL": locale}) as driver:
                for command in commands:
                    driver.command(command)
                if unfold:
                    driver.click(*FOLD[language])
                driver.report()  # the queued work has run
                path = os.path.join(ROOT, "docs", "window-%s-%s.png" % (name, language))
                driver.screenshot(path)
                print("wrote", path)


if __name__ == "__main__":
    main()
