"""The request client (HttpGet, HttpPost, HttpRequest) under Wine against loopback servers."""
import hashlib
import time

import pytest

from http_probe import probe, http_prefix, web  # noqa: F401  (fixtures)
from servers import FaultServer, free_port, respond, test_certs  # noqa: F401

XML = '<?xml version="1.0" encoding="utf-8"?><list><c name="\u4e2d\u6587 caf\u00e9"/></list>'


def fault(handler, **kw):
    return FaultServer(handler, max_seconds=60, **kw)


# ---- the main paths ----------------------------------------------------------------
def test_get_over_http_and_https_with_the_trusted_ca(probe, web):
    web.put("downloads/xml/compoment.xml", XML.encode("utf-8"))
    for kind in ("http", "https"):
        result = probe.get(web.url("/downloads/xml/compoment.xml", kind))
        assert (result["ok"], result["status"], result["body"]) == (True, 200, XML)


@pytest.mark.parametrize("kind", ["expired", "other_name", "untrusted"])
def test_certificate_errors_fail_unless_checks_are_off(probe, web, kind):
    web.put("cert.txt", b"secret list")
    url = web.url("/cert.txt", kind)
    assert probe.get(url) == {"command": "get", "ok": False, "status": 0, "body": "", "body_size": 0}
    checked = probe.request("GET", url)
    assert not checked["sent"]
    assert checked["lastError"] not in (0, 13)  # the platform's certificate error
    unchecked = probe.request("GET", url, "--no-verify")
    assert (unchecked["sent"], unchecked["statusText"], unchecked["body"]) == (True, "200", "secret list")


def test_error_status_with_a_body_is_a_complete_answer(probe, web):
    result = probe.get(web.url("/no/such/file.xml"))
    assert (result["ok"], result["status"]) == (True, 404)
    assert "404 Not Found" in result["body"]

    with fault(lambda req, conn: respond(conn, 500, "<p>broken</p>")) as server:
        result = probe.get(server.url("/x"))
    assert (result["ok"], result["status"], result["body"]) == (True, 500, "<p>broken</p>")


def test_empty_body_is_ok_with_nothing_in_it(probe):
    with fault(lambda req, conn: respond(conn, 200, b"")) as server:
        result = probe.get(server.url("/empty"))
    assert (result["ok"], result["status"], result["body"]) == (True, 200, "")


def test_post_sends_body_and_both_headers(probe):
    with fault(lambda req, conn: respond(conn, 200, '{"ret":0}')) as server:
        result = probe.post(server.url("/report/clientreport?retflag=json&sign=ab&nonce=1&data={}"),
                            '{"a":1}', "application/json")
        empty = probe.post(server.url("/report/clientreport?retflag=json"), "", "")
    assert (result["ok"], result["status"], result["body"]) == (True, 200, '{"ret":0}')
    assert (empty["ok"], empty["status"]) == (True, 200)
    first, second = server.requests
    assert (first.method, first.target) == ("POST", "/report/clientreport?retflag=json&sign=ab&nonce=1&data=%7B%7D")
    assert first.body == b'{"a":1}'
    assert first.header_all("Content-Length") == ["7"]
    assert first.header("Content-Type") == "application/json"
    assert first.header("User-Agent") == "MirelDownloader"
    assert (second.body, second.header_all("Content-Length")) == (b"", ["0"])


# ---- answers nginx cannot give ---------------------------------------------------------
def test_cut_html_page_is_fetched_three_times_then_fails_with_13(probe):
    page = {"/cut": "<HTML><body>half a page", "/whole": "<HTML><body>page</body></HTML>"}
    with fault(lambda req, conn: respond(conn, 200, page[req.target])) as server:
        cut = probe.request("GET", server.url("/cut"))
        whole = probe.request("GET", server.url("/whole"))
        posted = probe.request("POST", server.url("/cut"))
        got = probe.get(server.url("/cut"))
    assert (cut["sent"], cut["lastError"], cut["attempts"]) == (False, 13, 3)
    assert (whole["sent"], whole["attempts"]) == (True, 1)
    assert (posted["sent"], posted["attempts"], posted["body"]) == (True, 1, page["/cut"])
    assert not got["ok"] and got["status"] == 0
    assert [r.target for r in server.requests].count("/cut") == 3 + 1 + 3


def test_cookies_location_and_length_are_read_from_the_headers(probe):
    # Status 200: WinHTTP would follow a redirect itself.
    headers = {"/123": [("Set-Cookie", "a=1; path=/"), ("Set-Cookie", "b=2"), ("Set-Cookie", "A=1; PATH=/"),
                        ("Location", "123")],
               "/abs": [("Location", "http://localhost/elsewhere")]}
    with fault(lambda req, conn: respond(conn, 200, "moved", headers[req.target])) as server:
        numeric = probe.request("GET", server.url("/123"))
        absolute = probe.request("GET", server.url("/abs"))
    assert numeric["cookies"] == "a=1; path=/; b=2;"
    assert (numeric["location"], numeric["statusText"], numeric["contentLength"]) == ("123", "200", 5)
    assert (absolute["location"], absolute["cookies"]) == ("", "")


CHARSET_CASES = [
    # (Content-Type header, preset charset, extra options, expected decoding)
    ("text/xml; charset=UTF-8", "gb2312", (), "utf-8"),
    ("text/xml; charset=iso-8859-1", "utf-8", (), "cp1252"),
    ("text/xml", "gb2312", (), "cp1252"),
    ("text/xml", "utf-8", (), "utf-8"),
    ("text/xml; charset=iso-8859-1", "utf-8", ("--skip-charset",), "utf-8"),
]


@pytest.mark.parametrize("content_type,preset,options,decoding", CHARSET_CASES)
def test_body_is_decoded_by_the_declared_charset(probe, content_type, preset, options, decoding):
    raw = XML.encode("utf-8")
    with fault(lambda req, conn: respond(conn, 200, raw, [("Content-Type", content_type)])) as server:
        # The ANSI code page follows the locale: 1252 for en_US.
        result = probe.request("GET", server.url("/list.xml"), "--charset", preset, *options,
                               env={"LC_ALL": "en_US.UTF-8", "LANG": "en_US.UTF-8"})
    assert result["sent"]
    assert result["body"] == raw.decode(decoding, errors="replace")


def test_body_of_50000_bytes_in_one_piece_is_kept_whole(probe):
    body = bytes((i * 7 + 3) % 251 + 1 for i in range(50000))  # no zero byte
    with fault(lambda req, conn: conn.send(
            b"HTTP/1.1 200 OK\r\nContent-Length: 50000\r\nConnection: close\r\n\r\n" + body)) as server:
        result = probe.request("GET", server.url("/big"))
    assert (result["sent"], result["raw_size"], result["contentLength"]) == (True, 50000, 50000)
    assert result["raw_md5"] == hashlib.md5(body).hexdigest()
    assert result["progressCalls"] >= 2 and result["lastProgress"] == 100.0


def test_connection_closed_mid_body_fails_every_attempt(probe):
    def cut(req, conn):
        conn.send(b"HTTP/1.1 200 OK\r\nContent-Length: 10000\r\nConnection: close\r\n\r\n" + b"x" * 3000)
        conn.close()
    with fault(cut) as server:
        result = probe.request("GET", server.url("/cut"))
        got = probe.get(server.url("/cut"))
    assert (result["sent"], result["attempts"]) == (False, 3)
    assert result["lastError"] != 0
    assert (got["ok"], got["body"]) == (False, "")


def test_silent_server_runs_into_the_receive_time_out(probe):
    server = fault(lambda req, conn: server.wait(30))
    with server:
        start = time.monotonic()
        result = probe.request("GET", server.url("/silent"), "--timeouts", "0,2000,2000,1000")
        elapsed = time.monotonic() - start
    assert (result["sent"], result["attempts"]) == (False, 3)
    assert result["lastError"] in (12002, 10060)  # Windows says 12002, Wine the socket's 10060
    assert len(server.requests) == 3
    assert elapsed < 20


def test_nothing_listening_fails_after_three_attempts(probe):
    result = probe.request("GET", f"http://localhost:{free_port()}/x")
    assert (result["sent"], result["attempts"]) == (False, 3)
    assert result["lastError"] == 12029  # cannot connect


# ---- the request itself --------------------------------------------------------------
def test_path_of_1299_characters_is_sent_and_1300_refused(probe):
    with fault(lambda req, conn: respond(conn, 200, "ok")) as server:
        longest = "/" + "a" * 1290 + "?q=12345"
        assert len(longest) == 1299
        sent = probe.request("GET", server.url(longest))
        refused = probe.request("GET", server.url(longest + "6"))
    assert sent["sent"] and sent["body"] == "ok"
    assert [r.target for r in server.requests] == [longest]
    assert (refused["sent"], refused["attempts"], refused["lastError"]) == (False, 0, 0)


def test_method_and_url_are_checked_before_sending(probe):
    with fault(lambda req, conn: respond(conn, 200, "ok")) as server:
        lower = probe.request("post", server.url("/m"))
        put = probe.request("PUT", server.url("/m"))
        empty = probe.request("GET", "")
    assert lower["sent"]
    assert (put["sent"], put["lastError"]) == (False, 87)
    assert (empty["sent"], empty["lastError"]) == (False, 3)
    assert [r.method for r in server.requests] == ["POST"]


def test_a_retry_sends_extra_headers_and_cookie_once(probe):
    def flaky(req, conn):
        if len(server.requests) < 3:
            conn.close()  # no answer: the receive fails and the client tries again
        else:
            respond(conn, 200, "third time")
    server = fault(flaky)
    with server:
        result = probe.request("GET", server.url("/flaky"), "--header", "X-Mirel: 1", "--cookie", "k=v")
    assert (result["sent"], result["attempts"], result["body"]) == (True, 3, "third time")
    assert len(server.requests) == 3
    for request in server.requests:
        assert request.header_all("X-Mirel") == ["1"]
        assert request.header_all("Cookie") == ["k=v"]


def test_request_target_is_percent_escaped_as_utf8(probe):
    with fault(lambda req, conn: respond(conn, 200, "ok")) as server:
        url = server.url('/a b"<>\\^`{|}\u00e9\u20ac/x?q=1&r=a:b,c;d=e')
        result = probe.request("GET", probe.text_arg(url))
    assert result["sent"]
    assert server.requests[0].target == "/a%20b%22%3C%3E%5C%5E%60%7B%7C%7D%C3%A9%E2%82%AC/x?q=1&r=a:b,c;d=e"
