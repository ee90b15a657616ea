"""Loopback servers for the resource tests.

    servers.py http FOLDER LOG    files of FOLDER over HTTP
    servers.py ftp FOLDER LOG     files of FOLDER over FTP (anonymous, and user kalvor, password secret)
    servers.py proxy LOG          an HTTP proxy that fetches absolute addresses

Each listens on a free port of 127.0.0.1, prints that port on a line of its
own, and serves until it is stopped. Every request (HTTP request line, FTP
command) is appended to LOG as one line.
"""
import http.server
import logging
import sys
import urllib.request


def record(log, line):
    with open(log, "a", encoding="utf-8") as f:
        f.write(line + "\n")


def announce(port):
    print(port, flush=True)


def http_server(folder, log):
    class Handler(http.server.SimpleHTTPRequestHandler):
        def __init__(self, *args, **kwargs):
            super().__init__(*args, directory=folder, **kwargs)

        def log_request(self, code="-", size="-"):
            record(log, self.requestline)

        def log_message(self, format, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    announce(server.server_address[1])
    server.serve_forever()


def ftp_server(folder, log):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import FTPServer

    from pyftpdlib.log import config_logging

    config_logging(level=logging.ERROR)
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(folder)
    authorizer.add_user("kalvor", "secret", folder, perm="elr")

    class Handler(FTPHandler):
        def pre_process_command(self, line, cmd, arg):
            record(log, line)
            return super().pre_process_command(line, cmd, arg)

    Handler.authorizer = authorizer
    server = FTPServer(("127.0.0.1", 0), Handler)
    announce(server.address[1])
    server.serve_forever()


def proxy_server(log):
    direct = urllib.request.build_opener(urllib.request.ProxyHandler({}))

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            record(log, self.requestline)
            with direct.open(self.path, timeout=10) as reply:
                status, body = reply.status, reply.read()
            self.send_response(status)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, format, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    announce(server.server_address[1])
    server.serve_forever()


if __name__ == "__main__":
    kind = sys.argv[1]
    if kind == "http":
        http_server(sys.argv[2], sys.argv[3])
    elif kind == "ftp":
        ftp_server(sys.argv[2], sys.argv[3])
    else:
        proxy_server(sys.argv[2])
