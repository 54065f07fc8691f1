#!/usr/bin/python3
"""Download benchmark: the ranged downloader (httpget under Wine, 5 threads) against curl (one
connection) and aria2c (5 connections), natively, from the same local HTTPS test server.

Two scenarios, interleaved repetitions (the tool order rotates each round):
  throttled    the server limits every connection to --rate bytes/s (default 4 MiB/s), so
               five connections can reach at most 5 x rate;
  unthrottled  no limit: the cost of the client itself (Wine runs here under emulation).
Every result is checked by SHA-256. Printed: median wall time, the in-process download time
that httpget reports (event 0 to event 3, without Wine's start), throughput, its share of the
five-connection limit, ratios to aria2c and curl, CPU time and peak RSS (of the process tree
that wait4 reports: for Wine the emulated Windows process, not the shared wineserver).

Usage: bench/run_bench.py [--build build/win] [--size-mib 64] [--reps 3] [--rate 4194304]
                          [--plain]
--plain serves plain HTTP only (no TLS handshakes; the downloader's TLS attempt to port 443 is
refused at once and it falls back to port 80).
Needs: the httpget and tandrel-trust-test-ca targets built, WINEPREFIX set (a persistent
wineserver is started), curl and aria2c on PATH. Binds 127.0.0.39:80/443.
"""
import argparse
import hashlib
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(HERE)
ADDRESS = "127.0.0.39"
WORK = "/tmp/tandrel-bench"


def sha256(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


def run_measured(argv, env=None):
    """(wall seconds, cpu seconds, peak RSS MiB, exit code, stdout text)."""
    out_path = os.path.join(WORK, "stdout.txt")
    with open(out_path, "wb") as out:
        began = time.monotonic()
        proc = subprocess.Popen(argv, stdout=out, stderr=subprocess.DEVNULL,
                                stdin=subprocess.DEVNULL, env=env)
        _, status, usage = os.wait4(proc.pid, 0)
        wall = time.monotonic() - began
    proc.returncode = os.waitstatus_to_exitcode(status)
    with open(out_path, errors="replace") as f:
        text = f.read()
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024.0, proc.returncode, text


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--build", default=os.path.join(SOURCE, "build", "win"))
    p.add_argument("--size-mib", type=int, default=64)
    p.add_argument("--reps", type=int, default=3)
    p.add_argument("--rate", type=int, default=4 * 1024 * 1024)
    p.add_argument("--plain", action="store_true", help="plain HTTP instead of HTTPS")
    a = p.parse_args()

    build = os.path.abspath(a.build)
    httpget = os.path.join(build, "tools", "httpget", "httpget.exe")
    trust = os.path.join(build, "tests", "http", "tandrel-trust-test-ca.exe")
    cert_dir = os.path.join(build, "tests", "http", "testca")
    for tool in (httpget, trust):
        if not os.path.exists(tool):
            sys.exit("missing %s: build the httpget and tandrel-trust-test-ca targets" % tool)
    for tool in ("curl", "aria2c", "wine"):
        if not shutil.which(tool):
            sys.exit("missing %s" % tool)
    env = dict(os.environ, WINEDEBUG="-all")
    if "WINEPREFIX" not in env:
        sys.exit("set WINEPREFIX")

    shutil.rmtree(WORK, ignore_errors=True)
    root = os.path.join(WORK, "root")
    os.makedirs(root)
    served = os.path.join(root, "bench.bin")
    with open(served, "wb") as f:
        for _ in range(a.size_mib):
            f.write(os.urandom(1 << 20))
    size = os.path.getsize(served)
    expected = sha256(served)

    ready = os.path.join(WORK, "ready")
    server = subprocess.Popen(
        [sys.executable, os.path.join(SOURCE, "tests", "servers", "ranged_server.py"),
         "--address", ADDRESS, "--root", root, "--cert-dir", cert_dir, "--ready-file", ready,
         "--log", os.path.join(WORK, "server.log"), "--max-lifetime", "900",
         "--https-port", "0" if a.plain else "443"],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 30
        while not os.path.exists(ready):
            if time.monotonic() > deadline or server.poll() is not None:
                sys.exit("the test server did not start; see %s/server.log" % WORK)
            time.sleep(0.1)
        subprocess.run("wineserver -p >/dev/null 2>&1 </dev/null; "
                       "wine wineboot >/dev/null 2>&1 </dev/null", shell=True, env=env)
        subprocess.run(["wine", trust], env=env, check=True, stdout=subprocess.DEVNULL)
        ca = os.path.join(cert_dir, "ca.crt")
        out = os.path.join(WORK, "out.bin")
        out_win = "Z:" + out.replace("/", "\\")

        def tools(url):
            return {
                "httpget x5 (Wine)": ["wine", httpget, "--quiet", url, out_win, "5"],
                "aria2c -x5 -s5": ["aria2c", "-q", "-x5", "-s5", "-k1M", "--ca-certificate=" + ca,
                                   "--allow-overwrite=true", "--auto-file-renaming=false",
                                   "--file-allocation=none", "-d", WORK, "-o", "out.bin", url],
                "curl (1 conn)": ["curl", "-s", "--cacert", ca, "-o", out, url],
            }

        scheme = "http" if a.plain else "https"
        scenarios = [("throttled", "%s://%s/x/rate:%d/bench.bin" % (scheme, ADDRESS, a.rate)),
                     ("unthrottled", "%s://%s/bench.bin" % (scheme, ADDRESS))]
        results = {}
        for scenario, url in scenarios:
            commands = tools(url)
            names = list(commands)
            for rep in range(a.reps):
                order = names[rep % len(names):] + names[:rep % len(names)]
                for name in order:
                    if os.path.exists(out):
                        os.remove(out)
                    wall, cpu, rss, code, text = run_measured(commands[name], env)
                    ok = code == 0 and os.path.exists(out) and sha256(out) == expected
                    # httpget reports when the size was known (event 1) and the end (event 3).
                    marks = [float(x) for x in re.findall(r"\(([\d.]+) s measured\)", text)]
                    inner = marks[-1] if len(marks) == 2 else None
                    content = marks[1] - marks[0] if len(marks) == 2 else None
                    results.setdefault((scenario, name), []).append(
                        (wall, inner, cpu, rss, ok, content))
                    print("  %-11s %-18s rep %d: %6.2f s%s  sha256 %s" % (
                        scenario, name, rep + 1, wall,
                        " (%.2f s in-process, %.2f s after the size query)" % (inner, content)
                        if inner else "", "ok" if ok else "BAD"), flush=True)
    finally:
        server.send_signal(signal.SIGTERM)
        server.wait(10)

    mib = size / 1048576.0
    limit = 5 * a.rate / 1048576.0
    print()
    print("%s, file %.0f MiB, %d repetitions, medians; limit when throttled: %.0f MiB/s per "
          "connection, %.0f MiB/s for five" % ("plain HTTP" if a.plain else "HTTPS", mib, a.reps,
                                               a.rate / 1048576.0, limit))
    print("%-11s %-18s %7s %8s %9s %7s %9s %9s %7s %8s %8s %4s" % (
        "scenario", "tool", "wall s", "inproc s", "content s", "MiB/s", "of limit",
        "(content)", "CPU s", "RSS MiB", "vs aria", "sha"))
    all_ok = True
    for scenario, _ in scenarios:
        aria = statistics.median(r[0] for r in results[(scenario, "aria2c -x5 -s5")])
        for name in ["httpget x5 (Wine)", "aria2c -x5 -s5", "curl (1 conn)"]:
            rows = results[(scenario, name)]
            wall = statistics.median(r[0] for r in rows)
            inner = [r[1] for r in rows if r[1]]
            inner = statistics.median(inner) if inner else None
            content = [r[5] for r in rows if r[5]]
            content = statistics.median(content) if content else None
            best = inner or wall
            cpu = statistics.median(r[2] for r in rows)
            rss = max(r[3] for r in rows)
            ok = all(r[4] for r in rows)
            all_ok &= ok
            throttled = scenario == "throttled"
            share = "%.2f" % (mib / best / limit) if throttled else "-"
            content_share = "%.2f" % (mib / content / limit) if throttled and content else "-"
            print("%-11s %-18s %7.2f %8s %9s %7.1f %9s %9s %7.2f %8.1f %8.2f %4s" % (
                scenario, name, wall, "%.2f" % inner if inner else "-",
                "%.2f" % content if content else "-", mib / best, share, content_share, cpu,
                rss, aria / wall, "ok" if ok else "BAD"))
    print("inproc = event 0 to event 3 inside httpget (no Wine start); content = event 1 to 3"
          " (after the size query).\nMiB/s and 'of limit' use inproc where there is one, else"
          " wall; 'vs aria' = aria2c's wall / this tool's wall (above 1 is faster).")
    return 0 if all_ok else 1


if __name__ == "__main__":
    sys.exit(main())
