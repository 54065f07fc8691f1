#!/usr/bin/python3
"""Download benchmark: the ranged downloader (httpget under Wine, 5 threads; the 64-bit build,
which Wine runs without emulation, and the 32-bit build of the setup program) against
aria2c -x5 -s5 and curl (one connection), natively, from the local test server.

Both protocols (plain HTTP and HTTPS) and three scenarios, with interleaved repetitions (the
tool order rotates each round):
  even        the server limits every connection to --rate bytes/s (default 4 MiB/s), so five
              connections can reach at most 5 x rate;
  one slow    the same, but one connection (the second that asks for a range) gets only
              rate / --slow-factor: a fixed fifth of the file per connection would wait for it;
  unthrottled no limit: the cost of the client itself.
Every result is checked by SHA-256. Printed: median time (for httpget its own from the start
of work to the end, as it reports it, without Wine's start; for the native tools the wall
time), throughput, share of the five-connection limit, ratio to aria2c, CPU time and peak RSS
(of the process tree that wait4 reports: for Wine the Windows process, not the wineserver).

Usage: bench/run_bench.py [--build build/win] [--build64 build/win64] [--size-mib 64]
                          [--reps 3] [--rate 4194304] [--slow-factor 8] [--no-curl]
It builds httpget for x86_64 in --build64 (configured with cmake/mingw64.cmake; tools/test.sh
never builds there) and httpget plus tandrel-trust-test-ca in --build. Needs WINEPREFIX (a
persistent wineserver is started), aria2c and curl on PATH. Binds 127.0.0.39 (HTTPS) and
127.0.0.40 (plain HTTP): run it inside `unshare -n` beside other users of loopback.
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
WORK = "/tmp/tandrel-bench"
HOSTS = {"https": "127.0.0.39", "http": "127.0.0.40"}


def sha256(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


def build(folder, toolchain, targets):
    if not os.path.exists(os.path.join(folder, "build.ninja")):
        subprocess.run(["cmake", "-S", SOURCE, "-B", folder, "-G", "Ninja",
                        "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(SOURCE, "cmake", toolchain),
                        "-DCMAKE_BUILD_TYPE=Release", "-DTANDREL_PROFILE=local"],
                       check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", folder, "--target", *targets], check=True,
                   stdout=subprocess.DEVNULL)


def run_measured(argv, env):
    """(wall seconds, cpu seconds, peak RSS MiB, exit code, stdout text)."""
    out_path = os.path.join(WORK, "stdout.txt")
    with open(out_path, "wb") as out:
        began = time.monotonic()
        proc = subprocess.Popen(argv, stdout=out, stderr=subprocess.DEVNULL,
                                stdin=subprocess.DEVNULL, env=env)
        _, status, usage = os.wait4(proc.pid, 0)
        wall = time.monotonic() - began
    with open(out_path, errors="replace") as f:
        text = f.read()
    return (wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024.0,
            os.waitstatus_to_exitcode(status), text)


def start_server(scheme, root, cert_dir):
    host = HOSTS[scheme]
    ready = os.path.join(WORK, "ready-" + scheme)
    ports = ["--http-port", "0"] if scheme == "https" else ["--https-port", "0"]
    server = subprocess.Popen(
        [sys.executable, os.path.join(SOURCE, "tests", "servers", "ranged_server.py"),
         "--address", host, "--root", root, "--cert-dir", cert_dir, "--ready-file", ready,
         "--log", os.path.join(WORK, "server-%s.log" % scheme), "--max-lifetime", "3600",
         *ports], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 30
    while not os.path.exists(ready):
        if time.monotonic() > deadline or server.poll() is not None:
            sys.exit("the test server did not start; see %s/server-%s.log" % (WORK, scheme))
        time.sleep(0.1)
    return server


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--build", default=os.path.join(SOURCE, "build", "win"))
    p.add_argument("--build64", default=os.path.join(SOURCE, "build", "win64"))
    p.add_argument("--size-mib", type=int, default=64)
    p.add_argument("--reps", type=int, default=3)
    p.add_argument("--rate", type=int, default=4 * 1024 * 1024)
    p.add_argument("--slow-factor", type=int, default=8)
    p.add_argument("--no-curl", action="store_true")
    a = p.parse_args()

    for tool in ("aria2c", "wine") + (() if a.no_curl else ("curl",)):
        if not shutil.which(tool):
            sys.exit("missing %s" % tool)
    env = dict(os.environ, WINEDEBUG="-all")
    if "WINEPREFIX" not in env:
        sys.exit("set WINEPREFIX")
    build32, build64 = os.path.abspath(a.build), os.path.abspath(a.build64)
    build(build32, "mingw32.cmake", ["httpget", "tandrel-trust-test-ca"])
    build(build64, "mingw64.cmake", ["httpget"])
    httpget32 = os.path.join(build32, "tools", "httpget", "httpget.exe")
    httpget64 = os.path.join(build64, "tools", "httpget", "httpget.exe")
    trust = os.path.join(build32, "tests", "http", "tandrel-trust-test-ca.exe")
    cert_dir = os.path.join(build32, "tests", "http", "testca")

    shutil.rmtree(WORK, ignore_errors=True)
    root = os.path.join(WORK, "root")
    os.makedirs(root)
    served = os.path.join(root, "bench.bin")
    with open(served, "wb") as f:
        for _ in range(a.size_mib):
            f.write(os.urandom(1 << 20))
    size = os.path.getsize(served)
    expected = sha256(served)
    mib = size / 1048576.0

    servers = []
    results = {}
    slow_rate = a.rate // a.slow_factor
    scenarios = [("even", "rate:%d" % a.rate),
                 ("one slow", "rate:%d,slow-conn:2:%d" % (a.rate, slow_rate)),
                 ("unthrottled", "")]
    names = ["httpget x64 (Wine)", "httpget x86 (Wine)", "aria2c -x5 -s5"]
    if not a.no_curl:
        names.append("curl (1 conn)")
    try:
        for scheme in ("http", "https"):
            servers.append(start_server(scheme, root, cert_dir))
        subprocess.run("wineserver -p >/dev/null 2>&1 </dev/null; "
                       "wine wineboot >/dev/null 2>&1 </dev/null", shell=True, env=env)
        subprocess.run(["wine", trust], env=env, check=True, stdout=subprocess.DEVNULL)
        ca = os.path.join(cert_dir, "ca.crt")
        out = os.path.join(WORK, "out.bin")
        out_win = "Z:" + out.replace("/", "\\")

        def command(name, url):
            if name.startswith("httpget"):
                exe = httpget64 if "x64" in name else httpget32
                return ["wine", exe, "--quiet", url, out_win, "5"]
            if name.startswith("aria2c"):
                return ["aria2c", "-q", "-x5", "-s5", "-k1M", "--ca-certificate=" + ca,
                        "--allow-overwrite=true", "--auto-file-renaming=false",
                        "--file-allocation=none", "-d", WORK, "-o", "out.bin", url]
            return ["curl", "-s", "--cacert", ca, "-o", out, url]

        run = 0
        for scheme in ("http", "https"):
            for scenario, modes in scenarios:
                for rep in range(a.reps):
                    order = names[rep % len(names):] + names[:rep % len(names)]
                    for name in order:
                        run += 1
                        # A fresh URL per run: the slow connection is counted per URL.
                        path = "x/%s/bench.bin" % ",".join(filter(None, [modes, "tag:%d" % run]))
                        url = "%s://%s/%s" % (scheme, HOSTS[scheme], path)
                        if os.path.exists(out):
                            os.remove(out)
                        wall, cpu, rss, code, text = run_measured(command(name, url), env)
                        ok = code == 0 and os.path.exists(out) and sha256(out) == expected
                        # httpget reports the end (event 3) from its own start of work.
                        marks = re.findall(r"result 0 after \d+ s \(([\d.]+) s measured\)", text)
                        inner = float(marks[-1]) if marks else None
                        results.setdefault((scheme, scenario, name), []).append(
                            (inner or wall, wall, cpu, rss, ok))
                        print("  %-5s %-11s %-18s rep %d: %6.2f s%s  sha256 %s" % (
                            scheme, scenario, name, rep + 1, wall,
                            " (%.2f s from its start of work)" % inner if inner else "",
                            "ok" if ok else "BAD"), flush=True)
    finally:
        for server in servers:
            server.send_signal(signal.SIGTERM)
            server.wait(10)

    limit = 5 * a.rate / 1048576.0
    print()
    print("file %.0f MiB, %d repetitions, medians; throttled: %.0f MiB/s per connection "
          "(%.0f MiB/s for five), the slow one %.2f MiB/s" % (
              mib, a.reps, a.rate / 1048576.0, limit, slow_rate / 1048576.0))
    print("%-5s %-11s %-18s %7s %7s %7s %8s %7s %7s %8s %4s" % (
        "proto", "scenario", "tool", "time s", "wall s", "MiB/s", "of limit", "CPU s",
        "RSS MiB", "vs aria", "sha"))
    all_ok = True
    for scheme in ("http", "https"):
        for scenario, _ in scenarios:
            aria = statistics.median(r[0] for r in results[(scheme, scenario, names[2])])
            for name in names:
                rows = results[(scheme, scenario, name)]
                best = statistics.median(r[0] for r in rows)
                wall = statistics.median(r[1] for r in rows)
                cpu = statistics.median(r[2] for r in rows)
                rss = max(r[3] for r in rows)
                ok = all(r[4] for r in rows)
                all_ok &= ok
                share = "%.2f" % (mib / best / limit) if scenario == "even" else "-"
                print("%-5s %-11s %-18s %7.2f %7.2f %7.1f %8s %7.2f %7.1f %8.2f %4s" % (
                    scheme, scenario, name, best, wall, mib / best, share, cpu, rss,
                    aria / best, "ok" if ok else "BAD"))
    print("time = httpget's own time from its start of work to the end (no Wine start), the "
          "wall time for the native tools;\n'RSS MiB' = the largest peak of the repetitions; "
          "'vs aria' = aria2c's time / this tool's time (1 or more: at least as fast).")
    return 0 if all_ok else 1


if __name__ == "__main__":
    sys.exit(main())
