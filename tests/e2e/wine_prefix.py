"""Private Wine prefixes for end-to-end tests: one template per run, one copy per test."""
import os
import pwd
import re
import shutil
import subprocess
import time
from dataclasses import dataclass
from pathlib import Path

HERE = Path(__file__).resolve().parent
MAKE_PREFIX = HERE.parent / "wine" / "make-prefix.sh"


def user_name():
    return pwd.getpwuid(os.getuid()).pw_name


@dataclass
class RunResult:
    exit_code: int          # full 32-bit code, read back by run-exe.exe
    stdout: str
    timed_out: bool


class WinePrefix:
    """One prefix owned by one test. Paths are host paths unless named win_*."""

    def __init__(self, path: Path, helpers: Path):
        self.path = path
        self.helpers = helpers
        self.user = user_name()
        self.env = dict(os.environ)
        self.env.update({
            "WINEARCH": "win32",
            "WINEPREFIX": str(path),
            "WINEDEBUG": os.environ.get("MIREL_WINEDEBUG", "-all"),
            "WINEDLLOVERRIDES": "winemenubuilder.exe=d;mshtml=d;mscoree=d",
        })
        self.env.pop("DISPLAY", None)

    # ---- folders -------------------------------------------------------
    @property
    def drive_c(self) -> Path:
        return self.path / "drive_c"

    @property
    def user_dir(self) -> Path:
        return self.drive_c / "users" / self.user

    @property
    def temp_dir(self) -> Path:
        return self.user_dir / "Temp"

    @property
    def downloads(self) -> Path:
        return self.user_dir / "Downloads"

    @property
    def log_dir(self) -> Path:
        return self.temp_dir / "GameDownloadLog"

    def win_path(self, host_path: Path) -> str:
        """C:\\... path of a file inside drive_c."""
        rel = Path(host_path).resolve().relative_to(self.drive_c.resolve())
        return "C:\\" + str(rel).replace("/", "\\")

    def add_drive(self, letter: str, folder: Path):
        link = self.path / "dosdevices" / f"{letter.lower()}:"
        if link.is_symlink() or link.exists():
            link.unlink()
        os.symlink(folder, link)

    def remove_drive(self, letter: str):
        link = self.path / "dosdevices" / f"{letter.lower()}:"
        if link.is_symlink() or link.exists():
            link.unlink()

    # ---- running -------------------------------------------------------
    def wine(self, *args, timeout=120, env=None, stdout_path=None):
        """Runs wine with output to a file (never a pipe: wine's services would hold it)."""
        out_path = stdout_path or (self.path / f".out-{time.monotonic_ns()}.txt")
        run_env = dict(self.env)
        if env:
            run_env.update(env)
        with open(out_path, "wb") as out:
            proc = subprocess.run(["wine", *map(str, args)], stdin=subprocess.DEVNULL,
                                  stdout=out, stderr=subprocess.STDOUT, env=run_env,
                                  timeout=timeout)
        text = Path(out_path).read_text(errors="replace")
        if stdout_path is None:
            os.unlink(out_path)
        return proc.returncode, text

    def install_exe(self, exe: Path, name: str = None) -> Path:
        """Copies a program into the user's Downloads folder, as a user would run it."""
        target = self.downloads / (name or Path(exe).name)
        shutil.copyfile(exe, target)
        return target

    def run(self, exe: Path, *args, timeout=120, env=None) -> RunResult:
        """Runs a program inside the prefix and reads back its full exit code."""
        if not str(exe).startswith("C:\\"):
            exe = self.win_path(exe)
        code_file = self.temp_dir / f"exit-{time.monotonic_ns()}.txt"
        runner = self.helpers / "run-exe.exe"
        runner_copy = self.drive_c / "run-exe.exe"
        if not runner_copy.exists():
            shutil.copyfile(runner, runner_copy)
        out_path = self.path / f".stdout-{time.monotonic_ns()}.txt"
        timed_out = False
        try:
            self.wine("C:\\run-exe.exe", self.win_path(code_file), exe, *args, timeout=timeout,
                      env=env, stdout_path=out_path)
        except subprocess.TimeoutExpired:
            timed_out = True
        stdout = out_path.read_text(errors="replace") if out_path.exists() else ""
        code = -1
        if code_file.exists():
            code = int(code_file.read_text().strip() or "-1")
            code_file.unlink()
        return RunResult(code, stdout, timed_out)

    # ---- registry ------------------------------------------------------
    def reg(self, *args):
        return self.wine("reg", *args)

    def reg_query(self, key: str, name: str = None):
        """Value data as text (REG_DWORD as int), or None when missing."""
        args = ["query", key] + (["/v", name] if name is not None else ["/ve"])
        code, out = self.reg(*args)
        if code != 0:
            return None
        for line in out.splitlines():
            parts = re.split(r"\s{4}", line.strip(), maxsplit=2)
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                data = parts[2] if len(parts) > 2 else ""
                if parts[1] == "REG_DWORD":
                    return int(data, 16)
                return data
        return None

    def reg_add(self, key: str, name: str, data, kind: str = "REG_SZ"):
        code, out = self.reg("add", key, "/v", name, "/t", kind, "/d", str(data), "/f")
        assert code == 0, out

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def make_template(path: Path):
    subprocess.run([str(MAKE_PREFIX), str(path)], check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def copy_prefix(template: Path, target: Path):
    shutil.copytree(template, target, symlinks=True)
