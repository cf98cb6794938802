"""Running a stamped MirelDownloader.exe and reading its configuration lines."""
import re
import shutil
from pathlib import Path

import mirel_log

SUMMARY_PREFIXES = ("need install pkg [", "MirelDownloader inner SupplyId [",
                    "MirelDownloader inner buildid [", "MirelDownloader inner appid [",
                    "Background png number: ")
POINTER = re.compile(r"0x[0-9A-F]{8}")


def run_config(prefix, exe: Path, env=None, timeout=120):
    """Runs `exe` from the user's Downloads folder; returns the GConfig lines of its log."""
    for old in mirel_log.log_files(prefix.log_dir):
        old.unlink()
    result = prefix.run(prefix.install_exe(exe), timeout=timeout, env=env)
    assert not result.timed_out
    assert result.exit_code == 0
    lines, _ = mirel_log.read_single_log(prefix.log_dir)
    main = mirel_log.messages(lines, module="Main")
    assert main[0] == "MirelDownload Start." and main[-1] == "MirelDownload End."
    return [l for l in lines if l != "End..." and l.module == "GConfig"]


def summary(lines):
    """The five summary values as a dict, from the lines of one run."""
    out = {}
    for l in lines:
        for p in SUMMARY_PREFIXES:
            if l.message.startswith(p):
                out[p] = l.message[len(p):].rstrip("]")
    return {
        "pkg": out.get(SUMMARY_PREFIXES[0]),
        "supplyid": out.get(SUMMARY_PREFIXES[1]),
        "buildid": out.get(SUMMARY_PREFIXES[2]),
        "appid": out.get(SUMMARY_PREFIXES[3]),
        "bkg": out.get(SUMMARY_PREFIXES[4]),
    }


DEFAULTS = {"pkg": "", "supplyid": "0", "buildid": "0", "appid": "", "bkg": "0"}


def append_bytes(src: Path, dst: Path, *chunks: bytes) -> Path:
    shutil.copyfile(src, dst)
    with open(dst, "ab") as f:
        for c in chunks:
            f.write(c)
    return dst
