"""A small HTTPS server for the fetch tests, on Python's own http.server and ssl.

    /usr/bin/python3 server_https.py CERTIFICATE KEY FOLDER

Listens on 127.0.0.1 at a free port until its standard input ends; prints "porta N" first,
then one line for each request ("richiesta PATH") and for what a client did to it. Paths:
  /file/NAME        NAME from FOLDER, with its length
  /flusso/NAME      NAME without a length: the end of the connection ends it
  /tronco/NAME      the length of NAME announced, half of it sent, then the connection cut
  /lento            a long file announced, trickled until the client goes ("lento: lasciato")
  /fermo            ten bytes of a thousand, then five seconds of silence
  /rimanda?a=URL    302 to URL
  anything else     404
"""

import os
import socket
import ssl
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

certificate, key, folder = sys.argv[1:4]
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(certificate, key)


def say(line):
    print(line, flush=True)


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def get_request(self):
        # The handshake happens in the request's own thread: a client that refuses the
        # certificate holds up nobody.
        connection, address = self.socket.accept()
        return context.wrap_socket(connection, server_side=True, do_handshake_on_connect=False), address

    def handle_error(self, request, client_address):
        say("errore " + str(sys.exc_info()[1]).replace("\n", " "))


class Handler(BaseHTTPRequestHandler):
    def setup(self):
        try:
            self.request.do_handshake()
        except (ssl.SSLError, OSError) as error:
            say("handshake rifiutato")
            raise
        super().setup()

    def log_message(self, format, *args):
        pass

    def content(self, name):
        with open(folder + "/" + name, "rb") as f:
            return f.read()

    def do_GET(self):
        say("richiesta " + self.path)
        parts = urllib.parse.urlsplit(self.path)
        path = parts.path
        try:
            if path.startswith("/file/"):
                body = self.content(path[len("/file/"):])
                self.send_response(200)
                self.send_header("Content-Type", "application/octet-stream")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)
            elif path.startswith("/flusso/"):
                body = self.content(path[len("/flusso/"):])
                self.send_response(200)
                self.send_header("Content-Type", "application/octet-stream")
                self.end_headers()
                self.wfile.write(body)
            elif path.startswith("/tronco/"):
                body = self.content(path[len("/tronco/"):])
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body[: len(body) // 2])
                self.wfile.flush()
                self.connection.shutdown(socket.SHUT_RDWR)
                self.connection.close()
                self.close_connection = True
            elif path == "/lento":
                self.send_response(200)
                self.send_header("Content-Length", str(100 * 1024 * 1024))
                self.end_headers()
                try:
                    for _ in range(400):   # 20 s at most
                        self.wfile.write(b"x" * 64)
                        self.wfile.flush()
                        time.sleep(0.05)
                    say("lento: finito")
                except OSError:
                    say("lento: lasciato")
                self.close_connection = True
            elif path == "/fermo":
                self.send_response(200)
                self.send_header("Content-Length", "1000")
                self.end_headers()
                self.wfile.write(b"x" * 10)
                self.wfile.flush()
                time.sleep(5)
                self.close_connection = True
            elif path == "/rimanda":
                target = urllib.parse.parse_qs(parts.query)["a"][0]
                self.send_response(302)
                self.send_header("Location", target)
                self.send_header("Content-Length", "0")
                self.end_headers()
            else:
                self.send_error(404)
        except FileNotFoundError:
            self.send_error(404)


def orphaned():
    # The test holds stdin open: its end, however it ends, ends the server too.
    sys.stdin.buffer.read()
    os._exit(0)


threading.Thread(target=orphaned, daemon=True).start()
server = Server(("127.0.0.1", 0), Handler)
say("porta %d" % server.server_address[1])
server.serve_forever()
