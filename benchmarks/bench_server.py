#!/usr/bin/env python3
"""The local HTTP server of the benchmarks: serves the files of a folder by
GET (with their Content-Length) and answers every POST with 200 "ok", the
way the feedback endpoint does. Listens on 127.0.0.1 at a free port, which
it writes to PORT_FILE, and serves until it is stopped.

    python3 bench_server.py <folder> <port file>
"""
import http.server
import os
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # The head and the body go out in separate writes; with Nagle's
    # algorithm the body would wait for the client's delayed ACK (40 ms).
    disable_nagle_algorithm = True

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        self.rfile.read(length)
        body = b"ok"
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def copyfile(self, source, outputfile):
        # Large pieces: the server should not be what limits a download.
        while True:
            piece = source.read(1 << 20)
            if not piece:
                break
            outputfile.write(piece)

    def log_message(self, *args):
        pass


def main():
    folder, port_file = sys.argv[1], sys.argv[2]
    os.chdir(folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    with open(port_file + ".part", "w") as out:
        out.write(str(server.server_address[1]))
    os.replace(port_file + ".part", port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
