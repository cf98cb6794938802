"""Driving one silent install run of the real program: the served list and packages, a
channel block with silentMode 1, the run itself and what it left (log, registry, files)."""
import contextlib
import json
import shutil
import time
from dataclasses import dataclass
from pathlib import Path

import channel_block
import mirel_log
import servers
from install_site import InstallSite

# Folders the configuration settles on in a test prefix (only drive C:).
TEMP_PATH = "C:\\Temp\\FelwickDownload\\Component\\"
INSTALL_PATH = "C:\\Program Files\\FelwickAssistant\\"
HKLM = "HKLM\\"


@dataclass
class RunOutcome:
    exit_code: int
    timed_out: bool
    lines: list
    raw: bytes

    def messages(self, module=None, level=None):
        return mirel_log.messages(self.lines, module, level)

    def has(self, text, module=None, level=None):
        return any(text in m for m in self.messages(module, level))

    @property
    def ended(self):
        """(stage, error code, text id) of the run's end line."""
        for m in self.messages("Main"):
            if m.startswith("install run ended."):
                parts = m.split()
                return int(parts[4]), int(parts[7]), parts[10]
        return None


class Installer:
    def __init__(self, prefix, bin_dir: Path, program: Path, site: InstallSite, stamp):
        self.prefix = prefix
        self.bin_dir = bin_dir
        self.program = program
        self.site = site
        self.stamp = stamp  # stamp(source_exe, target_exe, params: dict)
        self.runs = 0
        self.servers = None  # (primary, fallback) nginx, set by the fixture

    # ---- paths inside the prefix ---------------------------------------------------------
    def host(self, win_path: str) -> Path:
        assert win_path[:3].upper() == "C:\\"
        return self.prefix.drive_c / win_path[3:].replace("\\", "/")

    def download_dir(self, entry) -> Path:
        return self.host(TEMP_PATH + entry["localaddpath"] + "\\")

    def install_dir(self, entry) -> Path:
        return self.host(INSTALL_PATH + entry["localaddpath"])

    # ---- running ------------------------------------------------------------------------
    def run(self, channel: dict = None, timeout=240, expect_log=True) -> RunOutcome:
        params = {"silentMode": 1, "supplyid": 200205661}
        params.update(channel or {})
        exe = self.prefix.downloads / "MirelDownloader.exe"
        self.stamp(self.program, exe, params)
        # One log file per run: earlier ones move aside.
        old = self.prefix.path / f"old-logs-{self.runs}"
        if self.prefix.log_dir.exists():
            shutil.move(str(self.prefix.log_dir), str(old))
        self.runs += 1
        result = self.prefix.run(exe, timeout=timeout)
        if not expect_log:
            return RunOutcome(result.exit_code, result.timed_out, [], b"")
        lines, raw = mirel_log.read_single_log(self.prefix.log_dir)
        return RunOutcome(result.exit_code, result.timed_out, lines, raw)

    def site_requests(self):
        """[method, uri, status, bytes] of every request the primary server answered."""
        return self.servers[0].requests() if self.servers else []

    def volatile_key(self, subkey: str):
        helper = self.prefix.drive_c / "make-volatile-key.exe"
        shutil.copyfile(self.bin_dir / "make-volatile-key.exe", helper)
        code, out = self.prefix.wine("C:\\make-volatile-key.exe", "HKLM", subkey)
        assert code == 0, out


def stamp_with(tool: Path):
    """A stamp function for Installer: copy the program and stamp one channel block."""
    def stamp(source: Path, target: Path, params: dict):
        shutil.copyfile(source, target)
        code, err = channel_block.stamp(tool, target, json.dumps(params))
        assert code == 0, err
    return stamp


@contextlib.contextmanager
def list_servers(folder: Path, site: InstallSite, cert):
    """nginx over HTTPS: the primary root on 28443, the fallback root on 28444."""
    primary = servers.Nginx(folder / "nginx-primary", site.primary, https=[(28443, cert)])
    fallback = servers.Nginx(folder / "nginx-fallback", site.fallback, https=[(28444, cert)])
    with primary, fallback:
        yield primary, fallback
