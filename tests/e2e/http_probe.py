"""Driving the HTTP clients inside Wine through tests/helpers/http_probe.cpp.

`Probe` runs http-probe.exe in one prefix and returns its JSON lines; `http_prefix` is a
prefix per test module that trusts the test CA (tests there share it, so they must not
change its registry); `set_ie_proxy` writes the user's Internet Explorer proxy settings.
"""
import json
import shutil
import struct
import time

import pytest

from servers import trust_ca_in_prefix
from wine_prefix import WinePrefix, copy_prefix


class Probe:
    def __init__(self, prefix):
        self.prefix = prefix
        self.exe = prefix.install_exe(prefix.helpers / "http-probe.exe")

    def run(self, *args, timeout=120, env=None):
        out = self.prefix.temp_dir / f"probe-{time.monotonic_ns()}.jsonl"
        result = self.prefix.run(self.exe, self.prefix.win_path(out), *args, timeout=timeout, env=env)
        assert not result.timed_out, f"http-probe {args} timed out"
        assert out.exists(), f"http-probe {args} wrote nothing: {result.stdout}"
        lines = [json.loads(line) for line in out.read_text(encoding="utf-8").splitlines()]
        out.unlink()
        assert lines and result.exit_code == 0, result.stdout
        return lines

    def text_arg(self, text):
        """An "@file" argument holding text as UTF-8 (for what a command line would mangle)."""
        path = self.prefix.temp_dir / f"arg-{time.monotonic_ns()}.txt"
        path.write_bytes(text.encode("utf-8"))
        return "@" + self.prefix.win_path(path)

    def get(self, url, charset="utf-8", **kw):
        return self.run("get", url, charset, **kw)[-1]

    def post(self, url, body="", content_type="", **kw):
        return self.run("post", url, body, content_type, **kw)[-1]

    def request(self, method, url, *options, **kw):
        return self.run("request", method, url, *options, **kw)[-1]

    def download(self, url, target, *options, **kw):
        """(result, [(percent, speed), ...]); target is a host path inside drive_c."""
        lines = self.run("download", url, self.prefix.win_path(target), *options, **kw)
        progress = [(line["progress"], line["speed"]) for line in lines if "progress" in line]
        return lines[-1], progress


def make_prefix(prefix_template, bin_dir, folder, ca=None):
    copy_prefix(prefix_template, folder)
    prefix = WinePrefix(folder, bin_dir)
    if ca is not None:
        trust_ca_in_prefix(prefix, ca)
    return prefix


@pytest.fixture(scope="module")
def http_prefix(prefix_template, bin_dir, tmp_path_factory, test_certs):
    prefix = make_prefix(prefix_template, bin_dir, tmp_path_factory.mktemp("http") / "prefix", test_certs.ca)
    yield prefix
    prefix.stop()
    shutil.rmtree(prefix.path, ignore_errors=True)


@pytest.fixture(scope="module")
def probe(http_prefix):
    return Probe(http_prefix)


INTERNET_SETTINGS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"


def set_ie_proxy(prefix, proxy="", bypass="", auto_config_url=""):
    """The user's IE proxy settings: the values and the Connections blob WinHTTP reads."""
    if proxy:
        prefix.reg_add(INTERNET_SETTINGS, "ProxyEnable", 1, "REG_DWORD")
        prefix.reg_add(INTERNET_SETTINGS, "ProxyServer", proxy)
        if bypass:
            prefix.reg_add(INTERNET_SETTINGS, "ProxyOverride", bypass)
    if auto_config_url:
        prefix.reg_add(INTERNET_SETTINGS, "AutoConfigURL", auto_config_url)
    flags = 1 | (2 if proxy else 0) | (4 if auto_config_url else 0)
    blob = struct.pack("<III", 0x46, 0, flags)
    for text in (proxy, bypass, auto_config_url):
        data = text.encode("ascii")
        blob += struct.pack("<I", len(data)) + data
    blob += b"\0" * 32
    prefix.reg_add(INTERNET_SETTINGS + r"\Connections", "DefaultConnectionSettings", blob.hex(), "REG_BINARY")


class Web:
    """One nginx for a test module: plain HTTP, HTTPS with a trusted certificate, and HTTPS
    ports with an expired certificate, one for another name and one from an unknown CA."""

    def __init__(self, root, nginx, ports):
        self.root = root
        self.nginx = nginx
        self.ports = ports

    def url(self, path, kind="https"):
        scheme = "http" if kind == "http" else "https"
        return f"{scheme}://localhost:{self.ports[kind]}{path}"

    def put(self, name, data: bytes):
        path = self.root / name.lstrip("/")
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        return path


@pytest.fixture(scope="module")
def web(tmp_path_factory, test_certs):
    from servers import Nginx, free_port
    root = tmp_path_factory.mktemp("www")
    ports = {kind: free_port() for kind in ("http", "https", "expired", "other_name", "untrusted")}
    https = [(ports["https"], test_certs.localhost), (ports["expired"], test_certs.expired),
             (ports["other_name"], test_certs.other_name), (ports["untrusted"], test_certs.untrusted)]
    with Nginx(tmp_path_factory.mktemp("nginx"), root, http_ports=[ports["http"]], https=https) as nginx:
        yield Web(root, nginx, ports)
