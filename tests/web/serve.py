"""Serves a folder over HTTP on 127.0.0.1, at a free port that it writes to a file.

    python3 serve.py <folder> <port file>
"""
import functools
import http.server
import os
import sys

folder, port_file = sys.argv[1], sys.argv[2]


class Handler(http.server.SimpleHTTPRequestHandler):
    # Stated here rather than taken from the machine's MIME tables: browsers compile a
    # .wasm as it streams in only when it comes as application/wasm.
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".js": "text/javascript",
        ".html": "text/html",
    }

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(
    ("127.0.0.1", 0), functools.partial(Handler, directory=folder))
with open(port_file + ".part", "w") as f:
    f.write(str(server.server_address[1]))
os.rename(port_file + ".part", port_file)
server.serve_forever()
