"""The setup window under Wine as a person meets it: the real program's start-up (log markers,
the skin of the UI language, one copy per executable name), and through the driver the
controls driven with real input, the close question, the progress bar's pixels for values set
from a worker thread, the banner carousel on timer 11 and the installer's progress file on
timer 12."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from window_driver import Driver, Program, green_run, log_messages, near, work_folder  # noqa: E402

DRIVER = ""
PROGRAM = ""
ARABIC = {"LC_ALL": "ar_SA.UTF-8"}
ENGLISH = {"LC_ALL": "en_US.UTF-8"}
MIB = 1 << 20

# Places in the 650x360 window of skin.xml, page 0 (skin_rtl.xml swaps left and right).
CLOSE_BUTTON = (629, 21)
AGREE = (28, 336)
FOLD = (560, 336)
PATH_BOX = (400, 400)  # in the unfolded panel
HIDE = (555, 326)  # page 1
SMALL_LOGO = {"ltr": (16, 14), "rtl": (536, 14)}
LOGO_GREEN = (0x33, 0xC0, 0x8D)
class StartUpTest(unittest.TestCase):
    def setUp(self):
        shutil.rmtree(os.path.join(work_folder("tandrel-download"), "Log"), ignore_errors=True)

    def test_skin_and_log_of_each_language(self):
        cases = [
            ("English", ENGLISH, "ltr", "rtl"),
            ("Arabic", ARABIC, "rtl", "ltr"),
        ]
        for what, env, logo, blank in cases:
            with self.subTest(what), Program(PROGRAM, env) as program:
                with tempfile.TemporaryDirectory() as tmp:
                    program.screenshot(os.path.join(tmp, "home.png"))
                    image = Image.open(os.path.join(tmp, "home.png")).convert("RGB")
                self.assertEqual((650, 360), image.size)
                self.assertTrue(near(image.getpixel(SMALL_LOGO[logo]), LOGO_GREEN))
                self.assertFalse(near(image.getpixel(SMALL_LOGO[blank]), LOGO_GREEN))
                # Closing asks first; Return answers Yes and the program ends normally.
                program.key("Escape")
                time.sleep(1)
                program.key("Return")
                self.assertEqual(0, program.wait_exit())

        messages = log_messages("tandrel-download")
        markers = ["UpdateWindowSate:kWindow_Init", "Windows Version:", "Windows Bit:x64",
                   "downloader version:1.0.3.0", "DownloadRatio:90  ==== ReadFileTimeout:1500"]
        found = [next((i for i, m in enumerate(messages) if m.startswith(marker)), -1)
                 for marker in markers]
        self.assertNotIn(-1, found, messages)
        self.assertEqual(sorted(found), found)
        # Both runs unpacked the language package once each.
        self.assertEqual(2, messages.count("LoadResZipFile"))

    def test_one_copy_per_executable_name(self):
        with tempfile.TemporaryDirectory() as tmp, Program(PROGRAM, ENGLISH) as first:
            started = time.monotonic()
            code = subprocess.run(["wine", PROGRAM], stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  timeout=30).returncode
            self.assertEqual(255, code)  # -1 as the process exit status
            self.assertLess(time.monotonic() - started, 10)
            # Only the last extension is cut: this copy's name is "tandrel-download.copy".
            copy = os.path.join(tmp, "tandrel-download.copy.exe")
            shutil.copy(PROGRAM, copy)
            with Program(copy, ENGLISH, exclude=[first.window]) as other:
                self.assertIsNone(other.proc.poll())


class ControlsTest(unittest.TestCase):
    def test_check_boxes_and_tip(self):
        # each step: an action, then what the report must show
        steps = [
            (lambda d: d.click(*AGREE), {"agree": "0", "install": "0"}),
            (lambda d: d.click(*AGREE), {"agree": "1", "install": "1"}),
            (lambda d: d.click(*FOLD), {"fold": "1", "panel": "1", "height": "435"}),
            (lambda d: d.click(*FOLD), {"fold": "0", "panel": "0", "height": "360"}),
            (lambda d: d.command("tip Not a usable folder"),
             {"tip": "Not a usable folder", "fold": "1", "panel": "1", "height": "435"}),
            (lambda d: d.command("tip "), {"tip": "", "fold": "1", "height": "435"}),
        ]
        with Driver(DRIVER, ENGLISH) as driver:
            # Start-up configured the analytics sender with the product's category.
            self.assertRegex(driver.report()["analytics"],
                             r"^Orbitane Repavio \(Windows version\) https://[^/]+/mp/collect\?"
                             r"measurement_id=G-\w+&api_secret=")
            x, y, _, _ = driver.geometry()
            for number, (act, expected) in enumerate(steps):
                with self.subTest(step=number):
                    act(driver)
                    report = driver.report()
                    self.assertEqual(expected, {k: report[k] for k in expected})
                    # The panel grows the real window downwards; it neither moves nor resizes
                    # sideways.
                    self.assertEqual((x, y, 650, int(report["height"])), driver.geometry())

    def test_hide_minimises_and_the_finish_page_comes_back(self):
        with Driver(DRIVER, ENGLISH) as driver:
            driver.command("state 1")
            driver.click(*HIDE)
            self.assertEqual("1", driver.report()["minimized"])
            driver.command("state 3")
            report = driver.report()
            self.assertEqual({"minimized": "0", "page": "0", "start": "1", "install": "0"},
                             {k: report[k] for k in ("minimized", "page", "start", "install")})

    def test_folder_dialog(self):
        cases = [
            # keys in the dialog (opened on the current folder), resulting path
            ("Down then Return picks the next folder", ["Down", "Return"], "C:\\ProgramData"),
            ("Escape keeps the path", ["Escape"], "C:\\Program Files (x86)\\"),
        ]
        for what, keys, path in cases:
            with self.subTest(what), Driver(DRIVER, ENGLISH) as driver:
                driver.click(*FOLD)
                driver.click(*PATH_BOX)
                dialogs = driver.dialogs()
                self.assertEqual(1, len(dialogs))
                self.assertIn("Select a location to install the program", dialogs[0][1])
                self.assertIn("Program Files (x86)", dialogs[0][1])
                driver.key(*keys)
                time.sleep(0.5)
                report = driver.report()
                self.assertEqual(path, report["path"])
                self.assertEqual("btn_browse", report["focus"])


class CloseTest(unittest.TestCase):
    def test_close_question_per_page(self):
        cases = [
            # state commands, how to close, question text (None: closes at once)
            ("page 0, Escape", [], lambda d: d.key("Escape"), "Are you sure you want to quit?"),
            ("page 0, close button", [], lambda d: d.click(*CLOSE_BUTTON),
             "Are you sure you want to quit?"),
            ("page 1, Escape", ["state 1"], lambda d: d.key("Escape"),
             "Installation is in progress. Are you sure you want to quit?"),
            ("finish page, Escape", ["state 1", "state 3"], lambda d: d.key("Escape"),
             None),
        ]
        for what, commands, close, question in cases:
            with self.subTest(what), Driver(DRIVER, ENGLISH) as driver:
                for command in commands:
                    driver.command(command)
                close(driver)
                if question is None:
                    self.assertEqual(0, driver.wait_exit())
                    continue
                for answer in ["n", "Escape"]:  # No, and Escape in the box, keep the window
                    dialogs = driver.dialogs()
                    self.assertEqual([["Orbitane Repavio Setup"]], [d[:1] for d in dialogs])
                    self.assertIn(question, dialogs[0][1].split("|"))
                    driver.key(answer)
                    time.sleep(0.5)
                    self.assertIsNone(driver.proc.poll())
                    close(driver)
                driver.dialogs()
                driver.key("y")
                self.assertEqual(0, driver.wait_exit())

    def test_worker_waits_for_its_question_while_progress_goes_on(self):
        with Driver(DRIVER, ENGLISH) as driver:
            driver.command("state 1")
            driver.command("ask Go on?")
            self.assertIn("Go on?", driver.dialogs()[0][1])
            driver.command("progress 55")
            self.assertEqual("55 %", driver.report()["label"])
            self.assertFalse(any(e.startswith("answer") for e in driver.events()))
            driver.key("y")
            self.assertTrue(driver.wait_for_event("answer\t6"))


class ProgressTest(unittest.TestCase):
    def test_bar_fill_from_worker_values(self):
        cases = [
            # what, UI language, commands, percent shown, side the bar grows from
            ("English 30 %", ENGLISH, ["progress 30"], 30, "ltr"),
            ("English 75 %", ENGLISH, ["progress 75"], 75, "ltr"),
            ("download never moves back", ENGLISH,
             ["download %d %d" % (45 * MIB, 100 * MIB), "download %d %d" % (30 * MIB, 100 * MIB)],
             40, "ltr"),
            ("Arabic 30 %", ARABIC, ["progress 30"], 30, "rtl"),
        ]
        for what, env, commands, percent, direction in cases:
            with self.subTest(what), Driver(DRIVER, env) as driver:
                driver.command("state 1")
                for command in commands:
                    driver.command(command)
                report = driver.report()
                self.assertEqual("%d %%" % percent, report["label"])
                self.assertEqual("1", report["page"])
                self.assertAlmostEqual(percent / 100, green_run(driver, direction), delta=0.01)

    def test_banner_turns_on_timer_11(self):
        with Driver(DRIVER, ENGLISH) as driver:
            driver.command("state 1")
            seen = []
            deadline = time.monotonic() + 25
            while time.monotonic() < deadline and len(seen) < 3:
                banner = os.path.basename(driver.report()["banner"].replace("\\", "/"))
                if not seen or seen[-1] != banner:
                    seen.append(banner)
                time.sleep(0.5)
            self.assertEqual(["pr_1.png", "pr_2.png", "pr_3.png"], seen)

    def test_installer_progress_file_on_timer_12(self):
        progress_file = os.path.join(work_folder(Driver.TITLE), "temp.progress")
        with Driver(DRIVER, ENGLISH) as driver:
            with open(progress_file, "w") as f:
                f.write("100")  # left by an earlier run
            driver.command("state 1")
            driver.command("progress-timer")
            self.assertFalse(os.path.exists(progress_file))
            time.sleep(2)
            self.assertEqual("0 %", driver.report()["label"])
            with open(progress_file, "w") as f:
                f.write("57")
            time.sleep(2)
            self.assertEqual("95 %", driver.report()["label"])


if __name__ == "__main__":
    if len(sys.argv) > 2:
        DRIVER, PROGRAM = sys.argv.pop(1), sys.argv.pop(1)
    unittest.main(verbosity=2)
