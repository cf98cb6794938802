#!/usr/bin/python3
"""Download throughput on loopback: DownloadFile vs a bare WinHTTP read loop (both under
Wine) vs curl, in alternating rounds against one nginx.

Usage: MIREL_BUILD_DIR=<build> /usr/bin/python3 bench/download_bench.py [--size-mib 1024]
       [--rounds 1] [--keep]
Reports per client: throughput (MB/s), CPU seconds (user+system of the process, from
wait4), peak resident memory of the process and, for the Windows programs, the peak
private bytes Windows reports; then DownloadFile's ratios to the bare loop.
Goal: DownloadFile >= 0.9 x the loop's throughput, <= 1.1 x its CPU, peak private
memory under 20 MB and flat in the file size. Ports come from MIREL_TEST_PORTS.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from servers import Nginx, free_port  # noqa: E402
from wine_prefix import WinePrefix, copy_prefix, make_template  # noqa: E402


def peak_rss_kib(pid):
    """VmHWM of a running process (its high-water mark since exec), 0 once it is gone."""
    try:
        for line in Path(f"/proc/{pid}/status").read_text().splitlines():
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    except OSError:
        pass
    return 0


def run_measured(argv, env, out_path):
    """Runs one process to its end; returns (wall seconds, cpu seconds, peak RSS in KiB).

    The peak is polled from /proc: wait4's ru_maxrss would count the parent's memory
    the child had between fork and exec."""
    with open(out_path, "wb") as out:
        start = time.monotonic()
        proc = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT)
        peak = 0
        while True:
            done, status, usage = os.wait4(proc.pid, os.WNOHANG)
            if done:
                break
            peak = max(peak, peak_rss_kib(proc.pid))
            time.sleep(0.02)
        wall = time.monotonic() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        raise RuntimeError(f"{argv} exited with {proc.returncode}: {Path(out_path).read_text(errors='replace')}")
    return wall, usage.ru_utime + usage.ru_stime, peak


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--size-mib", type=int, default=1024)
    parser.add_argument("--rounds", type=int, default=1)
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    args = parser.parse_args()

    build = Path(os.environ.get("MIREL_BUILD_DIR", REPO / "build" / "win32")).resolve()
    bin_dir = build / "bin"
    work = Path(tempfile.mkdtemp(prefix="mirel-bench-"))
    template = build / "wine-e2e-template"
    make_template(template)
    copy_prefix(template, work / "prefix")
    prefix = WinePrefix(work / "prefix", bin_dir)
    programs = {name: prefix.install_exe(bin_dir / f"{name}.exe") for name in ("download-file-bench", "winhttp-loop")}

    www = work / "www"
    www.mkdir()
    size = args.size_mib * 1024 * 1024
    with open(www / "big.bin", "wb") as f:  # sparse: the server reads it from the page cache
        f.truncate(size)
    port = free_port()
    url = f"http://localhost:{port}/big.bin"
    target = prefix.downloads / "big.bin"
    report = prefix.temp_dir / "bench.jsonl"
    subprocess.run(["wineserver", "-p"], env=prefix.env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    results = {"DownloadFile": [], "winhttp-loop": [], "curl": []}
    try:
        with Nginx(work / "nginx", www, http_ports=[port], max_seconds=3600):
            # Warm the prefix and the page cache once.
            run_measured(["wine", prefix.win_path(programs["winhttp-loop"]), prefix.win_path(report),
                          url, prefix.win_path(target)], prefix.env, work / "out.txt")
            report.unlink()
            for _ in range(args.rounds):
                for client in ("DownloadFile", "winhttp-loop", "curl"):
                    if client == "curl":
                        argv = ["curl", "-s", "-o", str(target), url]
                    else:
                        exe = programs["download-file-bench" if client == "DownloadFile" else "winhttp-loop"]
                        argv = ["wine", prefix.win_path(exe), prefix.win_path(report), url, prefix.win_path(target)]
                    wall, cpu, rss = run_measured(argv, prefix.env, work / "out.txt")
                    inside = {}
                    if client != "curl":
                        inside = json.loads(report.read_text().splitlines()[-1])
                        assert inside["ok"] and inside["bytes"] == size, inside
                    assert target.stat().st_size == size
                    target.unlink()
                    results[client].append({"wall": wall, "cpu": cpu, "rss_kib": rss,
                                            "inside_seconds": inside.get("seconds"),
                                            "peak_private": inside.get("peakPrivate"),
                                            "progress_calls": inside.get("progressCalls")})
    finally:
        prefix.stop()
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)

    mb = size / 1e6
    print(f"file: {args.size_mib} MiB over HTTP on loopback, {args.rounds} round(s)")
    print(f"{'client':<14}{'MB/s':>9}{'CPU s':>9}{'peak RSS MB':>13}{'peak private MB':>17}")
    summary = {}
    for client, runs in results.items():
        best = min(runs, key=lambda r: r["wall"])
        cpu = sum(r["cpu"] for r in runs) / len(runs)
        private = max((r["peak_private"] or 0) for r in runs) / 1e6
        rate = mb / best["wall"]
        summary[client] = (rate, cpu)
        print(f"{client:<14}{rate:>9.1f}{cpu:>9.2f}{max(r['rss_kib'] for r in runs) / 1024:>13.1f}"
              f"{(f'{private:.1f}' if private else '-'):>17}")
    rate_ratio = summary["DownloadFile"][0] / summary["winhttp-loop"][0]
    cpu_ratio = summary["DownloadFile"][1] / summary["winhttp-loop"][1]
    print(f"DownloadFile / bare loop: throughput {rate_ratio:.2f} (goal >= 0.9), CPU {cpu_ratio:.2f} (goal <= 1.1)")
    print(f"curl / bare loop: throughput {summary['curl'][0] / summary['winhttp-loop'][0]:.1f}")
    calls = results["DownloadFile"][0]["progress_calls"]
    print(f"DownloadFile progress calls: {calls} ({size / calls:.0f} bytes per chunk)")


if __name__ == "__main__":
    main()
