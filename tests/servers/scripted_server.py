#!/usr/bin/python3
"""A raw HTTP/1.1 server whose answers are scripted by the request path, for client tests: exact
bytes, segment boundaries, early closes, silence and garbage. Plain HTTP and the same behind TLS.

Paths (query parameters in brackets; every path answers GET and POST alike):
  /body?len=N[&status=S][&cl=0][&split=1][&early=M][&close=1]
        status S (200) with N body bytes, byte i being i % 251. cl=0 leaves out Content-Length
        and closes after the body; split=1 sends the header and body in several segments, the
        blank line itself cut in two; early=M announces N but sends M bytes and closes;
        close=1 answers with "Connection: close" and closes.
  /redirect?to=URL[&status=302]   a redirect to URL with a short body
  /loop                           302 to /loop, for ever
  /silent                         reads the request and never answers (10 minutes)
  /random?seed=N                  a malformed or random answer chosen by N, then close
Anything else is 404.

Every request is appended to the request log as "req TAB conn TAB port TAB method TAB target
TAB hex", hex being the exact bytes of that request; when a connection ends, "conn TAB conn TAB
port TAB hex" with every byte received on it.

CLI: scripted_server.py --address A [--http-port 80] [--https-port 443] [--cert-dir DIR]
     [--request-log FILE] [--ready-file FILE] [--log FILE] [--max-lifetime S]
     (--root and --rate are accepted and ignored). The ready file gets the PID once every port
     listens.
"""
import argparse
import itertools
import os
import random
import socket
import socketserver
import ssl
import sys
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import serverlife  # noqa: E402
import tlsserving  # noqa: E402

REASONS = {200: "OK", 301: "Moved Permanently", 302: "Found", 400: "Bad Request",
           404: "Not Found", 500: "Internal Server Error"}
MAX_HEADER = 65536


def body_bytes(n):
    pattern = bytes(range(251))
    return (pattern * (n // 251 + 1))[:n]


class Connection:
    """One accepted connection: its id, received bytes and the request parser."""
    ids = itertools.count(1)

    def __init__(self, sock, server):
        self.sock = sock
        self.server = server
        self.id = next(Connection.ids)
        self.port = server.server_address[1]
        self.pending = b""
        self.received = b""

    def recv_more(self):
        data = self.sock.recv(65536)
        self.received += data
        self.pending += data
        return bool(data)

    def read_request(self):
        """(method, target, headers, raw) or None when the client closed."""
        while True:
            # Blank lines before a request are allowed and skipped.
            self.pending = self.pending.lstrip(b"\r\n")
            end = self.pending.find(b"\r\n\r\n")
            if end >= 0:
                break
            if len(self.pending) > MAX_HEADER or not self.recv_more():
                return None
        head = self.pending[:end].decode("latin-1")
        lines = head.split("\r\n")
        parts = lines[0].split(" ")
        headers = {}
        for line in lines[1:]:
            name, _, value = line.partition(":")
            headers.setdefault(name.strip().lower(), value.strip())
        length = int(headers.get("content-length", "0") or 0)
        while len(self.pending) < end + 4 + length:
            if not self.recv_more():
                return None
        raw = self.pending[:end + 4 + length]
        self.pending = self.pending[end + 4 + length:]
        return parts[0], parts[1] if len(parts) > 1 else "", headers, raw

    def send(self, *pieces, pause=0.0):
        for i, piece in enumerate(pieces):
            if i and pause:
                time.sleep(pause)
            self.sock.sendall(piece)


def head(status, fields):
    lines = ["HTTP/1.1 %d %s" % (status, REASONS.get(status, "Status"))]
    lines += ["%s: %s" % field for field in fields]
    return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1")


def random_answer(seed):
    r = random.Random(seed)
    kind = r.randrange(6)
    if kind == 0:
        return r.randbytes(r.randrange(1, 9000))
    status_line = r.choice([b"HTTP/1.1 200 OK", b"HTTP/1.1 302 Found", b"HTTP/1.1 400 Bad",
                            b"HTTP/1.1 404", b"HTTP/1.0 500 X Y Z", b"HTTP/1.1", b"",
                            b"HTTP/1.1 99999999999 Big", b"\x00\x01 \xff\xfe 7"])
    fields = [r.choice([b"Content-Length: %d" % r.randrange(-5, 20000),
                        b"Content-Length: 12abc", b"content-length: 10",
                        b"Content-Length: 99999999999999999999", b"NoColonLine", b":empty",
                        b"Location: /random?seed=%d" % (seed + 100000), b"Location: \x00bad",
                        b"Location: http://", b"Transfer-Encoding: chunked", b"Connection: close",
                        b"X-" + r.randbytes(r.randrange(0, 40))])
              for _ in range(r.randrange(0, 8))]
    header = b"\r\n".join([status_line] + fields) + b"\r\n\r\n"
    if kind == 5:
        header = b"X-Long: " + b"a" * 70000 + b"\r\n" + header
    body = r.randbytes(r.randrange(0, 20000))
    return header + body


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        conn = Connection(self.request, self.server)
        try:
            while True:
                request = conn.read_request()
                if request is None:
                    break
                method, target, _, raw = request
                self.server.record("req", conn.id, conn.port, method, target, raw.hex())
                if not self.answer(conn, target):
                    break
        except (OSError, ssl.SSLError, ValueError):
            pass
        finally:
            self.server.record("conn", conn.id, conn.port, conn.received.hex())

    def answer(self, conn, target):
        """Sends the scripted answer; False when the connection must end."""
        url = urllib.parse.urlsplit(target)
        query = {k: v[0] for k, v in urllib.parse.parse_qs(url.query).items()}
        if url.path == "/body":
            return self.body(conn, query)
        if url.path == "/redirect":
            moved = b"moved"
            conn.send(head(int(query.get("status", "302")),
                           [("Location", query.get("to", "/")), ("Content-Length", len(moved))])
                      + moved)
            return True
        if url.path == "/loop":
            conn.send(head(302, [("Location", "/loop"), ("Content-Length", 0)]))
            return True
        if url.path == "/silent":
            conn.sock.settimeout(600)
            while conn.recv_more():
                pass
            return False
        if url.path == "/random":
            conn.send(random_answer(int(query.get("seed", "0"))))
            return False
        missing = b"not found"
        conn.send(head(404, [("Content-Length", len(missing))]) + missing)
        return True

    def body(self, conn, query):
        n = int(query.get("len", "0"))
        status = int(query.get("status", "200"))
        with_length = query.get("cl", "1") != "0"
        close = not with_length or query.get("close") == "1" or "early" in query
        fields = [("Content-Type", "application/octet-stream")]
        if with_length:
            fields.append(("Content-Length", n))
        if close:
            fields.append(("Connection", "close"))
        header = head(status, fields)
        body = body_bytes(n)[:int(query.get("early", n))]
        if query.get("split") == "1":
            conn.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            third = len(body) // 3
            conn.send(header[:-3], header[-3:] + body[:third], body[third:2 * third],
                      body[2 * third:], pause=0.2)
        else:
            conn.send(header + body)
        if close:
            conn.sock.shutdown(socket.SHUT_WR)
            # Let the client read everything before the socket goes away.
            conn.sock.settimeout(10)
            while conn.recv_more():
                pass
        return not close


class Server(tlsserving.TlsServing, socketserver.ThreadingMixIn, socketserver.TCPServer):
    def __init__(self, address, log, tls_context=None):
        self.log = log
        self.tls_context = tls_context
        super().__init__(address, Handler)

    def record(self, *fields):
        if self.log.path:
            with self.log.lock, open(self.log.path, "a") as f:
                f.write("\t".join(str(x) for x in fields) + "\n")


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    tlsserving.add_server_arguments(p)
    serverlife.add_life_arguments(p)
    a = p.parse_args()
    serverlife.detach_stdio(a.log)

    log = argparse.Namespace(path=a.request_log, lock=threading.Lock())
    servers = tlsserving.make_servers(p, a, lambda address, tls: Server(address, log, tls))
    serverlife.serve_until_stopped(servers, a.ready_file, a.max_lifetime,
                                   "serving on %s" % [s.server_address for s in servers])


if __name__ == "__main__":
    main()
