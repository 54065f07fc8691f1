"""The world around one installation, for the install flow's end-to-end tests and the demo: the
local stand-in of the maker's services on the loopback hosts that the local build profile fixes
(the download server on 127.0.0.10, the download-address API on 127.0.0.11, the analytics
collector on 127.0.0.12), a recorder of the addresses that the shell is asked to open, the
setup program's files in the Wine prefix, and the happy road driven as a person would."""

import json
import os
import shutil
import subprocess
import tempfile
import time

from PIL import Image
from window_driver import green_run, log_messages, run, work_folder

HERE = os.path.dirname(os.path.abspath(__file__))
SERVERS = os.path.join(HERE, "..", "servers")
PYTHON = "/usr/bin/python3"

DOWNLOAD_HOST = "127.0.0.10"
API_HOST = "127.0.0.11"
COLLECTOR_HOST = "127.0.0.12"
# Where the package's configured download address (STR_DOWN_URL) points.
INSTALLER_PATH = "repavio/orbitane-repavio_setup.exe"
PRODUCT_FOLDER_PARTS = ("Program Files (x86)", "Orbitane", "Orbitane Repavio")

# Places in the 650x360 window, page 0: the buttons sit at the same spot in both skins, the
# licence box's face (beside its tick) does not.
INSTALL_BUTTON = (325, 207)
START_BUTTON = INSTALL_BUTTON
AGREE_BOX = {"ltr": (24, 331), "rtl": (323, 331)}
AGREE_GREEN = (0x33, 0xC0, 0x8D)

# The installer's record of its command line, next to its progress file.
COMMAND_LINE_FILE = "commandline.txt"


def prefix_path(*parts):
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", *parts)


def product_folder():
    return prefix_path(*PRODUCT_FOLDER_PARTS)


def fresh_start(title):
    """No work folder (log, download, records) of program |title| and no installed product."""
    shutil.rmtree(work_folder(title), ignore_errors=True)
    shutil.rmtree(product_folder(), ignore_errors=True)


def wait_until(condition, timeout, step=0.2):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return condition()


def trust_test_ca(build):
    """The prefix trusts the tests' CA, which signs the servers' certificates."""
    run("wine", os.path.join(build, "tests", "http", "tandrel-trust-test-ca.exe"))


def start_server(script, args, folder, name):
    ready = os.path.join(folder, name + ".ready")
    command = [PYTHON, os.path.join(SERVERS, script), *args, "--ready-file", ready,
               "--log", os.path.join(folder, name + ".log"), "--max-lifetime", "7200"]
    proc = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    if not wait_until(lambda: os.path.exists(ready) or proc.poll() is not None, 30, 0.05) \
            or proc.poll() is not None:
        stop(proc)
        raise RuntimeError("%s did not start; see %s.log in %s" % (script, name, folder))
    return proc


def stop(proc):
    if proc is not None and proc.poll() is None:
        proc.terminate()
        proc.wait(10)


class Services:
    """The three servers. The download server serves the signed sample installer at the
    configured address (more files with put()); the address API answers as answer_api() says;
    the collector records every report."""

    def __init__(self, build, folder=None):
        # A folder of its own goes with the services; one given by the caller stays.
        self.own_folder = folder is None
        self.folder = folder or tempfile.mkdtemp(prefix="install-flow-")
        os.makedirs(self.folder, exist_ok=True)
        self.root = os.path.join(self.folder, "files")
        self.signed = os.path.join(build, "tools", "sample-product", "signed",
                                   "orbitane-repavio_setup.exe")
        self.downloads_log = os.path.join(self.folder, "downloads.log")
        self.reports_path = os.path.join(self.folder, "analytics.jsonl")
        self.put(INSTALLER_PATH)
        cert_dir = os.path.join(build, "tests", "http", "testca")
        self.servers = []
        self.api = None
        try:
            self.servers.append(start_server("ranged_server.py", [
                "--address", DOWNLOAD_HOST, "--root", self.root, "--cert-dir", cert_dir,
                "--request-log", self.downloads_log], self.folder, "download-server"))
            self.servers.append(start_server("collector_server.py", [
                "--address", COLLECTOR_HOST, "--http-port", "0", "--cert-dir", cert_dir,
                "--request-log", self.reports_path], self.folder, "collector"))
        except Exception:
            for proc in self.servers:  # the folder stays, with the servers' logs
                stop(proc)
            raise

    def put(self, path, data=None):
        """Serves |data| (default: the signed sample installer) at /|path|."""
        target = os.path.join(self.root, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        if data is None:
            shutil.copyfile(self.signed, target)
        else:
            with open(target, "wb") as f:
                f.write(data)

    def installer_bytes(self):
        with open(self.signed, "rb") as f:
            return f.read()

    def answer_api(self, status=302, location=None):
        """The download-address API answers every request with |status| and a Location of
        |location| (default: the installer on the download server over plain HTTP); None as
        status leaves nothing listening."""
        stop(self.api)
        self.api = None
        if status is not None:
            location = location or "http://%s/%s" % (DOWNLOAD_HOST, INSTALLER_PATH)
            self.api = start_server("address_api.py", [
                "--address", API_HOST, "--status", str(status), "--location", location],
                self.folder, "address-api")

    def clear(self):
        """Forgets what the servers received so far."""
        for path in (self.downloads_log, self.reports_path):
            open(path, "w").close()

    def requests(self):
        """The download server's requests: (port, method, path) each."""
        if not os.path.exists(self.downloads_log):
            return []
        with open(self.downloads_log) as f:
            return [tuple(line.split("\t")[:3]) for line in f if line.strip()]

    def reports(self):
        """The collector's reports, as parsed JSON bodies, in the order received."""
        if not os.path.exists(self.reports_path):
            return []
        with open(self.reports_path, encoding="utf-8") as f:
            return [json.loads(json.loads(line)["body"]) for line in f if line.strip()]

    def events(self):
        return [report["events"][0]["name"] for report in self.reports()]

    def close(self):
        for proc in self.servers + [self.api]:
            stop(proc)
        if self.own_folder:
            shutil.rmtree(self.folder, ignore_errors=True)


class ShellRecorder:
    """While it is in use, addresses that the shell opens in the browser are appended to a file
    instead: Wine's shell hands them to winebrowser, which runs the first of its configured
    browsers, here a script of ours."""

    KEY = r"HKCU\Software\Wine\WineBrowser"

    def __init__(self, folder):
        self.path = os.path.join(folder, "opened.txt")
        self.script = os.path.join(folder, "browser.sh")
        with open(self.script, "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' % self.path)
        os.chmod(self.script, 0o755)

    def __enter__(self):
        run("wine", "reg", "add", self.KEY, "/v", "Browsers", "/d", self.script, "/f")
        return self

    def __exit__(self, *unused):
        run("wine", "reg", "delete", self.KEY, "/v", "Browsers", "/f", check=False)

    def opened(self):
        if not os.path.exists(self.path):
            return []
        with open(self.path) as f:
            return [line.rstrip("\n") for line in f]


def drive_install(program, title, direction="ltr", shots=None, timeout=120):
    """The happy road as a person goes it: the licence box is checked, Install is clicked, the
    progress page runs until the finish page, Start is clicked. |direction|: the skin's, "ltr"
    or "rtl"; |shots|: a folder for a screenshot of every state. Returns the bar's filled
    fraction as seen all along, and the messages of the log up to the finish."""
    with tempfile.TemporaryDirectory() as scratch:
        if shots:
            os.makedirs(shots, exist_ok=True)
        return _drive(program, title, direction, shots or scratch, timeout)


def _drive(program, title, direction, shots, timeout):
    def shot(name):
        path = os.path.join(shots, name + ".png")
        program.screenshot(path)
        return path

    def logged(marker):
        return any(m.startswith(marker) for m in log_messages(title))

    agree = Image.open(shot("1-home")).convert("RGB").getpixel(AGREE_BOX[direction])
    if max(abs(a - b) for a, b in zip(agree, AGREE_GREEN)) > 40:
        raise RuntimeError("the licence box is not checked: %r" % (agree,))
    program.click(*INSTALL_BUTTON)

    fills = []
    stages = [("UpdateWindowSate:kWindow_Downloading", "2-downloading"),
              ("UpdateWindowSate:kWindow_Installing", "3-installing")]
    bar_shown = None
    deadline = time.monotonic() + timeout
    while not logged("InstallExeFinish"):
        if time.monotonic() > deadline or program.proc.poll() is not None:
            raise RuntimeError("no finish page; the log ends %r" % log_messages(title)[-8:])
        if stages and logged(stages[0][0]):
            shot(stages.pop(0)[1])
        fills.append(green_run(program, direction))
        if not bar_shown and 0 < fills[-1] < 0.88:  # on its way through the download
            bar_shown = shot("2-downloading-bar")
    time.sleep(1)
    shot("4-finish")
    messages = log_messages(title)
    program.click(*START_BUTTON)
    return fills, messages
