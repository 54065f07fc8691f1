#!/usr/bin/python3
"""Local stand-in of the maker's services, for the demo (local build profile):

  127.0.0.10:80/443  download server: the sample product's full installer at
                     /repavio/orbitane-repavio_setup.exe (HEAD and ranged GET; the test
                     server of tests/servers), as signed at build time with the tests'
                     code-signing certificate that the local profile pins
  127.0.0.11:80      product-information service: /producturl?key=pkg_url answers 302 with the
                     installer's current address; key=license_agreement and key=installed
                     answer small HTML pages
  127.0.0.12:443     analytics collector (tests/servers/collector_server.py): each report
                     appended to analytics.jsonl in the output folder, one JSON line per report

HTTPS uses the tests' private CA (tests/servers/testca.py); the Wine prefix must trust it
(tools/demo.sh runs tandrel-trust-test-ca.exe). Runs until SIGTERM or SIGINT.
"""
import argparse
import http.server
import os
import shutil
import signal
import subprocess
import sys
import threading
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
SERVERS = os.path.join(HERE, "..", "tests", "servers")
sys.path.insert(0, SERVERS)
import collector_server  # noqa: E402
import testca  # noqa: E402

DOWNLOAD_HOST = "127.0.0.10"
INFO_HOST = "127.0.0.11"
ANALYTICS_HOST = "127.0.0.12"
INSTALLER_PATH = "repavio/orbitane-repavio_setup.exe"


def page(title, body):
    return (f"<!doctype html><html><head><meta charset='utf-8'><title>{title}</title></head>"
            f"<body style='font-family:sans-serif'><h1>{title}</h1><p>{body}</p></body></html>"
            ).encode("utf-8")


class InfoHandler(http.server.BaseHTTPRequestHandler):
    """The download-address API and the product pages."""

    def log_message(self, fmt, *args):
        sys.stdout.write("info: " + (fmt % args) + "\n")
        sys.stdout.flush()

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        key = query.get("key", [""])[0]
        if url.path != "/producturl":
            self.answer(404, page("Not found", self.path))
        elif key == "pkg_url":
            self.send_response(302)
            self.send_header("Location", f"https://{DOWNLOAD_HOST}/{INSTALLER_PATH}")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif key == "license_agreement":
            self.answer(200, page("Orbitane Repavio License Agreement",
                                  "This demo licence lets you try Orbitane Repavio at home."))
        elif key == "installed":
            self.answer(200, page("Orbitane Repavio is installed",
                                  "Thank you for installing Orbitane Repavio."))
        else:
            self.answer(404, page("Unknown key", key))

    def answer(self, status, body):
        self.send_response(status)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def serve(server):
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    return thread


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", required=True, help="the Windows build folder")
    parser.add_argument("--out", help="folder for logs and reports (default BUILD/../demo)")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    out = os.path.abspath(args.out or os.path.join(build, "..", "demo"))
    os.makedirs(out, exist_ok=True)

    root = os.path.join(out, "files")
    os.makedirs(os.path.join(root, "repavio"), exist_ok=True)
    shutil.copyfile(
        os.path.join(build, "tools", "sample-product", "signed", "orbitane-repavio_setup.exe"),
        os.path.join(root, INSTALLER_PATH))

    ca_folder = os.path.join(build, "tests", "http", "testca")
    testca.ensure_server_cert(ca_folder, DOWNLOAD_HOST)

    ready = os.path.join(out, "download-server.ready")
    download = subprocess.Popen([
        "/usr/bin/python3", os.path.join(SERVERS, "ranged_server.py"), "--address", DOWNLOAD_HOST,
        "--root", root, "--cert-dir", ca_folder, "--request-log", os.path.join(out, "downloads.log"),
        "--ready-file", ready, "--log", os.path.join(out, "download-server.log")])

    info = http.server.ThreadingHTTPServer((INFO_HOST, 80), InfoHandler)
    reports = os.path.join(out, "analytics.jsonl")
    analytics = collector_server.make_collector(ANALYTICS_HOST, ca_folder, reports)
    serve(info)
    serve(analytics)
    print(f"demo service: installer {DOWNLOAD_HOST}, API {INFO_HOST}, analytics {ANALYTICS_HOST}",
          flush=True)
    print(f"demo service: analytics reports go to {reports}", flush=True)

    stopped = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stopped.set())
    signal.signal(signal.SIGINT, lambda *_: stopped.set())
    stopped.wait()
    download.terminate()
    download.wait(timeout=10)
    info.shutdown()
    analytics.shutdown()
    return 0


if __name__ == "__main__":
    sys.exit(main())
