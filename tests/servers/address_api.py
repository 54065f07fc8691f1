#!/usr/bin/python3
"""A local stand-in of the maker's download-address API, for tests and the demo: it answers a
plain HTTP GET with a redirect to the product's full installer, or with the answer that a test
asks for in the URL.

URLs (the "/answer/" part may follow other path segments):
  /answer/CODE[/...][?location=URL]  answer with status CODE and a short HTML body; a 3xx answer
                                     carries "Location: URL" (--location when the query has no
                                     location; an empty location= sends no Location header)
  /answer/close[/...]                read the request, then close the connection without answering
  anything else                      the API's own answer: --status (302) with --location

Every request is appended to the request log as one tab-separated line:
  method  path  host-header  user-agent  header-names

CLI: address_api.py --address A [--port 80] [--location URL] [--status 302]
     [--request-log FILE] [--ready-file FILE] [--log FILE] [--max-lifetime SECONDS]
The ready file gets the server's PID once it listens and is removed when the server ends
(SIGTERM or SIGINT); the server also ends by itself after --max-lifetime seconds.
"""
import argparse
import http.server
import os
import re
import socketserver
import sys
import threading
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import serverlife  # noqa: E402


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "AddressApiStandIn/1.0"

    def log_message(self, *args):
        pass

    def record(self):
        cfg = self.server.config
        if not cfg.request_log:
            return
        line = "\t".join([self.command, self.path, self.headers.get("Host", ""),
                          self.headers.get("User-Agent", ""), ",".join(self.headers.keys())])
        with cfg.log_lock, open(cfg.request_log, "a") as f:
            f.write(line + "\n")

    def do_HEAD(self):
        self.answer(head=True)

    def do_GET(self):
        self.answer(head=False)

    def answer(self, head):
        cfg = self.server.config
        self.record()
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query, keep_blank_values=True)
        status, location = cfg.status, cfg.location
        m = re.search(r"/answer/([^/]+)", url.path)
        if m:
            if m.group(1) == "close":
                self.close_connection = True
                return
            status = int(m.group(1))
            if "location" in query:
                location = query["location"][0]
        body = ("<html><body><h1>%d</h1></body></html>" % status).encode()
        self.send_response(status)
        if 300 <= status < 400 and location:
            self.send_header("Location", location)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if not head:
            self.wfile.write(body)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, config):
        self.config = config
        super().__init__(address, Handler)

    def handle_error(self, request, client_address):
        pass


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--address", required=True)
    p.add_argument("--port", type=int, default=80)
    p.add_argument("--location", default="", help="target of the API's own redirect")
    p.add_argument("--status", type=int, default=302, help="status of the API's own answer")
    p.add_argument("--request-log")
    serverlife.add_life_arguments(p)
    a = p.parse_args()

    serverlife.detach_stdio(a.log)
    config = argparse.Namespace(status=a.status, location=a.location, request_log=a.request_log,
                                log_lock=threading.Lock())
    server = Server((a.address, a.port), config)
    serverlife.serve_until_stopped(
        [server], a.ready_file, a.max_lifetime,
        "address API on %s:%d, %d to %r" % (a.address, a.port, a.status, a.location))


if __name__ == "__main__":
    main()
