"""Fixtures of the end-to-end tests: the built programs, a private Wine prefix per test."""
import os
import shutil
from pathlib import Path

import pytest

import channel_block
import mirel_log
from wine_prefix import WinePrefix, copy_prefix, make_template

REPO = Path(__file__).resolve().parents[2]


def _build_dir() -> Path:
    d = os.environ.get("MIREL_BUILD_DIR")
    return Path(d).resolve() if d else REPO / "build" / "win32"


@pytest.fixture(scope="session")
def build_dir() -> Path:
    d = _build_dir()
    if not (d / "bin" / "MirelDownloader.exe").exists():
        pytest.exit(f"{d}/bin/MirelDownloader.exe is missing: build first (see README)", 2)
    return d


@pytest.fixture(scope="session")
def bin_dir(build_dir) -> Path:
    return build_dir / "bin"


@pytest.fixture(scope="session")
def program(bin_dir) -> Path:
    return bin_dir / "MirelDownloader.exe"


@pytest.fixture(scope="session")
def prefix_template(build_dir) -> Path:
    template = build_dir / "wine-e2e-template"
    make_template(template)
    return template


@pytest.fixture
def wine_prefix(prefix_template, bin_dir, tmp_path):
    """A fresh copy of the template prefix, shut down after the test."""
    target = tmp_path / "prefix"
    copy_prefix(prefix_template, target)
    prefix = WinePrefix(target, bin_dir)
    yield prefix
    prefix.stop()
    shutil.rmtree(target, ignore_errors=True)


@pytest.fixture
def run_program(wine_prefix, program):
    """Copies MirelDownloader.exe (or a given file) into Downloads and runs it."""
    def run(exe: Path = None, name: str = None, timeout=120, env=None):
        installed = wine_prefix.install_exe(exe or program, name)
        return wine_prefix.run(installed, timeout=timeout, env=env)
    return run


@pytest.fixture
def read_log(wine_prefix):
    def read():
        return mirel_log.read_single_log(wine_prefix.log_dir)
    return read


@pytest.fixture(scope="session")
def channel_stamp(build_dir) -> Path:
    """The native channel-stamp of the host build (scripts/test.sh builds it)."""
    host = os.environ.get("MIREL_HOST_BUILD_DIR")
    tool = (Path(host) if host else Path(str(build_dir) + "-host")) / "bin" / "channel-stamp"
    if not tool.exists():
        pytest.exit(f"{tool} is missing: build the host preset first (see README)", 2)
    return tool


@pytest.fixture
def stamped_program(program, channel_stamp, tmp_path):
    """A copy of MirelDownloader.exe with the given JSON texts stamped on, oldest first."""
    def make(*json_texts, name="MirelDownloader.exe"):
        target = tmp_path / "stamped" / name
        target.parent.mkdir(exist_ok=True)
        shutil.copyfile(program, target)
        for text in json_texts:
            code, err = channel_block.stamp(channel_stamp, target, text)
            assert code == 0, err
        return target
    return make
