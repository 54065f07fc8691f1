#!/usr/bin/python3
"""The demo once the program is built (tools/demo.sh runs it with the Wine prefix and a display
ready): the local stand-in of the maker's services (tests/window/flow_world.py: the download
server with the signed sample installer, the download-address API answering 302 with its
address, the HTTPS analytics collector), then tandrel-download.exe under Wine. With
--interactive a person clicks on their own display; otherwise the install is driven with
xdotool (licence box checked, Install, wait, Start) and every state is saved as a screenshot.
It ends by printing where the installed product, the analytics reports and the log are."""

import argparse
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "window"))
import flow_world as world  # noqa: E402
from window_driver import Program, run, work_folder  # noqa: E402

TITLE = "tandrel-download"
SLOW_RATE = 15000  # bytes per second


def say(text):
    print("demo: " + text, flush=True)


def drive(exe, shots, direction):
    with Program(exe) as program:
        world.drive_install(program, TITLE, direction, shots)
        program.wait_exit(20)
    # Start launched the product.
    windows = world.wait_until(lambda: run("xdotool", "search", "--onlyvisible", "--name",
                                           "^Orbitane Repavio [0-9]", check=False).split(), 30)
    if windows:
        time.sleep(1)
        run("import", "-window", windows[0], os.path.join(shots, "5-product.png"))
    say("screenshots of every state in %s" % shots)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", required=True, help="the Windows build folder")
    parser.add_argument("--out", required=True, help="folder for screenshots, logs and reports")
    parser.add_argument("--interactive", action="store_true", help="a person clicks")
    args = parser.parse_args()
    build, out = os.path.abspath(args.build), os.path.abspath(args.out)
    exe = os.path.join(build, "tandrel-download.exe")

    world.fresh_start(TITLE)
    world.trust_test_ca(build)
    services = world.Services(build, os.path.join(out, "service"))
    try:
        # One of the five connections is slow, so that the progress can be watched.
        services.answer_api(location="http://%s/x/slow-conn:1:%d/%s"
                            % (world.DOWNLOAD_HOST, SLOW_RATE, world.INSTALLER_PATH))
        say("services up: installer on %s, download-address API on %s, analytics on %s"
            % (world.DOWNLOAD_HOST, world.API_HOST, world.COLLECTOR_HOST))
        if args.interactive:
            say("tandrel-download.exe started: install, then close it or click Start")
            subprocess.run(["wine", exe], stdin=subprocess.DEVNULL)
        else:
            # No person to read them: the pages the program opens in the browser are listed.
            with world.ShellRecorder(services.folder) as shell:
                rtl = os.environ.get("LC_ALL", "").startswith("ar")
                drive(exe, os.path.join(out, "screenshots"), "rtl" if rtl else "ltr")
            for page in shell.opened():
                say("opened in the browser: %s" % page)
    finally:
        services.close()
    say("installed product: %s" % world.product_folder())
    say("analytics reports (one JSON line each): %s" % services.reports_path)
    say("the program's log: %s" % os.path.join(work_folder(TITLE), "Log", "tandrel_down.log"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
