"""The request client's proxy fall-back: when a send fails, the user's IE proxy settings
(a named proxy for the next attempt, or a configuration script for the same attempt)."""
import shutil

import pytest

from http_probe import Probe, make_prefix, set_ie_proxy, web  # noqa: F401  (fixture)
from servers import FaultServer, HttpProxy, free_port, respond, test_certs  # noqa: F401


@pytest.fixture
def proxy_prefix(prefix_template, bin_dir, tmp_path, test_certs):
    """A prefix of its own: these tests change the user's proxy settings."""
    prefix = make_prefix(prefix_template, bin_dir, tmp_path / "prefix", test_certs.ca)
    yield prefix
    prefix.stop()
    shutil.rmtree(prefix.path, ignore_errors=True)


@pytest.fixture
def origin():
    with FaultServer(lambda req, conn: respond(conn, 200, "via " + req.target), max_seconds=60) as server:
        yield server


def test_named_ie_proxy_carries_the_next_attempt(proxy_prefix, origin):
    unreachable = free_port()  # nothing listens here: only the proxy can reach the origin
    with HttpProxy(port_map={f"localhost:{unreachable}": ("127.0.0.1", origin.port)}, max_seconds=60) as proxy:
        set_ie_proxy(proxy_prefix, proxy=proxy.proxy_name)
        result = Probe(proxy_prefix).request("GET", f"http://localhost:{unreachable}/list.xml?x=1")
    assert (result["sent"], result["attempts"], result["body"]) == (True, 2, "via /list.xml?x=1")
    assert [(r.method, r.target) for r in proxy.requests] == [
        ("GET", f"http://localhost:{unreachable}/list.xml?x=1")]


def test_https_goes_through_the_ie_proxy_with_connect(proxy_prefix, web):
    web.put("downloads/xml/compoment.xml", b"<list/>")
    unreachable = free_port()
    with HttpProxy(port_map={f"localhost:{unreachable}": ("127.0.0.1", web.ports["https"])},
                   max_seconds=60) as proxy:
        set_ie_proxy(proxy_prefix, proxy=proxy.proxy_name)
        got = Probe(proxy_prefix).get(f"https://localhost:{unreachable}/downloads/xml/compoment.xml")
    assert (got["ok"], got["status"], got["body"]) == (True, 200, "<list/>")
    assert [(r.method, r.target) for r in proxy.requests] == [("CONNECT", f"localhost:{unreachable}")]


def test_configuration_script_proxy_is_used_in_the_same_attempt(proxy_prefix, origin):
    unreachable = free_port()
    with HttpProxy(port_map={f"localhost:{unreachable}": ("127.0.0.1", origin.port)}, max_seconds=60) as proxy:
        script = ('function FindProxyForURL(url, host) { return "PROXY %s"; }' % proxy.proxy_name)
        with FaultServer(lambda req, conn: respond(conn, 200, script,
                                                   [("Content-Type", "application/x-ns-proxy-autoconfig")]),
                         max_seconds=60) as pac:
            set_ie_proxy(proxy_prefix, auto_config_url=pac.url("/proxy.pac"))
            result = Probe(proxy_prefix).request("GET", f"http://localhost:{unreachable}/a")
    assert (result["sent"], result["attempts"], result["body"]) == (True, 1, "via /a")
    assert [r.target for r in pac.requests] == ["/proxy.pac"]
    assert len(proxy.requests) == 1


def test_without_ie_settings_every_attempt_fails(proxy_prefix):
    result = Probe(proxy_prefix).request("GET", f"http://localhost:{free_port()}/a")
    assert (result["sent"], result["attempts"], result["lastError"]) == (False, 3, 12029)


def test_caller_named_proxy_is_used_from_the_first_attempt(proxy_prefix, origin):
    unreachable = free_port()
    with HttpProxy(port_map={f"localhost:{unreachable}": ("127.0.0.1", origin.port)}, max_seconds=60) as proxy:
        result = Probe(proxy_prefix).request("GET", f"http://localhost:{unreachable}/b",
                                             "--proxy", proxy.proxy_name)
    assert (result["sent"], result["attempts"], result["body"]) == (True, 1, "via /b")
    assert len(proxy.requests) == 1
