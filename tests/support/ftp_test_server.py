"""An FTP server for the tests, on 127.0.0.1 on a free port.

Prints the port on its first line of output once it listens. It ends when its standard input
closes (the test process holding the other end has ended, however it ended) or after its
lifetime, whichever comes first, so no server outlives the tests.

Modes:
  serve         pyftpdlib with an anonymous user who may write anywhere in the root
  refuse-login  pyftpdlib that refuses every login
  silent        accepts connections and never sends a byte
"""

import argparse
import os
import socket
import struct
import sys
import threading


def end_with_stdin_or_lifetime(lifetime):
    def watch_stdin():
        while sys.stdin.buffer.read(4096):
            pass
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    timer = threading.Timer(lifetime, lambda: os._exit(0))
    timer.daemon = True
    timer.start()


def listening_socket():
    sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    sock.bind(("127.0.0.1", 0))
    sock.listen(16)
    return sock


def announce(sock):
    sys.stdout.write("%d\n" % sock.getsockname()[1])
    sys.stdout.flush()


def run_silent():
    sock = listening_socket()
    announce(sock)
    held = []
    while True:
        connection, _ = sock.accept()
        held.append(connection)


def run_pyftpdlib(args):
    import logging
    import warnings

    from pyftpdlib.authorizers import AuthenticationFailed, DummyAuthorizer
    from pyftpdlib.handlers import DTPHandler, FTPHandler
    from pyftpdlib.servers import FTPServer

    # Only the server's own faults reach the test's output.
    server_log = logging.getLogger("pyftpdlib")
    server_log.addHandler(logging.StreamHandler())
    server_log.setLevel(logging.ERROR)
    warnings.filterwarnings("ignore", message="write permissions assigned to anonymous user")

    class RefusingAuthorizer(DummyAuthorizer):
        def validate_authentication(self, username, password, handler):
            raise AuthenticationFailed("Login refused.")

    authorizer = RefusingAuthorizer() if args.mode == "refuse-login" else DummyAuthorizer()
    authorizer.add_anonymous(args.root, perm="elradfmwMT")

    class UnconfirmingDTPHandler(DTPHandler):
        """Receives the whole file, then answers the end of the transfer with a failure."""

        def handle_close(self):
            if not self._closed and self.receive:
                self._resp = ("451 Local error in processing.", logging.debug)
                self.close()
            else:
                DTPHandler.handle_close(self)

    class Handler(FTPHandler):
        resets_left = args.reset_first
        timeout = args.lifetime
        auth_failed_timeout = 0

        def handle(self):
            if Handler.resets_left > 0:
                Handler.resets_left -= 1
                self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                self.close()
                return
            FTPHandler.handle(self)

        def ftp_CWD(self, path):
            if not args.unanswered_commands:
                return FTPHandler.ftp_CWD(self, path)

        def ftp_STOR(self, file, mode="w"):
            if not args.unanswered_commands:
                return FTPHandler.ftp_STOR(self, file, mode)

        def ftp_SIZE(self, path):
            if args.unanswered_commands:
                return
            if args.no_size:
                self.respond("502 Command not implemented.")
            elif args.size_offset and self.fs.isfile(self.fs.realpath(path)):
                size = self.fs.getsize(path) + args.size_offset
                self.respond("213 %d" % size)
            else:
                FTPHandler.ftp_SIZE(self, path)

    Handler.authorizer = authorizer
    if args.unconfirmed_uploads:
        Handler.dtp_handler = UnconfirmingDTPHandler
    sock = listening_socket()
    server = FTPServer(sock, Handler)
    announce(sock)
    server.serve_forever()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", choices=["serve", "refuse-login", "silent"], default="serve")
    parser.add_argument("--root", default=".")
    parser.add_argument("--lifetime", type=float, default=120.0)
    parser.add_argument("--reset-first", type=int, default=0,
                        help="reset this many connections at once before serving")
    parser.add_argument("--size-offset", type=int, default=0,
                        help="add this to every file size SIZE reports")
    parser.add_argument("--no-size", action="store_true", help="answer SIZE as not implemented")
    parser.add_argument("--unconfirmed-uploads", action="store_true",
                        help="answer the end of every upload with a failure")
    parser.add_argument("--unanswered-commands", action="store_true",
                        help="log in, then never answer CWD, STOR or SIZE")
    args = parser.parse_args()

    end_with_stdin_or_lifetime(args.lifetime)
    if args.mode == "silent":
        run_silent()
    else:
        run_pyftpdlib(args)


if __name__ == "__main__":
    main()
