#!/usr/bin/env python3
"""A small static HTTP server for the demo catalogues, on the loopback only.

    python3 demo/serve.py --port 18936 --root demo/primary [--no-config]
    python3 demo/serve.py --port 0 --port-file FILE --root DIR   # any free port

--no-config answers /tools/config.ini with 404, so the browser finds no usable
configuration and offers its built-in categories.
"""

import argparse
import errno
import http.server
import os
import sys
import urllib.parse

CONFIG_PATH = "/tools/config.ini"


class DemoHandler(http.server.SimpleHTTPRequestHandler):
    server_version = "NokiaDemo/1.0"
    # The browser speaks HTTP/1.0; one request per connection keeps this simple.
    protocol_version = "HTTP/1.0"
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".xml": "text/xml",
        ".ini": "text/plain",
        ".txt": "text/plain",
        ".html": "text/html; charset=gbk",
    }

    def send_head(self):
        path = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        if self.server.no_config and path.lower() == CONFIG_PATH:
            self.send_error(404, "No configuration in built-in mode")
            return None
        # translate_path already drops "..", but a symbolic link inside the
        # root could still lead out of it.
        real = os.path.realpath(self.translate_path(self.path))
        if real != self.server.root and not real.startswith(self.server.root + os.sep):
            self.send_error(404, "File not found")
            return None
        return super().send_head()

    def list_directory(self, path):
        # Directory listings would show the layout of the demo folders; refuse.
        self.send_error(404, "File not found")
        return None

    def log_message(self, format, *args):
        sys.stderr.write("serve:%d %s\n" % (self.server.server_address[1], format % args))

    def log_error(self, format, *args):
        pass  # the request line below already carries the status

    def log_request(self, code="-", size="-"):
        if isinstance(code, http.HTTPStatus):
            code = code.value
        self.log_message("%s %s %s", self.command, self.path, code)


class DemoServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, address, root, no_config):
        self.root = os.path.realpath(root)
        self.no_config = no_config
        super().__init__(address, lambda *a, **k: DemoHandler(*a, directory=self.root, **k))

    def handle_error(self, request, client_address):
        # The browser's connectivity probe hangs up after the headers; that is
        # expected and not worth a traceback.
        if isinstance(sys.exc_info()[1], ConnectionError):
            return
        super().handle_error(request, client_address)


def main():
    parser = argparse.ArgumentParser(description="Serve a demo catalogue folder on 127.0.0.1.")
    parser.add_argument("--port", type=int, required=True, help="0 for any free port")
    parser.add_argument("--port-file", help="write the port listened on to this file")
    parser.add_argument("--root", required=True, help="folder to serve")
    parser.add_argument("--no-config", action="store_true",
                        help="answer /tools/config.ini with 404 (built-in categories)")
    options = parser.parse_args()

    if not os.path.isdir(options.root):
        sys.exit("serve.py: no such folder: %s" % options.root)
    try:
        server = DemoServer(("127.0.0.1", options.port), options.root, options.no_config)
    except OSError as error:
        if error.errno == errno.EADDRINUSE:
            sys.exit("serve.py: port %d on 127.0.0.1 is already in use" % options.port)
        sys.exit("serve.py: cannot listen on 127.0.0.1:%d: %s" % (options.port, error.strerror))

    port = server.server_address[1]
    if options.port_file:
        # Written whole under another name first, so a reader never sees half.
        with open(options.port_file + ".part", "w") as out:
            out.write("%d\n" % port)
        os.replace(options.port_file + ".part", options.port_file)
    mode = " (no configuration)" if options.no_config else ""
    sys.stderr.write("serve:%d serving %s on http://127.0.0.1:%d/%s\n"
                     % (port, server.root, port, mode))
    sys.stderr.flush()
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
