#!/usr/bin/env python3
"""A tile server for the tests, on 127.0.0.1, over HTTP or HTTPS.

Paths are /<mode>/<z>/<x>/<y>.<ext> (web numbering: zoom, column, row from the north).
The mode says how to answer; a control file, when given and not empty, overrides the
mode of every request (so a test switches faults without changing its templates):

  tiles     the tile from --tiles DIR (<z>/<x>/<y>.png or .jpg) if there is one, else a
            generated PNG for zooms up to --real-zoom, else the placeholder image
  overlay   a generated half-transparent RGBA PNG up to --real-zoom, else the placeholder
  stall     the head is never sent; the connection stays open
  trickle   a real tile sent one byte every --trickle-delay seconds
  fast-trickle  a real tile sent one byte at a time without delay
  cut       the head announces 10000 bytes; 100 come, then the connection closes
  404 410 429 500 503
            that status with an HTML page (429 and 503 with "Retry-After: --retry-after")
  garbage   200 with bytes that are no image
  huge      200 with 50 MB of bytes, without a length
  placeholder  always the placeholder image

Tiles answer with an ETag and a Last-Modified; a request with a matching If-None-Match,
or with any If-Modified-Since, gets a 304. Every request is appended to --log as one
tab-separated line: path, If-None-Match, If-Modified-Since, User-Agent. The port is
printed as "PORT <n>" once the server listens.
"""

import argparse
import http.server
import os
import ssl
import struct
import sys
import threading
import time
import zlib

LAST_MODIFIED = "Tue, 01 Dec 2026 10:00:00 GMT"
HTML = b"<html><head><title>Error</title></head><body><h1>Error</h1></body></html>\n"


def png(width, height, pixel, alpha=False):
    """A PNG from pixel(x, y) -> (r, g, b) or (r, g, b, a)."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    colour_type = 6 if alpha else 2
    head = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", head) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))


def real_tile(z, x, y):
    # Bands whose colour tells the tile apart: a test can check which tile it got.
    base = ((z * 37) % 256, (x * 59) % 256, (y * 83) % 256)
    return png(256, 256, lambda px, py: base if (py // 32) % 2 == 0 else (255, 255, 255))


def overlay_tile():
    return png(256, 256, lambda px, py: (255, 0, 0, 128 if px < 128 else 0), alpha=True)


PLACEHOLDER = png(256, 256, lambda px, py: (200, 200, 200))
OVERLAY = overlay_tile()


class TileHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "WendraTestTiles/1"

    def log_message(self, *args):  # quiet: the log file says what came
        pass

    def do_GET(self):
        options = self.server.options
        self.record()
        parts = self.path.lstrip("/").split("?")[0].split("/")
        mode = self.control_mode() or (parts[0] if parts else "")
        address = self.address(parts)
        handler = {
            "tiles": self.serve_tile, "overlay": self.serve_overlay,
            "stall": self.stall, "trickle": self.trickle, "fast-trickle": self.trickle,
            "cut": self.cut, "garbage": self.garbage, "huge": self.huge,
            "placeholder": self.placeholder,
        }.get(mode)
        if handler is not None:
            handler(mode, address)
        elif mode in ("404", "410", "429", "500", "503"):
            extra = {}
            if mode in ("429", "503"):
                extra["Retry-After"] = options.retry_after
            self.answer(int(mode), HTML, "text/html", extra)
        else:
            self.answer(404, HTML, "text/html")

    def record(self):
        if not self.server.options.log:
            return
        line = "\t".join([self.path, self.headers.get("If-None-Match", ""),
                          self.headers.get("If-Modified-Since", ""),
                          self.headers.get("User-Agent", "")])
        with self.server.log_lock, open(self.server.options.log, "a") as log:
            log.write(line + "\n")

    def control_mode(self):
        control = self.server.options.control
        if not control:
            return ""
        try:
            with open(control) as text:
                return text.read().strip()
        except OSError:
            return ""

    @staticmethod
    def address(parts):
        try:
            return int(parts[1]), int(parts[2]), int(parts[3].split(".")[0])
        except (IndexError, ValueError):
            return None

    def answer(self, status, body, kind, extra=None, close=False):
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        for name, value in (extra or {}).items():
            self.send_header(name, value)
        if close:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        self.wfile.write(body)

    def tile_bytes(self, address):
        if address is None:
            return PLACEHOLDER, "image/png"
        z, x, y = address
        folder = self.server.options.tiles
        if folder:
            for ext, kind in (("png", "image/png"), ("jpg", "image/jpeg")):
                path = os.path.join(folder, str(z), str(x), "%d.%s" % (y, ext))
                if os.path.exists(path):
                    with open(path, "rb") as data:
                        return data.read(), kind
        if z <= self.server.options.real_zoom:
            return real_tile(z, x, y), "image/png"
        return PLACEHOLDER, "image/png"

    def serve_tile(self, mode, address):
        body, kind = self.tile_bytes(address)
        etag = '"%08x"' % zlib.crc32(body)
        validators = {"ETag": etag, "Last-Modified": LAST_MODIFIED}
        if (self.headers.get("If-None-Match") == etag or
                self.headers.get("If-Modified-Since")):
            self.send_response(304)
            for name, value in validators.items():
                self.send_header(name, value)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        self.answer(200, body, kind, validators)

    def serve_overlay(self, mode, address):
        if address is None or address[0] > self.server.options.real_zoom:
            self.answer(200, PLACEHOLDER, "image/png")
        else:
            self.answer(200, OVERLAY, "image/png")

    def placeholder(self, mode, address):
        self.answer(200, PLACEHOLDER, "image/png")

    def stall(self, mode, address):
        self.close_connection = True
        while not self.server.stopping.wait(0.1):
            pass

    def trickle(self, mode, address):
        body, kind = self.tile_bytes(address)
        delay = self.server.options.trickle_delay if mode == "trickle" else 0
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.flush()
        for offset in range(len(body)):
            self.wfile.write(body[offset:offset + 1])
            self.wfile.flush()
            if delay and self.server.stopping.wait(delay):
                return

    def cut(self, mode, address):
        self.send_response(200)
        self.send_header("Content-Type", "image/png")
        self.send_header("Content-Length", "10000")
        self.end_headers()
        self.wfile.write(PLACEHOLDER[:100])
        self.wfile.flush()
        self.close_connection = True

    def garbage(self, mode, address):
        self.answer(200, bytes((i * 7919 >> 3) & 0xFF for i in range(5000)),
                    "application/octet-stream")

    def huge(self, mode, address):
        self.send_response(200)
        self.send_header("Content-Type", "image/png")
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        piece = b"\x89PNG" + bytes(65532)
        try:
            for _ in range(50 * 16):
                self.wfile.write(piece)
        except OSError:
            pass  # the client gave up, as it should


class TileServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, options):
        super().__init__(("127.0.0.1", options.port), TileHandler)
        self.options = options
        self.log_lock = threading.Lock()
        self.stopping = threading.Event()

    def handle_error(self, request, client_address):
        # A client that gives up mid-answer is what the faults are about.
        if isinstance(sys.exc_info()[1], (ConnectionError, ssl.SSLError)):
            return
        super().handle_error(request, client_address)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--tiles", default="")
    parser.add_argument("--real-zoom", type=int, default=19)
    parser.add_argument("--control", default="")
    parser.add_argument("--log", default="")
    parser.add_argument("--retry-after", default="1")
    parser.add_argument("--trickle-delay", type=float, default=0.02)
    parser.add_argument("--cert", default="")
    parser.add_argument("--key", default="")
    options = parser.parse_args()
    server = TileServer(options)
    if options.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(options.cert, options.key or None)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever(poll_interval=0.1)
    except KeyboardInterrupt:
        pass
    finally:
        server.stopping.set()


if __name__ == "__main__":
    sys.exit(main())
