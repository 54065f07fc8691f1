#!/usr/bin/python3
"""The life of a local test server started from a Wine test process: detached from the
starter's stdio, a ready file holding its PID while it listens, and an end on SIGTERM, SIGINT or
after a maximum lifetime (so that a test that crashed cannot leave it behind for long).
"""
import os
import signal
import threading
import time


def add_life_arguments(parser):
    parser.add_argument("--ready-file")
    parser.add_argument("--log", help="stdout and stderr go here (default: /dev/null)")
    parser.add_argument("--max-lifetime", type=float, default=0)


def detach_stdio(log_path):
    """A test runner reading the starter's output through a pipe would otherwise wait for this
    server too."""
    out = os.open(log_path or os.devnull, os.O_WRONLY | os.O_CREAT | os.O_APPEND, 0o644)
    nul = os.open(os.devnull, os.O_RDONLY)
    os.dup2(nul, 0)
    os.dup2(out, 1)
    os.dup2(out, 2)
    for fd in {nul, out} - {0, 1, 2}:
        os.close(fd)


def serve_until_stopped(servers, ready_file, max_lifetime, banner):
    """Serves every server on its own thread, writes the ready file and never returns."""
    def stop(*_):
        if ready_file:
            try:
                os.remove(ready_file)
            except OSError:
                pass
        os._exit(0)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    for s in servers:
        threading.Thread(target=s.serve_forever, daemon=True).start()
    if ready_file:
        tmp = ready_file + ".tmp"
        with open(tmp, "w") as f:
            f.write("%d\n" % os.getpid())
        os.replace(tmp, ready_file)
    print(banner, flush=True)
    deadline = time.monotonic() + max_lifetime if max_lifetime > 0 else None
    while deadline is None or time.monotonic() < deadline:
        time.sleep(0.5)
    stop()
