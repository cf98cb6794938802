"""Small HTTP servers that misbehave on purpose, for the install run's failure paths.

Each binds 127.0.0.1 on a port of 28500-28599, answers at most `max_connections`
connections, and stops by itself after `lifetime` seconds at the latest.
"""
import socket
import threading
import time


class FaultServer:
    """Accepts connections and hands each to `behaviour(conn, request_bytes)`."""

    def __init__(self, port: int, behaviour, max_connections=20, lifetime=120.0):
        self.port = port
        self.behaviour = behaviour
        self.max_connections = max_connections
        self.deadline = time.monotonic() + lifetime
        self.requests = []
        self._sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._sock.bind(("127.0.0.1", port))
        self._sock.listen(8)
        self._sock.settimeout(0.5)
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._serve, daemon=True)
        self._thread.start()

    def _serve(self):
        served = 0
        while not self._stop.is_set() and served < self.max_connections and time.monotonic() < self.deadline:
            try:
                conn, _ = self._sock.accept()
            except socket.timeout:
                continue
            except OSError:
                break
            served += 1
            with conn:
                conn.settimeout(5)
                try:
                    request = conn.recv(65536)
                    self.requests.append(request.split(b"\r\n", 1)[0].decode(errors="replace"))
                    self.behaviour(conn, request)
                except OSError:
                    pass
        self._sock.close()

    def stop(self):
        self._stop.set()
        self._thread.join(timeout=5)


def close_without_answer(conn, request):
    """No response at all: receiving the response fails."""


def cut_body(conn, request):
    """Headers promise 1 MB; HEAD gets them, GET gets a few bytes and the connection ends."""
    head = b"HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\nConnection: close\r\n\r\n"
    conn.sendall(head)
    if request.startswith(b"GET"):
        conn.sendall(b"x" * 1000)
        conn.shutdown(socket.SHUT_RDWR)


def reset_after_headers(conn, request):
    """GET: headers, then a reset in the middle of the body."""
    conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n")
    if request.startswith(b"GET"):
        conn.sendall(b"y" * 20000)
        conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")
