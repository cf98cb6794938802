"""The default install drive, chosen from the prefix's drive letters."""
import subprocess

import pytest

from config_run import run_config


def paths(lines):
    temp = next(l.message for l in lines if l.message.startswith("current temp path: "))
    install = next(l.message for l in lines if l.message.startswith("current install path: "))
    return temp, install


def no_test_file(*folders):
    return all(not (f / "test.tmp").exists() for f in folders)


def test_highest_writable_fixed_drive_wins(wine_prefix, program, tmp_path):
    d = tmp_path / "d"
    d.mkdir()
    wine_prefix.add_drive("d", d)
    lines = run_config(wine_prefix, program)
    assert paths(lines) == ("current temp path: [D:\\Temp\\FelwickDownload\\Component\\]",
                            "current install path: D:\\Program Files\\FelwickAssistant\\")
    assert (d / "Temp" / "FelwickDownload" / "Component").is_dir()
    assert no_test_file(d, wine_prefix.drive_c)


@pytest.fixture
def read_only_folder(tmp_path):
    """A folder nobody can create files in, root included (immutable attribute)."""
    folder = tmp_path / "ro"
    folder.mkdir()
    if subprocess.run(["chattr", "+i", str(folder)], stdin=subprocess.DEVNULL,
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
        pytest.skip("chattr +i is not available on this file system")
    yield folder
    subprocess.run(["chattr", "-i", str(folder)], stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def test_read_only_drive_is_skipped_even_when_highest(wine_prefix, program, tmp_path, read_only_folder):
    d = tmp_path / "d"
    d.mkdir()
    wine_prefix.add_drive("d", d)
    wine_prefix.add_drive("e", read_only_folder)
    lines = run_config(wine_prefix, program)
    assert paths(lines)[1] == "current install path: D:\\Program Files\\FelwickAssistant\\"
    assert no_test_file(d, read_only_folder, wine_prefix.drive_c)


def test_no_qualifying_drive_gives_a(wine_prefix, program):
    # C: reported as a network drive: no fixed drive is left.
    wine_prefix.reg_add(r"HKLM\Software\Wine\Drives", "c:", "network")
    wine_prefix.stop()
    lines = run_config(wine_prefix, program)
    assert paths(lines) == ("current temp path: [A:\\Temp\\FelwickDownload\\Component\\]",
                            "current install path: A:\\Program Files\\FelwickAssistant\\")
    # The folder cannot be made on a drive that does not exist: logged, and the run goes on.
    errors = [l.message for l in lines if l.level == "Error"]
    assert len(errors) == 1
    assert errors[0].startswith("create folder A:\\Temp\\FelwickDownload\\Component\\ failed. error code: ")
    assert no_test_file(wine_prefix.drive_c)
