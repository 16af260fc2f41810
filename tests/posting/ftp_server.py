"""A local FTP server for the upload tests.

Serves one account on 127.0.0.1 and a free port, prints "PORT <n>" once it listens, and ends
on SIGTERM. Options make it refuse one transfer mode, so that a successful upload proves the
other one was used, or require explicit TLS with a given certificate.
"""

import argparse
import signal
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

REFUSED = {"none": [], "passive": ["PASV", "EPSV"], "active": ["PORT", "EPRT"]}


def tls_handler_base():
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

    class DataHandler(TLS_DTPHandler):
        # A client may begin the TLS handshake of a passive data connection as soon as it
        # connects, before the transfer command; pyftpdlib would take those early bytes for
        # a hang-up and close the connection.
        def readable(self):
            return self._ssl_accepting or super().readable()

    class Handler(TLS_FTPHandler):
        dtp_handler = DataHandler

    return Handler


def handler_class(args):
    base = tls_handler_base() if args.tls_cert else FTPHandler

    class Handler(base):
        pass

    def refuse(self, line):
        self.respond("502 Mode refused by this server.")

    for command in REFUSED[args.refuse]:
        setattr(Handler, "ftp_" + command, refuse)
    if args.tls_cert:
        Handler.certfile = args.tls_cert
        Handler.keyfile = args.tls_key
        Handler.tls_control_required = True
        Handler.tls_data_required = True
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    Handler.authorizer = authorizer
    Handler.banner = "Vesk test server ready."
    Handler.auth_failed_timeout = 0  # a wrong password is refused at once
    return Handler


def stop(signum, frame):
    raise KeyboardInterrupt


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--refuse", choices=sorted(REFUSED), default="none")
    parser.add_argument("--tls-cert")
    parser.add_argument("--tls-key")
    args = parser.parse_args()

    server = FTPServer(("127.0.0.1", 0), handler_class(args))
    signal.signal(signal.SIGTERM, stop)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
