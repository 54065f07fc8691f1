#!/usr/bin/python3
"""A file server for download tests: HEAD with Content-Length, GET with one byte range, plain
HTTP and the same behind TLS, and faults chosen per request through the URL path.

URLs:
  /NAME                     the file ROOT/NAME, served normally (ETag, Last-Modified, If-Range)
  /x/MODES/NAME             the same file with faults; MODES is a comma-separated list:
    tag:ANY                   ignored; makes a URL (and so its once-only state) unique
    drop:START:BYTES:TIMES    a GET whose range starts at START ("*" any GET) announces its full
                              length, sends BYTES body bytes and closes the connection; TIMES is
                              a count or "always"
    ignore-range:START:TIMES  such a GET gets 200 and the whole file, as if Range were unknown
                              (with "*:always" no answer carries Accept-Ranges either)
    stall:START:BYTES:SECONDS[:TIMES]  such a GET pauses SECONDS after BYTES body bytes
    overlong:START:BYTES:TIMES such a GET gets its range plus BYTES stray 0xEE bytes, with a
                              Content-Length that covers them (a faulty server or proxy)
    wrong-bytes:START:TIMES   such a GET gets 206 with the right length, but the bytes and the
                              Content-Range of the range one byte further on
    status:CODE               every request is answered CODE with a short HTML page
    head-status:CODE          only HEAD requests are answered CODE
    announce:BYTES            HEAD requests announce a Content-Length of BYTES (a file far larger
                              than any disk, for example)
    busy:COUNT:AFTER          the first COUNT requests get 503 with "Retry-After: AFTER"; AFTER
                              "dateN" sends the HTTP date N seconds from now
    switch:K                  request number K (0 = the first, HEAD or GET) and every later one
                              are served from NAME.v2, another version of the file
    flip                      the version alternates with every request (NAME, NAME.v2, ...)
    no-if-range               If-Range is not looked at
    no-validators             no ETag and no Last-Modified
    no-length                 HEAD and GET carry no Content-Length (GET bodies end at close)
    no-length-head            only HEAD carries no Content-Length
    rate:BYTES_PER_SECOND     per-connection rate limit for this request
    slow-conn:K:BYTES_PER_SECOND  the K-th connection (1 = the first) whose first request for
                              this URL is a ranged GET is limited to this rate for its life

Every request is appended to the request log as one tab-separated line:
  port  method  path  range-header  user-agent  status  body-bytes-sent  header-names  if-range

CLI: ranged_server.py --address A --root DIR [--http-port 80] [--https-port 443]
     [--cert-dir DIR] [--rate BPS] [--request-log FILE] [--ready-file FILE] [--log FILE]
     [--max-lifetime SECONDS]
The ready file gets the server's PID once every port listens; it is removed when the server
ends (SIGTERM or SIGINT). The server also ends by itself after --max-lifetime seconds, so a test
that crashed cannot leave it behind for long.
"""
import argparse
import email.utils
import http.server
import os
import re
import socket
import socketserver
import sys
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import serverlife  # noqa: E402
import tlsserving  # noqa: E402

CHUNK = 64 * 1024


class FaultState:
    """Counts how often each once-only fault has fired, per URL and range start."""

    def __init__(self):
        self.lock = threading.Lock()
        self.fired = {}

    def next_number(self, key):
        """0, 1, 2, ... for successive calls with the same key."""
        with self.lock:
            number = self.fired.get(key, 0)
            self.fired[key] = number + 1
            return number

    def take(self, key, times):
        with self.lock:
            count = self.fired.get(key, 0)
            if times != "always" and count >= int(times):
                return False
            self.fired[key] = count + 1
            return True


def parse_modes(text):
    modes = []
    for item in text.split(","):
        if item:
            parts = item.split(":")
            modes.append((parts[0], parts[1:]))
    return modes


def parse_range(header, size):
    """(first, last) inclusive, None when absent or not one satisfiable byte range."""
    m = re.fullmatch(r"\s*bytes\s*=\s*(\d*)\s*-\s*(\d*)\s*", header or "")
    if not m or (m.group(1) == "" and m.group(2) == ""):
        return None
    if m.group(1) == "":
        n = int(m.group(2))
        return (max(size - n, 0), size - 1) if n > 0 else "bad"
    first = int(m.group(1))
    last = int(m.group(2)) if m.group(2) else size - 1
    if first > last or first >= size:
        return "bad"
    return first, min(last, size - 1)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "RangedTestServer/1.0"

    def log_message(self, *args):
        pass

    def setup(self):
        super().setup()
        self.connection_rate = None  # set for a connection paced by slow-conn
        self.connection_counted = False

    def do_HEAD(self):
        self.serve(head=True)

    def do_GET(self):
        self.serve(head=False)

    def record(self, status, sent):
        cfg = self.server.config
        if not cfg.request_log:
            return
        line = "\t".join([str(self.server.server_address[1]), self.command, self.path,
                          self.headers.get("Range", ""), self.headers.get("User-Agent", ""),
                          str(status), str(sent), ",".join(self.headers.keys()),
                          self.headers.get("If-Range", "")])
        with cfg.log_lock, open(cfg.request_log, "a") as f:
            f.write(line + "\n")

    def simple(self, status, text, head, extra_headers=()):
        body = ("<html><body><h1>%d</h1><p>%s</p></body></html>" % (status, text)).encode()
        self.send_response(status)
        self.send_header("Content-Type", "text/html")
        for name, value in extra_headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if not head:
            self.wfile.write(body)
        self.record(status, 0 if head else len(body))

    def serve(self, head):
        cfg = self.server.config
        path = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        modes = []
        m = re.fullmatch(r"/x/([^/]*)/(.+)", path)
        if m:
            modes, path = parse_modes(m.group(1)), "/" + m.group(2)
        name = path.lstrip("/")
        file_path = os.path.realpath(os.path.join(cfg.root, name))
        if not file_path.startswith(os.path.realpath(cfg.root) + os.sep):
            return self.simple(403, "outside the root", head)
        names = {mode: args for mode, args in modes}
        number = cfg.faults.next_number((self.path, "requests"))
        for mode, args in modes:
            if mode == "status" or (mode == "head-status" and head):
                return self.simple(int(args[0]), "fault mode", head)
            if mode == "busy" and number < int(args[0]):
                after = args[1]
                if after.startswith("date"):
                    after = email.utils.formatdate(time.time() + int(after[4:]), usegmt=True)
                return self.simple(503, "busy", head, [("Retry-After", after)])
        if "switch" in names and number >= int(names["switch"][0]):
            file_path += ".v2"
        elif "flip" in names and number % 2 == 1:
            file_path += ".v2"
        if not os.path.isfile(file_path):
            return self.simple(404, "not found", head)
        size = os.path.getsize(file_path)
        no_length = "no-length" in names or (head and "no-length-head" in names)
        rate = cfg.rate
        for mode, args in modes:
            if mode == "rate":
                rate = int(args[0])
        if ("slow-conn" in names and not head and self.headers.get("Range")
                and not self.connection_counted):
            self.connection_counted = True
            k, slow_rate = names["slow-conn"]
            if cfg.faults.next_number((self.path, "connections")) + 1 == int(k):
                self.connection_rate = int(slow_rate)
        rate = self.connection_rate or rate
        validators = [] if "no-validators" in names else self.validators(file_path)
        never_ranges = names.get("ignore-range") == ["*", "always"]

        rng = None if head else parse_range(self.headers.get("Range"), size)
        start = rng[0] if isinstance(rng, tuple) else None
        drop_after = stall = None
        extra = shift = 0
        for mode, args in modes:
            if head or not self.headers.get("Range"):
                break
            selects = args and (args[0] == "*" or (start is not None and args[0] == str(start)))
            if not selects:
                continue
            key = (self.path, start, mode)
            if mode == "ignore-range" and cfg.faults.take(key, args[1]):
                rng = None
            elif mode == "drop" and cfg.faults.take(key, args[2]):
                drop_after = int(args[1])
            elif mode == "overlong" and cfg.faults.take(key, args[2]):
                extra = int(args[1])
            elif mode == "stall" and cfg.faults.take(key, args[3] if len(args) > 3 else "always"):
                stall = (int(args[1]), float(args[2]))
            elif mode == "wrong-bytes" and cfg.faults.take(key, args[1]):
                shift = 1

        if rng == "bad":
            self.send_response(416)
            self.send_header("Content-Range", "bytes */%d" % size)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return self.record(416, 0)
        if rng is None:
            status, first, last = 200, 0, size - 1
        else:
            status, (first, last) = 206, rng
            if shift and last + shift < size:
                first, last = first + shift, last + shift
        length = last - first + 1
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        if not never_ranges:
            self.send_header("Accept-Ranges", "bytes")
        for name, value in validators:
            self.send_header(name, value)
        if status == 206:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (first, last, size))
        if no_length:
            self.send_header("Connection", "close")
            self.close_connection = True
        elif head and "announce" in names:
            self.send_header("Content-Length", names["announce"][0])
        else:
            self.send_header("Content-Length", str(length + extra))
        self.end_headers()
        if head:
            return self.record(status, 0)
        sent = self.send_body(file_path, first, length, rate, drop_after, stall)
        if extra and sent == length:
            self.wfile.write(b"\xee" * extra)
            sent += extra
        self.record(status, sent)
        if drop_after is not None and sent < length:
            self.close_connection = True
            try:
                self.wfile.flush()
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    @staticmethod
    def validators(file_path):
        """ETag and Last-Modified of one version; NAME.v2 is always newer than NAME."""
        stat = os.stat(file_path)
        modified = stat.st_mtime
        if file_path.endswith(".v2") and os.path.exists(file_path[:-3]):
            modified = max(modified, os.stat(file_path[:-3]).st_mtime + 1)
        etag = '"%x-%x-%s"' % (stat.st_size, stat.st_mtime_ns, os.path.basename(file_path))
        return [("ETag", etag), ("Last-Modified", email.utils.formatdate(modified, usegmt=True))]

    def send_body(self, file_path, first, length, rate, drop_after, stall):
        sent = 0
        began = time.monotonic()
        limit = length if drop_after is None else min(length, drop_after)
        with open(file_path, "rb") as f:
            f.seek(first)
            while sent < limit:
                want = min(CHUNK, limit - sent)
                if stall and sent < stall[0]:
                    want = min(want, stall[0] - sent)
                data = f.read(want)
                if not data:
                    break
                try:
                    self.wfile.write(data)
                except OSError:
                    break
                sent += len(data)
                if stall and sent == stall[0]:
                    self.wfile.flush()
                    time.sleep(stall[1])
                if rate:
                    ahead = sent / rate - (time.monotonic() - began)
                    if ahead > 0:
                        time.sleep(ahead)
        return sent


class Server(tlsserving.TlsServing, socketserver.ThreadingMixIn, http.server.HTTPServer):
    def __init__(self, address, config, tls_context=None):
        self.config = config
        self.tls_context = tls_context
        super().__init__(address, Handler)


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    tlsserving.add_server_arguments(p, serves_files=True)
    serverlife.add_life_arguments(p)
    a = p.parse_args()
    serverlife.detach_stdio(a.log)

    config = argparse.Namespace(root=a.root, rate=a.rate, request_log=a.request_log,
                                log_lock=threading.Lock(), faults=FaultState())
    servers = tlsserving.make_servers(p, a, lambda address, tls: Server(address, config, tls))
    serverlife.serve_until_stopped(
        servers, a.ready_file, a.max_lifetime,
        "serving %s on %s" % (a.root, [s.server_address for s in servers]))


if __name__ == "__main__":
    main()
