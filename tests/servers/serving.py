#!/usr/bin/python3
"""What the test servers share: their common command line, leaving the starter's stdio, TLS
handshakes on each connection's own thread, the ready file and the end on a signal or after a
maximum lifetime.
"""
import os
import signal
import ssl
import threading
import time

import testca


def add_common_arguments(parser):
    parser.add_argument("--address", required=True)
    parser.add_argument("--http-port", type=int, default=80, help="0 disables plain HTTP")
    parser.add_argument("--https-port", type=int, default=443, help="0 disables HTTPS")
    parser.add_argument("--cert-dir", help="test CA folder (needed for HTTPS)")
    parser.add_argument("--request-log")
    parser.add_argument("--ready-file")
    parser.add_argument("--log", help="stdout and stderr go here (default: /dev/null)")
    parser.add_argument("--max-lifetime", type=float, default=0)


def detach_stdio(log):
    """A test runner reading the starter's output through a pipe must not wait for us."""
    out = os.open(log or os.devnull, os.O_WRONLY | os.O_CREAT | os.O_APPEND, 0o644)
    nul = os.open(os.devnull, os.O_RDONLY)
    os.dup2(nul, 0)
    os.dup2(out, 1)
    os.dup2(out, 2)


def tls_context(cert_dir, address):
    cert, key = testca.ensure_server_cert(cert_dir, address)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


class TlsServing:
    """Mixed into a socketserver class before it: set tls_context for HTTPS (None for plain).
    The handshake runs on the connection's own thread, so one slow client blocks nobody."""
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 128
    tls_context = None

    def get_request(self):
        sock, peer = self.socket.accept()
        sock.settimeout(120)
        if self.tls_context:
            sock = self.tls_context.wrap_socket(sock, server_side=True,
                                                do_handshake_on_connect=False)
        return sock, peer

    def finish_request(self, request, client_address):
        if self.tls_context:
            try:
                request.do_handshake()
            except (OSError, ssl.SSLError):
                return
        super().finish_request(request, client_address)

    def handle_error(self, request, client_address):
        pass


def serve(servers, ready_file=None, max_lifetime=0):
    """Serves until SIGTERM or SIGINT, or for |max_lifetime| seconds when that is positive.
    The ready file holds the PID while every server listens."""
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
        with open(ready_file + ".tmp", "w") as f:
            f.write("%d\n" % os.getpid())
        os.replace(ready_file + ".tmp", ready_file)
    print("serving on %s" % [s.server_address for s in servers], flush=True)
    deadline = time.monotonic() + max_lifetime if max_lifetime > 0 else None
    while deadline is None or time.monotonic() < deadline:
        time.sleep(0.5)
    stop()
