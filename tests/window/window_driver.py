"""Runs the setup window under Wine on the test display: the real program, or the driver that
takes commands (progress, states, questions, reports) through a file and writes what the
window shows to an events file. Input is real (xdotool), pictures are screenshots; both come
from the skin preview's driver."""

import datetime
import os
import re
import subprocess
import sys
import tempfile
import time

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ui"))
from preview_driver import Preview, run, windows_path  # noqa: E402

WINDOW_WIDTH = 650
# The progress bar's row on page 1 and its extent in each skin.
BAR_ROW = 313
BAR_SPAN = {"ltr": (50, 485), "rtl": (165, 600)}


def work_folder(title):
    """The work folder of a program run under the executable title |title|."""
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", "Program Files (x86)",
                        "tandrel_down", title)


def log_records(title):
    """The log of program |title|: (time stamp, message) per record; none before it exists."""
    path = os.path.join(work_folder(title), "Log", "tandrel_down.log")
    if not os.path.exists(path):
        return []
    with open(path, encoding="latin-1") as f:
        # Each record: a date, a time and the message.
        return [(datetime.datetime.strptime(m.group(1), "%Y-%m-%d %H:%M:%S,%f"), m.group(2))
                for m in re.finditer(r"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d,\d+) (.*)", f.read())]


def log_messages(title):
    return [message for _, message in log_records(title)]


def near(rgb, want, tolerance=8):
    return all(abs(a - b) <= tolerance for a, b in zip(rgb, want))


def green_run(window, direction):
    """Fraction of the bar filled with progress green; -1 unless the green is one run that
    starts at the side the bar grows from."""
    with tempfile.TemporaryDirectory() as tmp:
        window.screenshot(os.path.join(tmp, "bar.png"))
        image = Image.open(os.path.join(tmp, "bar.png")).convert("RGB")
    left, right = BAR_SPAN[direction]
    # Progress green has far less red than the pale track; the bar's ends are rounded.
    green = [x for x in range(left, right) if image.getpixel((x, BAR_ROW))[0] < 0xB0]
    if not green:
        return 0.0
    contiguous = green[-1] - green[0] + 1 == len(green)
    from_its_side = green[0] <= left + 3 if direction == "ltr" else green[-1] >= right - 4
    return len(green) / (right - left) if contiguous and from_its_side else -1.0


def find_window(exclude=(), timeout=60):
    """A visible setup window other than those in |exclude|. Its title is in the UI language;
    Wine's message boxes and dialogs are narrower."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        for wid in run("xdotool", "search", "--onlyvisible", "--name", ".", check=False).split():
            geometry = run("xdotool", "getwindowgeometry", "--shell", wid, check=False).split()
            if wid not in exclude and "WIDTH=%d" % WINDOW_WIDTH in geometry:
                return wid
        time.sleep(0.2)
    raise RuntimeError("the setup window did not appear")


class Program(Preview):
    """The setup program (or a copy of it) started with |env| added; the driver when given a
    commands file."""

    def __init__(self, exe, env=None, exclude=(), commands=None):
        run("xdotool", "mousemove", "0", "0")
        handle, self.events_path = tempfile.mkstemp(prefix="setup-window-", suffix=".events")
        os.close(handle)
        args = ["--commands", windows_path(commands), "--events",
                windows_path(self.events_path)] if commands else []
        self.proc = subprocess.Popen(["wine", exe, *args], env=dict(os.environ, **(env or {})),
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        try:
            self.window = find_window(exclude)
        except RuntimeError:
            self.end()
            raise

    def click(self, x, y):
        super().click(x, y)
        time.sleep(0.3)

    def key(self, *keys):
        super().key(*keys)
        time.sleep(0.3)


class Driver(Program):
    """The setup window run by setup-window-driver, with its command and events files."""

    TITLE = "setup-window-driver"

    def __init__(self, exe, env=None):
        handle, self.commands_path = tempfile.mkstemp(prefix="setup-window-", suffix=".commands")
        os.close(handle)
        super().__init__(exe, env, commands=self.commands_path)
        if not self.wait_for_event("ready", timeout=60):
            self.end()
            raise RuntimeError("the driver did not start")

    def end(self):
        super().end()
        if os.path.exists(self.commands_path):
            os.unlink(self.commands_path)

    def command(self, text):
        """Sends one command and waits until the driver's worker has carried it out."""
        done = "done\t" + text
        count = self.events().count(done)
        with open(self.commands_path, "a", encoding="utf-8") as f:
            f.write(text + "\n")
        deadline = time.monotonic() + 10
        while self.events().count(done) <= count:
            if time.monotonic() > deadline:
                raise RuntimeError("command not carried out: " + text)
            time.sleep(0.05)

    def report(self):
        """What the window shows now, as a dict of strings (after the queued work has run)."""
        count = len(self.events())
        self.command("report")
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            reports = [e for e in self.events()[count:] if e.startswith("report\t")]
            if reports:
                return dict(f.split("=", 1) for f in reports[0].split("\t")[1:])
            time.sleep(0.05)
        raise RuntimeError("no report")

    def dialogs(self):
        """Title, texts ("|" between them) and layout ("ltr" or "rtl") of each of the
        program's other visible windows, waiting briefly for one."""
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            count = len(self.events())
            self.command("dialogs")
            found = [e.split("\t")[1:] for e in self.events()[count:] if e.startswith("dialog\t")]
            if found:
                return found
            time.sleep(0.2)
        return []
