"""Runs the setup window under Wine on the test display: the real program, or the driver that
takes commands (progress, states, questions, reports) through a file and writes what the
window shows to an events file. Input is real (xdotool), pictures are screenshots; both come
from the skin preview's driver."""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ui"))
from preview_driver import Preview, run, windows_path  # noqa: E402

WINDOW_WIDTH = 650


def work_folder(title):
    """The work folder of a program run under the executable title |title|."""
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", "Program Files (x86)",
                        "tandrel_down", title)


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
        """Titles and texts of the program's other visible windows, waiting briefly for one."""
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            count = len(self.events())
            self.command("dialogs")
            found = [e.split("\t")[1:] for e in self.events()[count:] if e.startswith("dialog\t")]
            if found:
                return found
            time.sleep(0.2)
        return []
