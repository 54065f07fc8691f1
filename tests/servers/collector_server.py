#!/usr/bin/python3
"""A stand-in of the analytics collector: accepts POSTs and appends each to a record file as one
JSON line {"path", "query", "headers": [[name, value], ...] in the order received, "body"}, before
it answers, so a reader sees a report as soon as its sender has it delivered.

The answer is 204, or what the query's "answer" parameter asks for: a status code, or "silent"
(the request is recorded and never answered).

CLI: collector_server.py --address A [--http-port 80] [--https-port 443] --cert-dir DIR
     --request-log FILE [--ready-file FILE] [--log FILE] [--max-lifetime S]
     (--root and --rate are accepted and ignored)
"""
import argparse
import http.server
import json
import os
import socketserver
import sys
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import serverlife  # noqa: E402
import tlsserving  # noqa: E402


class CollectorHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        sys.stdout.write("collector: " + (fmt % args) + "\n")
        sys.stdout.flush()

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length") or 0))
        url = urllib.parse.urlsplit(self.path)
        record = {"path": url.path, "query": url.query, "headers": self.headers.items(),
                  "body": body.decode("utf-8", "replace")}
        with self.server.lock, open(self.server.record_file, "a", encoding="utf-8") as f:
            f.write(json.dumps(record) + "\n")
        answer = urllib.parse.parse_qs(url.query).get("answer", ["204"])[0]
        if answer == "silent":
            time.sleep(600)
            self.close_connection = True
            return
        self.send_response(int(answer))
        self.send_header("Content-Length", "0")
        self.end_headers()


class CollectorServer(tlsserving.TlsServing, socketserver.ThreadingMixIn,
                      http.server.HTTPServer):
    def __init__(self, address, record_file, tls_context=None):
        self.record_file = record_file
        self.lock = threading.Lock()
        self.tls_context = tls_context
        super().__init__(address, CollectorHandler)


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    tlsserving.add_server_arguments(p)
    serverlife.add_life_arguments(p)
    a = p.parse_args()
    if not a.request_log:
        p.error("--request-log is needed")
    serverlife.detach_stdio(a.log)
    servers = tlsserving.make_servers(
        p, a, lambda address, tls: CollectorServer(address, a.request_log, tls))
    serverlife.serve_until_stopped(servers, a.ready_file, a.max_lifetime,
                                   "serving on %s" % [s.server_address for s in servers])


if __name__ == "__main__":
    main()
