"""Drives the skin preview program under Wine on the test display: starts it, finds its
window, sends real input with xdotool, takes screenshots with ImageMagick and reads the events
(notifications, close requests) that the program reports."""

import os
import subprocess
import tempfile
import time

TITLE = "Skin preview"


def run(*command, check=True):
    return subprocess.run(command, check=check, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Preview:
    """One run of the preview; use as a context manager so that it always ends."""

    def __init__(self, exe, *args):
        # The pointer rests outside the window, so that no control starts out hot.
        run("xdotool", "mousemove", "0", "0")
        handle, self.events_path = tempfile.mkstemp(prefix="skin-preview-", suffix=".events")
        os.close(handle)
        command = ["wine", exe, *args, "--events", windows_path(self.events_path)]
        self.proc = subprocess.Popen(command, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wait_for_event("ready", timeout=60)
        ids = run("xdotool", "search", "--onlyvisible", "--name", "^%s$" % TITLE,
                  check=False).split()
        if not ids:
            self.end()
            raise RuntimeError("the preview window did not appear")
        self.window = ids[-1]

    def __enter__(self):
        return self

    def __exit__(self, *unused):
        self.end()

    def events(self):
        with open(self.events_path, encoding="utf-8") as f:
            return [line.rstrip("\n") for line in f]

    def wait_for_event(self, event, timeout=10):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if event in self.events():
                return True
            if self.proc.poll() is not None and event not in self.events():
                return False
            time.sleep(0.05)
        return False

    def geometry(self):
        values = dict(line.split("=", 1) for line in
                      run("xdotool", "getwindowgeometry", "--shell", self.window).split())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def click(self, x, y):
        run("xdotool", "mousemove", "--window", self.window, str(x), str(y), "click", "1")

    def drag(self, x, y, dx, dy):
        left, top, _, _ = self.geometry()
        run("xdotool", "mousemove", str(left + x), str(top + y), "mousedown", "1")
        time.sleep(0.2)
        run("xdotool", "mousemove", str(left + x + dx // 2), str(top + y + dy // 2))
        time.sleep(0.2)
        run("xdotool", "mousemove", str(left + x + dx), str(top + y + dy))
        time.sleep(0.2)
        run("xdotool", "mouseup", "1")
        time.sleep(0.3)

    def key(self, *keys):
        run("xdotool", "key", "--delay", "80", *keys)

    def screenshot(self, path):
        time.sleep(0.3)
        run("import", "-window", self.window, path)

    def wait_exit(self, timeout=10):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def end(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        if os.path.exists(self.events_path):  # ending twice is harmless
            os.unlink(self.events_path)
