#!/usr/bin/env python3
"""HTTP server on 127.0.0.1 for the download tests: start|stop|serve STATE_DIR.

Writes STATE_DIR/port, each request (header names in lower case) to
requests/NNNNNN.http and their number to requests/count. The query chooses
the answer: status=N, type=TEXT (empty: none), length=auto|none|N, body=TEXT,
fill=N (bytes i % 251), file=NAME (from STATE_DIR/files), chunk=N.
Hostile answers: stream=N (N bytes made while sending), cut=N (only the first
N bytes of the body, then the connection ends), headers=none (the body alone,
no status line or headers), stall=SECONDS (silence before answering),
location=URL (a Location header).
"""

import contextlib
import http.server
import os
import signal
import subprocess
import sys
import time
import urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"  # the connection's end ends a body without length

    def _answer(self):
        body_in = self.rfile.read(int(self.headers.get("Content-Length") or 0))
        head = "".join("%s: %s\r\n" % (name.lower(), value) for name, value in self.headers.items())
        self.server.count += 1
        write(os.path.join(self.server.state, "requests", "%06d.http" % self.server.count),
              self.raw_requestline + head.encode("latin-1") + b"\r\n" + body_in)
        write(os.path.join(self.server.state, "requests", "count"), b"%d" % self.server.count)
        query = dict(urllib.parse.parse_qsl(urllib.parse.urlsplit(self.path).query, keep_blank_values=True))
        time.sleep(float(query.get("stall", 0)))
        body = query.get("body", "hello").encode("utf-8")
        if "file" in query:
            with open(os.path.join(self.server.state, "files", os.path.basename(query["file"])), "rb") as f:
                body = f.read()
        elif "fill" in query:
            body = bytes(i % 251 for i in range(int(query["fill"])))
        if query.get("headers") != "none":
            self.send_response(int(query.get("status", 200)))
            length = query.get("length", "auto")
            for name, value in (("Content-Type", query.get("type", "text/plain")), ("Location", query.get("location")),
                                ("Content-Length", str(len(body)) if length == "auto" else length)):
                if value and value != "none":
                    self.send_header(name, value)
            self.end_headers()
        if "stream" in query:
            block = bytes(i % 251 for i in range(65536))
            for offset in range(0, int(query["stream"]), len(block)):
                self.wfile.write(block)
            return
        body = body[:int(query.get("cut", len(body)))]
        chunk = int(query.get("chunk", max(len(body), 1)))
        for offset in range(0, len(body), chunk):
            self.wfile.write(body[offset:offset + chunk])
            self.wfile.flush()

    def handle_one_request(self):
        # A client that stops reading (a download over its limit) is no
        # failure of the server.
        with contextlib.suppress(ConnectionError):
            super().handle_one_request()

    def __getattr__(self, name):
        # Any method, in any letter case, is recorded and answered alike.
        if name.startswith("do_"):
            return self._answer
        raise AttributeError(name)


def write(path, data):
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)


def serve(state):
    for folder in ("requests", "files"):
        os.makedirs(os.path.join(state, folder), exist_ok=True)
    write(os.path.join(state, "requests", "count"), b"0")
    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
    server.state, server.count = state, 0
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    write(os.path.join(state, "pid"), b"%d\n" % os.getpid())
    write(os.path.join(state, "port"), b"%d\n" % server.server_address[1])
    try:
        server.serve_forever()
    finally:
        remove_state(state)


def remove_state(state):
    for name in ("port", "pid"):
        with contextlib.suppress(FileNotFoundError):
            os.remove(os.path.join(state, name))


def start(state):
    os.makedirs(state, exist_ok=True)
    stop(state)
    log = open(os.path.join(state, "server.log"), "wb")
    # A new session and no inherited pipes, so ctest does not wait for it.
    subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", state],
                     stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    for _ in range(400):
        if os.path.exists(os.path.join(state, "port")):
            return 0
        time.sleep(0.05)
    return "HTTP test server did not start; see " + log.name


def stop(state):
    try:
        with open(os.path.join(state, "pid")) as f:
            pid = int(f.read())
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            # Never a process that took over the number of a dead server.
            if os.path.basename(__file__).encode() in f.read():
                os.kill(pid, signal.SIGTERM)
                for _ in range(200):
                    if not os.path.exists(os.path.join(state, "pid")):
                        break
                    time.sleep(0.05)
    except (OSError, ValueError):
        pass
    remove_state(state)
    return 0


if __name__ == "__main__":
    action = {"start": start, "stop": stop, "serve": serve}.get(sys.argv[1] if len(sys.argv) == 3 else "")
    sys.exit(action(os.path.abspath(sys.argv[2])) if action else __doc__)
