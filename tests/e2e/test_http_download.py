"""The file-download client (DownloadFile) under Wine against loopback servers."""
import hashlib
import os
import socket

import pytest

from http_probe import probe, http_prefix, web  # noqa: F401  (fixtures)
from servers import FaultServer, free_port, respond, test_certs  # noqa: F401


def payload(size):
    return bytes((i * 31 + 7) % 256 for i in range(size))


def fault(handler, **kw):
    return FaultServer(handler, max_seconds=60, **kw)


@pytest.fixture
def target(http_prefix, request):
    path = http_prefix.downloads / f"{request.node.name[:40]}.bin"
    yield path
    if path.exists():
        path.unlink()


# ---- the main paths ----------------------------------------------------------------
SIZES = [1, 8191, 8192, 8193, 100_000, 3 * 1024 * 1024 + 17]


@pytest.mark.parametrize("kind", ["http", "https"])
def test_files_of_many_sizes_arrive_whole_with_progress(probe, web, target, kind):
    for size in SIZES:
        data = payload(size)
        web.put(f"pkg/{size}.bin", data)
        result, progress = probe.download(web.url(f"/pkg/{size}.bin", kind), target)
        assert (result["ok"], result["errorType"], result["systemError"]) == (True, 0, 0), size
        assert hashlib.md5(target.read_bytes()).hexdigest() == hashlib.md5(data).hexdigest()
        percents = [p for p, _ in progress]
        assert percents == sorted(percents) and percents[-1] == 100, size
        assert all(speed >= 0 for _, speed in progress)


def test_empty_file_is_created_without_progress(probe, web, target):
    web.put("pkg/empty.bin", b"")
    result, progress = probe.download(web.url("/pkg/empty.bin"), target)
    assert result["ok"] and target.read_bytes() == b"" and progress == []


def test_query_string_is_requested_and_the_user_agent_sent(probe, target):
    agents = []

    def serve(req, conn):
        agents.append(req.header("User-Agent"))
        respond(conn, 200, b"abc")
    with fault(serve) as server:
        probe.download(server.url("/pkg/a.exe?x=1&y=2"), target)
        probe.download(server.url("/pkg/b.exe"), target, "--agent", "Other/2.0")
    assert [(r.method, r.target) for r in server.requests] == [
        ("HEAD", "/pkg/a.exe?x=1&y=2"), ("GET", "/pkg/a.exe?x=1&y=2"), ("HEAD", "/pkg/b.exe"), ("GET", "/pkg/b.exe")]
    assert agents == ["MirelDownloader/1.0"] * 2 + ["Other/2.0"] * 2


def test_https_certificate_errors_fail_the_get(probe, web, target):
    web.put("pkg/secure.bin", b"data")
    for kind in ("expired", "other_name", "untrusted"):
        result, _ = probe.download(web.url("/pkg/secure.bin", kind), target)
        assert (result["ok"], result["errorType"]) == (False, 8), kind
        assert result["systemError"] != 0
    assert not target.exists()


def test_unusable_urls_fail_with_type_4(probe, web, target):
    for url in (web.url("/pkg/1.bin").replace("https", "HTTPS"), f"https://localhost:{web.ports['https']}",
                f"http://localhost:99999/x", "file://localhost/x"):
        result, _ = probe.download(url, target)
        assert (result["ok"], result["errorType"]) == (False, 4), url
    assert not target.exists()


def test_error_page_is_saved_like_a_file(probe, web, target):
    result, progress = probe.download(web.url("/pkg/missing.bin"), target)
    assert result["ok"]
    assert b"404 Not Found" in target.read_bytes()
    assert progress[-1][0] == 100


# ---- lengths -------------------------------------------------------------------------
def test_body_longer_than_the_announced_length_stops_after_the_chunk_that_passes_it(probe, target):
    def serve(req, conn):
        if req.method == "HEAD":
            conn.send(b"HTTP/1.1 200 OK\r\nContent-Length: 10\r\nConnection: close\r\n\r\n")
        else:
            conn.send(b"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + payload(300_000))
    with fault(serve) as server:
        result, progress = probe.download(server.url("/long"), target)
    size = target.stat().st_size
    assert result["ok"]
    assert 10 <= size < 300_000
    assert progress[-1][0] == size * 100 // 10 and progress[-1][0] > 100
    assert len(progress) == 1


def test_length_beyond_4_gib_is_read_as_64_bits(probe, target):
    announced = 2 ** 32 + 100  # cut to 32 bits it would be 100

    def serve(req, conn):
        if req.method == "HEAD":
            conn.send(f"HTTP/1.1 200 OK\r\nContent-Length: {announced}\r\nConnection: close\r\n\r\n".encode())
        else:
            conn.send(b"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + payload(5000))
    with fault(serve) as server:
        result, progress = probe.download(server.url("/huge.img"), target)
    # The body ends far before the announced size: a failed transfer, every chunk at 0 %.
    assert (result["ok"], result["errorType"]) == (False, 12)
    assert target.stat().st_size == 5000
    assert {p for p, _ in progress} == {0}


def test_without_a_length_the_body_is_read_to_its_end(probe, target):
    data = payload(200_000)

    def serve(req, conn):
        if req.method == "HEAD":
            respond(conn, 405, b"", content_length=False)
        else:
            conn.send(b"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + data)
    with fault(serve) as server:
        result, progress = probe.download(server.url("/nolength"), target)
    assert result["ok"] and target.read_bytes() == data
    assert len(progress) > 1 and {p for p, _ in progress} == {0}


def test_body_cut_before_the_announced_length_fails_and_keeps_the_part(probe, target):
    def serve(req, conn):
        head = b"HTTP/1.1 200 OK\r\nContent-Length: 100000\r\nConnection: close\r\n\r\n"
        conn.send(head if req.method == "HEAD" else head + payload(30_000))
    with fault(serve) as server:
        result, _ = probe.download(server.url("/cut"), target)
    assert not result["ok"]
    assert result["errorType"] in (11, 12)
    assert target.read_bytes() == payload(30_000)


# ---- the target file ---------------------------------------------------------------
def test_existing_file_is_truncated_only_after_the_get_answered(probe, target):
    target.write_bytes(b"old package")
    seen = []

    def serve(req, conn):
        if req.method == "GET":
            seen.append(target.read_bytes())
        respond(conn, 200, b"new")
    with fault(serve) as server:
        result, _ = probe.download(server.url("/pkg"), target)
    assert result["ok"] and seen == [b"old package"] and target.read_bytes() == b"new"


def test_failed_get_leaves_an_existing_file_untouched(probe, target):
    target.write_bytes(b"old package")

    def serve(req, conn):
        if req.method == "HEAD":
            respond(conn, 200, b"", [("Content-Length", "3")], content_length=False)
        # the GET gets no answer: the connection just closes
    with fault(serve) as server:
        result, _ = probe.download(server.url("/pkg"), target)
    assert (result["ok"], result["errorType"]) == (False, 9)
    assert target.read_bytes() == b"old package"

    result, _ = probe.download(f"http://localhost:{free_port()}/pkg", target)
    assert (result["ok"], result["errorType"], result["systemError"]) == (False, 8, 12029)
    assert target.read_bytes() == b"old package"


def test_target_that_cannot_be_created_fails_with_18(probe, http_prefix, web):
    web.put("pkg/x.bin", b"x")
    result, _ = probe.download(web.url("/pkg/x.bin"), http_prefix.downloads / "no-such-folder" / "x.bin")
    assert (result["ok"], result["errorType"], result["systemError"]) == (False, 18, 3)


# ---- ftp:// goes over plain HTTP on port 80 --------------------------------------------
def test_ftp_url_is_fetched_over_http_on_port_80(probe, target):
    host = "127.0.0.86"
    try:
        with socket.socket() as s:
            s.bind((host, 80))
    except OSError as e:
        pytest.skip(f"port 80 on {host} cannot be bound here ({e}); needs root")
    with fault(lambda req, conn: respond(conn, 200, b"over http"), host=host, port=80) as server:
        result, _ = probe.download(f"ftp://{host}/pub/a.bin", target)
    assert result["ok"] and target.read_bytes() == b"over http"
    assert [(r.method, r.target) for r in server.requests] == [("HEAD", "/pub/a.bin"), ("GET", "/pub/a.bin")]
