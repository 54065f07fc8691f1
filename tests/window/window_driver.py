"""Runs the setup window under Wine on the test display: the real program, or the driver that
takes commands (progress, states, questions, reports) through a file and writes what the
window shows to an events file. Input is real (xdotool), pictures are screenshots."""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ui"))
from preview_driver import run, windows_path  # noqa: E402

WINDOW_WIDTH, WINDOW_HEIGHT = 650, 360


def program_files(*parts):
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", "Program Files (x86)", *parts)


def work_folder(title):
    """The work folder of a program run under the executable title |title|."""
    return program_files("tandrel_down", title)


def find_window(exclude=(), width=WINDOW_WIDTH, timeout=60):
    """The X window of a visible setup window other than those in |exclude| (its title is in
    the UI language; Wine's message boxes and dialogs are narrower)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        for wid in run("xdotool", "search", "--onlyvisible", "--name", ".", check=False).split():
            if wid in exclude:
                continue
            geometry = run("xdotool", "getwindowgeometry", "--shell", wid, check=False)
            if "WIDTH=%d" % width in geometry.split():
                return wid
        time.sleep(0.2)
    return None


class Window:
    """Input and pictures of one X window."""

    def __init__(self, wid):
        self.wid = wid

    def geometry(self):
        values = dict(line.split("=", 1) for line in
                      run("xdotool", "getwindowgeometry", "--shell", self.wid).split())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def click(self, x, y):
        run("xdotool", "mousemove", "--window", self.wid, str(x), str(y), "click", "1")
        time.sleep(0.3)

    def key(self, *keys):
        run("xdotool", "key", "--delay", "80", *keys)
        time.sleep(0.3)

    def screenshot(self, path):
        time.sleep(0.3)
        run("import", "-window", self.wid, path)


class Program(Window):
    """The setup program itself (or a copy of it), started with |env| added."""

    def __init__(self, exe, env=None, exclude=()):
        run("xdotool", "mousemove", "0", "0")
        self.proc = subprocess.Popen(["wine", exe], env=dict(os.environ, **(env or {})),
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        super().__init__(find_window(exclude))
        if self.wid is None:
            self.end()
            raise RuntimeError("the setup window did not appear")

    def __enter__(self):
        return self

    def __exit__(self, *unused):
        self.end()

    def wait_exit(self, timeout=15):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def end(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


class Driver(Program):
    """The setup window run by setup-window-driver, with its command and events files."""

    TITLE = "setup-window-driver"

    def __init__(self, exe, env=None):
        folder = tempfile.mkdtemp(prefix="setup-window-")
        self.commands_path = os.path.join(folder, "commands")
        self.events_path = os.path.join(folder, "events")
        open(self.commands_path, "w").close()
        open(self.events_path, "w").close()
        self.exe = exe
        run("xdotool", "mousemove", "0", "0")
        self.proc = subprocess.Popen(
            ["wine", exe, "--commands", windows_path(self.commands_path),
             "--events", windows_path(self.events_path)],
            env=dict(os.environ, **(env or {})), stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not self.wait_for(lambda e: e.startswith("ready"), timeout=60):
            self.end()
            raise RuntimeError("the driver did not start")
        Window.__init__(self, find_window())

    def events(self):
        with open(self.events_path, encoding="utf-8") as f:
            return [line.rstrip("\n") for line in f]

    def wait_for(self, match, timeout=10):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for event in self.events():
                if match(event):
                    return event
            if self.proc.poll() is not None:
                return None
            time.sleep(0.05)
        return None

    def command(self, text):
        """Sends one command and waits until the driver's worker has carried it out."""
        count = sum(1 for e in self.events() if e == "done\t" + text)
        with open(self.commands_path, "a", encoding="utf-8") as f:
            f.write(text + "\n")
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if sum(1 for e in self.events() if e == "done\t" + text) > count:
                return
            time.sleep(0.05)
        raise RuntimeError("command not carried out: " + text)

    def report(self):
        """What the window shows now, as a dict of strings (after the queued work has run)."""
        count = sum(1 for e in self.events() if e.startswith("report\t"))
        self.command("report")
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            reports = [e for e in self.events() if e.startswith("report\t")]
            if len(reports) > count:
                return dict(f.split("=", 1) for f in reports[-1].split("\t")[1:])
            time.sleep(0.05)
        raise RuntimeError("no report")

    def dialogs(self):
        """Titles and texts of the program's other visible windows, waiting briefly for one."""
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            before = len(self.events())
            self.command("dialogs")
            found = [e.split("\t")[1:] for e in self.events()[before:] if e.startswith("dialog\t")]
            if found:
                return found
            time.sleep(0.2)
        return []
