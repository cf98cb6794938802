"""Servers for end-to-end tests, all on loopback and all bounded in time.

- TestCA: a certificate authority and server certificates made with openssl.
- Nginx: Debian's nginx as a non-daemon child with its own prefix and config in a folder,
  serving static files over HTTP and HTTPS.
- FaultServer: a small scripted HTTP(S) server for answers nginx cannot give (cut bodies,
  silence, odd headers); every request it saw is kept in .requests.
- HttpProxy: a forwarding proxy (CONNECT for HTTPS, absolute URLs for HTTP) that can map
  the requested host:port to another one.
- trust_ca_in_prefix: makes one Wine prefix trust a TestCA.

Each server is a context manager, stops itself after max_seconds, and is stopped by its
own pid or socket only. Ports come from MIREL_TEST_PORTS ("first-last", default
28600-28699) unless given.
"""
import contextlib
import datetime
import os
import shutil
import socket
import ssl
import subprocess
import threading
import time
from dataclasses import dataclass, field
from pathlib import Path

import pytest

LOOPBACK = "127.0.0.1"


# ---- ports -------------------------------------------------------------------------
def port_range():
    text = os.environ.get("MIREL_TEST_PORTS", "28600-28699")
    first, last = (int(x) for x in text.split("-"))
    return first, last


_taken = set()
_taken_lock = threading.Lock()


def free_port(host=LOOPBACK):
    """A port of the test range that nothing listens on and this run has not handed out."""
    first, last = port_range()
    with _taken_lock:
        for port in range(first, last + 1):
            if port in _taken:
                continue
            with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
                try:
                    s.bind((host, port))
                except OSError:
                    continue
            _taken.add(port)
            return port
    raise RuntimeError(f"no free port in {first}-{last}")


def wait_for_port(port, host=LOOPBACK, timeout=10.0, proc=None):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if proc is not None and proc.poll() is not None:
            raise RuntimeError(f"server exited with {proc.returncode} before listening on {port}")
        with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
            s.settimeout(0.2)
            if s.connect_ex((host, port)) == 0:
                return
        time.sleep(0.05)
    raise TimeoutError(f"nothing listens on {host}:{port}")


# ---- certificates ------------------------------------------------------------------
@dataclass
class Cert:
    cert: Path   # PEM
    key: Path    # PEM


def _openssl(*args, cwd=None):
    proc = subprocess.run(["openssl", *map(str, args)], cwd=cwd, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
    if proc.returncode != 0:
        raise RuntimeError("openssl " + " ".join(map(str, args)) + "\n" + proc.stdout.decode(errors="replace"))


def _stamp(when):
    return when.strftime("%Y%m%d%H%M%SZ")


class TestCA:
    """A certificate authority in its own folder; issue() signs server certificates."""
    __test__ = False  # not a test class, despite the name

    def __init__(self, folder: Path, name="Mirel Test CA"):
        self.folder = Path(folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        (self.folder / "newcerts").mkdir(exist_ok=True)
        (self.folder / "index.txt").write_text("")
        (self.folder / "serial").write_text("1000\n")
        self.cert = self.folder / "ca.pem"
        self.key = self.folder / "ca.key"
        self.der = self.folder / "ca.der"
        _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", self.key, "-out", self.cert,
                 "-days", "3650", "-subj", f"/CN={name}",
                 "-addext", "basicConstraints=critical,CA:TRUE",
                 "-addext", "keyUsage=critical,keyCertSign,cRLSign")
        _openssl("x509", "-in", self.cert, "-outform", "DER", "-out", self.der)
        self.config = self.folder / "ca.cnf"
        self.config.write_text(
            "[ca]\ndefault_ca = test_ca\n[test_ca]\n"
            f"database = {self.folder}/index.txt\nnew_certs_dir = {self.folder}/newcerts\n"
            f"certificate = {self.cert}\nprivate_key = {self.key}\nserial = {self.folder}/serial\n"
            "default_md = sha256\npolicy = policy_any\nunique_subject = no\ncopy_extensions = none\n"
            "[policy_any]\ncommonName = supplied\n")

    def issue(self, name, dns=("localhost",), expired=False) -> Cert:
        """A server certificate for the DNS names; expired=True ends its validity yesterday."""
        key = self.folder / f"{name}.key"
        csr = self.folder / f"{name}.csr"
        cert = self.folder / f"{name}.pem"
        ext = self.folder / f"{name}.ext"
        ext.write_text("subjectAltName=" + ",".join(f"DNS:{d}" for d in dns) + "\n"
                       "basicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n"
                       "keyUsage=critical,digitalSignature,keyEncipherment\n")
        _openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", csr, "-subj", f"/CN={dns[0]}")
        now = datetime.datetime.now(datetime.timezone.utc)
        if expired:
            start, end = now - datetime.timedelta(days=30), now - datetime.timedelta(days=1)
        else:
            start, end = now - datetime.timedelta(days=1), now + datetime.timedelta(days=30)
        _openssl("ca", "-batch", "-config", self.config, "-in", csr, "-out", cert, "-notext",
                 "-startdate", _stamp(start), "-enddate", _stamp(end), "-extfile", ext)
        return Cert(cert, key)


def trust_ca_in_prefix(prefix, ca: TestCA):
    """Adds the CA to the Root store of one Wine prefix (WinePrefix from wine_prefix.py)."""
    der = prefix.drive_c / "mirel-test-ca.der"
    shutil.copyfile(ca.der, der)
    helper = prefix.install_exe(prefix.helpers / "trust-ca.exe")
    result = prefix.run(helper, prefix.win_path(der), timeout=60)
    if result.exit_code != 0:
        raise RuntimeError(f"trust-ca.exe failed with {result.exit_code}: {result.stdout}")


# ---- a watchdog every server shares --------------------------------------------------
class _Deadline:
    """Calls stop() once max_seconds have passed, unless cancelled first."""

    def __init__(self, max_seconds, stop):
        self._timer = threading.Timer(max_seconds, stop)
        self._timer.daemon = True
        self._timer.start()

    def cancel(self):
        self._timer.cancel()


# ---- nginx ---------------------------------------------------------------------------
class Nginx:
    """nginx serving `root` on plain HTTP ports and HTTPS ports (port, Cert).

    `extra` is inserted into every server block (locations, headers). The access log
    (folder/access.log) holds one "METHOD URI STATUS BYTES" line per request.
    """

    def __init__(self, folder: Path, root: Path, http_ports=(), https=(), extra="", max_seconds=900):
        self.folder = Path(folder)
        self.root = Path(root)
        self.http_ports = list(http_ports)
        self.https = list(https)
        self.extra = extra
        self.max_seconds = max_seconds
        self.proc = None
        self._deadline = None

    @property
    def access_log(self) -> Path:
        return self.folder / "access.log"

    def requests(self):
        if not self.access_log.exists():
            return []
        return [line.split(" ") for line in self.access_log.read_text().splitlines() if line]

    def _config(self):
        f = self.folder
        servers = []
        for port in self.http_ports:
            servers.append(f"server {{ listen {LOOPBACK}:{port}; root {self.root}; {self.extra} }}")
        for port, cert in self.https:
            servers.append(f"server {{ listen {LOOPBACK}:{port} ssl; ssl_certificate {cert.cert}; "
                           f"ssl_certificate_key {cert.key}; root {self.root}; {self.extra} }}")
        temp = " ".join(f"{kind}_temp_path {f}/tmp-{kind};" for kind in
                        ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"))
        return (f"daemon off; master_process off; worker_processes 1; pid {f}/nginx.pid;\n"
                f"error_log {f}/error.log warn;\n"
                "events { worker_connections 256; }\n"
                "http {\n"
                "  log_format plain '$request_method $request_uri $status $body_bytes_sent';\n"
                f"  access_log {f}/access.log plain;\n  {temp}\n"
                "  types { text/html html; text/xml xml; text/plain txt; }\n"
                "  default_type application/octet-stream;\n  sendfile on;\n  keepalive_timeout 10;\n  "
                + "\n  ".join(servers) + "\n}\n")

    def start(self):
        self.folder.mkdir(parents=True, exist_ok=True)
        conf = self.folder / "nginx.conf"
        conf.write_text(self._config())
        self.proc = subprocess.Popen(["nginx", "-p", str(self.folder), "-c", str(conf), "-e",
                                      str(self.folder / "error.log")],
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self._deadline = _Deadline(self.max_seconds, self.stop)
        try:
            for port in self.http_ports + [p for p, _ in self.https]:
                wait_for_port(port, proc=self.proc)
        except Exception:
            self.stop()
            log = self.folder / "error.log"
            raise RuntimeError("nginx did not start: " + (log.read_text() if log.exists() else ""))
        return self

    def stop(self):
        if self._deadline:
            self._deadline.cancel()
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(timeout=10)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()


# ---- scripted servers ----------------------------------------------------------------
@dataclass
class Request:
    method: str
    target: str
    version: str
    headers: list            # [(name, value)] in order, names as sent
    body: bytes
    head: bytes = b""        # the request line and headers as received

    def header(self, name, default=None):
        for key, value in self.headers:
            if key.lower() == name.lower():
                return value
        return default

    def header_all(self, name):
        return [v for k, v in self.headers if k.lower() == name.lower()]


class Connection:
    """The client socket given to a handler."""

    def __init__(self, sock):
        self.sock = sock

    def send(self, data: bytes):
        self.sock.sendall(data)

    def close(self):
        with contextlib.suppress(OSError):
            self.sock.shutdown(socket.SHUT_RDWR)
        self.sock.close()


def read_request(sock, limit=1 << 20):
    """One HTTP request from a socket, or None when the peer closed first."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = sock.recv(65536)
        if not chunk:
            return None
        data += chunk
        if len(data) > limit:
            return None
    head, rest = data.split(b"\r\n\r\n", 1)
    lines = head.decode("latin-1").split("\r\n")
    parts = lines[0].split(" ")
    if len(parts) != 3:
        return None
    method, target, version = parts
    headers = []
    for line in lines[1:]:
        name, _, value = line.partition(":")
        headers.append((name.strip(), value.strip()))
    request = Request(method, target, version, headers, b"", head + b"\r\n\r\n")
    length = int(request.header("Content-Length", "0") or 0)
    body = rest
    while len(body) < length:
        chunk = sock.recv(65536)
        if not chunk:
            break
        body += chunk
    request.body = body[:length]
    return request


def response_bytes(status=200, body=b"", headers=(), reason=None, content_length=True):
    """A whole HTTP/1.1 response that closes the connection."""
    if isinstance(body, str):
        body = body.encode()
    reason = reason or {200: "OK", 302: "Found", 404: "Not Found", 500: "Internal Server Error"}.get(status, "X")
    lines = [f"HTTP/1.1 {status} {reason}"]
    names = {name.lower() for name, _ in headers}
    lines += [f"{name}: {value}" for name, value in headers]
    if content_length and "content-length" not in names:
        lines.append(f"Content-Length: {len(body)}")
    lines.append("Connection: close")
    return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1") + body


def respond(conn, status=200, body=b"", headers=(), reason=None, content_length=True):
    conn.send(response_bytes(status, body, headers, reason, content_length))


class FaultServer:
    """Calls handler(request, conn) for every request, then closes the connection.

    tls: a Cert to serve HTTPS. The handler may send anything, sleep (bounded by
    stop()), or close early. Requests are recorded in .requests in arrival order.
    """

    def __init__(self, handler, port=None, host=LOOPBACK, tls: Cert = None, max_seconds=120,
                 max_connections=500):
        self.handler = handler
        self.host = host
        self.port = port
        self.tls = tls
        self.max_seconds = max_seconds
        self.max_connections = max_connections
        self.requests = []
        self.errors = []
        self._lock = threading.Lock()
        self._stop = threading.Event()
        self._sock = None
        self._thread = None
        self._deadline = None
        self._clients = []

    @property
    def stopping(self):
        return self._stop.is_set()

    def url(self, path="/", scheme=None, host="localhost"):
        scheme = scheme or ("https" if self.tls else "http")
        return f"{scheme}://{host}:{self.port}{path}"

    def start(self):
        if self.port is None:
            self.port = free_port(self.host)
        self._sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._sock.bind((self.host, self.port))
        self._sock.listen(64)
        self._sock.settimeout(0.2)
        self._context = None
        if self.tls:
            self._context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            self._context.load_cert_chain(self.tls.cert, self.tls.key)
        self._thread = threading.Thread(target=self._serve, daemon=True)
        self._thread.start()
        self._deadline = _Deadline(self.max_seconds, self.stop)
        return self

    def _serve(self):
        accepted = 0
        while not self._stop.is_set() and accepted < self.max_connections:
            try:
                client, _ = self._sock.accept()
            except socket.timeout:
                continue
            except OSError:
                break
            accepted += 1
            threading.Thread(target=self._handle, args=(client,), daemon=True).start()

    def _handle(self, client):
        client.settimeout(15)
        with self._lock:
            self._clients.append(client)
        try:
            if self._context:
                client = self._context.wrap_socket(client, server_side=True)
            request = read_request(client)
            if request is None:
                return
            with self._lock:
                self.requests.append(request)
            self.handler(request, Connection(client))
        except (OSError, ssl.SSLError) as e:
            self.errors.append(e)
        finally:
            Connection(client).close()

    def wait(self, seconds):
        """Sleeps in a handler, returning early when the server stops."""
        self._stop.wait(seconds)

    def stop(self):
        self._stop.set()
        if self._deadline:
            self._deadline.cancel()
        if self._sock:
            with contextlib.suppress(OSError):
                self._sock.close()
        with self._lock:
            for c in self._clients:
                with contextlib.suppress(OSError):
                    c.close()
        if self._thread and self._thread is not threading.current_thread():
            self._thread.join(timeout=5)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()


class HttpProxy(FaultServer):
    """A forwarding proxy; port_map sends "host:port" to another (host, port).

    Name it to clients by its address (proxy_name), not as localhost: Wine's WinHTTP sends
    origin-form requests to a proxy whose name equals the target's host name."""

    def __init__(self, port_map=None, **kwargs):
        super().__init__(self._forward, **kwargs)
        self.port_map = port_map or {}

    @property
    def proxy_name(self):
        return f"{self.host}:{self.port}"

    def _upstream(self, authority):
        host, _, port = authority.rpartition(":")
        target = self.port_map.get(authority, (host, int(port)))
        return socket.create_connection(target, timeout=15)

    def _forward(self, request, conn):
        if request.method == "CONNECT":
            upstream = self._upstream(request.target)
            conn.send(b"HTTP/1.1 200 Connection established\r\n\r\n")
            self._pipe(conn.sock, upstream)
            return
        # Absolute form "GET http://host:port/path HTTP/1.1"; origin form takes the Host header.
        if "://" in request.target:
            authority, _, path = request.target.split("://", 1)[1].partition("/")
        else:
            authority, path = request.header("Host", ""), request.target.lstrip("/")
        if ":" not in authority:
            authority += ":80"
        upstream = self._upstream(authority)
        head = [f"{request.method} /{path} {request.version}"]
        head += [f"{k}: {v}" for k, v in request.headers if k.lower() not in ("proxy-connection", "connection")]
        head.append("Connection: close")
        upstream.sendall(("\r\n".join(head) + "\r\n\r\n").encode("latin-1") + request.body)
        self._pipe(conn.sock, upstream)

    def _pipe(self, client, upstream):
        def copy(src, dst):
            with contextlib.suppress(OSError):
                while not self.stopping:
                    data = src.recv(65536)
                    if not data:
                        break
                    dst.sendall(data)
            with contextlib.suppress(OSError):
                dst.shutdown(socket.SHUT_WR)

        back = threading.Thread(target=copy, args=(upstream, client), daemon=True)
        back.start()
        copy(client, upstream)
        back.join(timeout=15)
        upstream.close()


# ---- fixtures ------------------------------------------------------------------------
@dataclass
class CertSet:
    """One trusted CA with its certificates, and one CA nobody trusts."""
    ca: TestCA
    localhost: Cert          # valid, DNS:localhost
    expired: Cert            # DNS:localhost, validity ended yesterday
    other_name: Cert         # valid, DNS:other.example only
    untrusted: Cert          # valid, DNS:localhost, from the untrusted CA
    extra: dict = field(default_factory=dict)


@pytest.fixture(scope="session")
def test_certs(tmp_path_factory) -> CertSet:
    folder = tmp_path_factory.mktemp("certs")
    ca = TestCA(folder / "ca")
    stranger = TestCA(folder / "stranger", name="Mirel Untrusted CA")
    return CertSet(ca=ca, localhost=ca.issue("localhost"), expired=ca.issue("expired", expired=True),
                   other_name=ca.issue("other", dns=("other.example",)),
                   untrusted=stranger.issue("localhost"))
