#!/usr/bin/python3
"""HTTPS for the test servers: a server certificate from the test CA (testca.py) and a mixin
that runs each connection's TLS handshake on that connection's own thread.
"""
import ssl

import testca


def tls_context(cert_dir, address):
    cert, key = testca.ensure_server_cert(cert_dir, address)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


class TlsServing:
    """Mixed in before a socketserver class: set tls_context for HTTPS (None for plain). One
    slow handshake then blocks nobody else."""
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


def add_server_arguments(parser, serves_files=False):
    """The command line that tests/http/LocalServer gives every test server; --root and --rate
    matter only to a server that |serves_files|."""
    parser.add_argument("--address", required=True)
    parser.add_argument("--http-port", type=int, default=80, help="0 disables plain HTTP")
    parser.add_argument("--https-port", type=int, default=443, help="0 disables HTTPS")
    parser.add_argument("--cert-dir", help="test CA folder (needed for HTTPS)")
    parser.add_argument("--request-log")
    if serves_files:
        parser.add_argument("--root", required=True)
        parser.add_argument("--rate", type=int, default=0, help="bytes per second per connection")
    else:
        parser.add_argument("--root", help="accepted and ignored")
        parser.add_argument("--rate", help="accepted and ignored")


def make_servers(parser, args, make):
    """One server per port that |args| enables: make((address, port), tls_context), the context
    being None for plain HTTP."""
    if args.https_port and not args.cert_dir:
        parser.error("--cert-dir is needed for HTTPS")
    servers = []
    if args.http_port:
        servers.append(make((args.address, args.http_port), None))
    if args.https_port:
        servers.append(make((args.address, args.https_port),
                            tls_context(args.cert_dir, args.address)))
    return servers
