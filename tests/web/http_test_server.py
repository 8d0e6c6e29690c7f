#!/usr/bin/env python3
"""A small HTTP server on 127.0.0.1 for the download tests.

    http_test_server.py start|stop|serve STATE_DIR

It writes its port to STATE_DIR/port and stores every request, as read off
the wire, as STATE_DIR/requests/NNNNNN.http (from 1) before answering.
The query of the target chooses the answer: status=N, type=TEXT (empty: no
Content-Type), length=auto|none|N, body=TEXT, fill=N (bytes i % 251),
file=NAME (from STATE_DIR/files), chunk=N and pause=MS (write in pieces),
reset=N (abort the connection after N body bytes), header=NAME:VALUE.
"""

import contextlib
import http.server
import os
import signal
import socket
import struct
import subprocess
import sys
import time
import urllib.parse


class RecordingReader:
    """Wraps the request stream and keeps every byte read from it."""

    def __init__(self, stream):
        self._stream = stream
        self.data = bytearray()

    def readline(self, *args):
        line = self._stream.readline(*args)
        self.data += line
        return line

    def read(self, *args):
        chunk = self._stream.read(*args)
        self.data += chunk
        return chunk

    def __getattr__(self, name):
        return getattr(self._stream, name)


class Handler(http.server.BaseHTTPRequestHandler):
    # Each answer closes its connection: a body without Content-Length ends
    # with the connection.
    protocol_version = "HTTP/1.0"
    server_version = "TarvikTestServer/1"

    def setup(self):
        super().setup()
        self.rfile = RecordingReader(self.rfile)

    def log_message(self, format, *args):
        sys.stderr.write("%s\n" % (format % args))

    def _record(self):
        length = int(self.headers.get("Content-Length", "0") or "0")
        if length > 0:
            self.rfile.read(length)
        self.server.request_count += 1
        write_atomically(os.path.join(self.server.state_dir, "requests", "%06d.http" % self.server.request_count),
                         bytes(self.rfile.data))

    def _body(self, query):
        if "file" in query:
            name = os.path.basename(query["file"][0])
            with open(os.path.join(self.server.state_dir, "files", name), "rb") as f:
                return f.read()
        if "fill" in query:
            return bytes(i % 251 for i in range(int(query["fill"][0])))
        return query.get("body", ["hello"])[0].encode("utf-8")

    def _answer(self):
        self._record()
        target = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(target.query, keep_blank_values=True)
        status = int(query.get("status", ["200"])[0])
        body = self._body(query)
        content_type = query.get("type", ["text/plain"])[0]
        length = query.get("length", ["auto"])[0]

        self.send_response(status)
        if content_type:
            self.send_header("Content-Type", content_type)
        if length == "auto":
            self.send_header("Content-Length", str(len(body)))
        elif length != "none":
            self.send_header("Content-Length", length)
        for header in query.get("header", []):
            name, _, value = header.partition(":")
            self.send_header(name, value.strip())
        self.end_headers()
        self.wfile.flush()

        reset = int(query["reset"][0]) if "reset" in query else None
        if reset is not None:
            body = body[:reset]
        chunk = int(query.get("chunk", [str(max(len(body), 1))])[0])
        pause = int(query.get("pause", ["0"])[0]) / 1000.0
        for offset in range(0, len(body), chunk):
            if offset and pause:
                time.sleep(pause)
            self.wfile.write(body[offset:offset + chunk])
            self.wfile.flush()
        if reset is not None:
            # Linger 0: close sends a reset instead of an orderly end.
            time.sleep(0.2)
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.connection.close()
            self.close_connection = True

    def __getattr__(self, name):
        # Every method, in any letter case, is answered and recorded alike.
        if name.startswith("do_"):
            return self._answer
        raise AttributeError(name)


class Server(http.server.HTTPServer):
    def __init__(self, state_dir):
        super().__init__(("127.0.0.1", 0), Handler)
        self.state_dir = state_dir
        self.request_count = 0

    def shutdown_request(self, request):
        # A connection the handler already aborted is gone.
        with contextlib.suppress(OSError):
            request.shutdown(socket.SHUT_WR)
        self.close_request(request)


def write_atomically(path, data):
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)


def serve(state_dir):
    requests = os.path.join(state_dir, "requests")
    os.makedirs(requests, exist_ok=True)
    for name in os.listdir(requests):
        os.remove(os.path.join(requests, name))
    server = Server(state_dir)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    write_atomically(os.path.join(state_dir, "pid"), b"%d\n" % os.getpid())
    write_atomically(os.path.join(state_dir, "port"), b"%d\n" % server.server_address[1])
    try:
        server.serve_forever()
    finally:
        server.server_close()
        remove_state(state_dir)


def remove_state(state_dir):
    for name in ("port", "pid"):
        with contextlib.suppress(FileNotFoundError):
            os.remove(os.path.join(state_dir, name))


def start(state_dir):
    os.makedirs(state_dir, exist_ok=True)
    stop(state_dir)
    port_file = os.path.join(state_dir, "port")
    log = open(os.path.join(state_dir, "server.log"), "wb")
    # A new session and no inherited pipes: ctest must not wait for the
    # server's output to end.
    subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", state_dir],
                     stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    deadline = time.time() + 20
    while time.time() < deadline:
        if os.path.exists(port_file):
            with open(port_file) as f:
                print("HTTP test server on 127.0.0.1:%s" % f.read().strip())
            return 0
        time.sleep(0.05)
    print("HTTP test server did not start; see %s" % log.name, file=sys.stderr)
    return 1


def stop(state_dir):
    pid_file = os.path.join(state_dir, "pid")
    try:
        with open(pid_file) as f:
            pid = int(f.read())
    except (FileNotFoundError, ValueError):
        return 0
    # Only a server of this script is stopped, never a process that took
    # over the number of one that died.
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            ours = os.path.basename(__file__).encode() in f.read()
    except OSError:
        ours = False
    if ours:
        os.kill(pid, signal.SIGTERM)
    deadline = time.time() + 10
    while time.time() < deadline and os.path.exists(pid_file):
        time.sleep(0.05)
    remove_state(state_dir)
    return 0


def main(argv):
    if len(argv) != 3 or argv[1] not in ("start", "stop", "serve"):
        print(__doc__, file=sys.stderr)
        return 2
    return {"start": start, "stop": stop, "serve": serve}[argv[1]](os.path.abspath(argv[2])) or 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
