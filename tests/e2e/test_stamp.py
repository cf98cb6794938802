"""The channel-stamp tool on real program files: stamping, listing and refusals."""
import shutil
import subprocess

import pytest

import channel_block
from channel_block import block
from stamp_signing import certificate_table, make_certificate, sign


def run_stamp(tool, *args):
    proc = subprocess.run([str(tool), *map(str, args)], stdin=subprocess.DEVNULL, capture_output=True,
                          text=True, timeout=60)
    return proc.returncode, proc.stdout, proc.stderr


@pytest.fixture
def unsigned(program, tmp_path):
    target = tmp_path / "MirelDownloader.exe"
    shutil.copyfile(program, target)
    return target


def test_unsigned_program_gets_the_block_appended(channel_stamp, unsigned, program, tmp_path):
    json_file = tmp_path / "channel.json"
    json_file.write_text('{"supplyid": 200205661, "title": "Arena \u4e2d"}\n', encoding="utf-8")
    unsigned.chmod(0o751)
    code, _, err = run_stamp(channel_stamp, "stamp", unsigned, json_file)
    assert code == 0, err
    original = program.read_bytes()
    assert unsigned.read_bytes() == original + block(json_file.read_bytes())
    assert certificate_table(unsigned.read_bytes())[2] == 0
    assert unsigned.stat().st_mode & 0o777 == 0o751  # the replacement keeps the permissions
    assert sorted(p.name for p in tmp_path.iterdir()) == ["MirelDownloader.exe", "channel.json"]


def test_list_shows_blocks_oldest_first(channel_stamp, unsigned):
    for text in ('{"supplyid":1}', '{"supplyid":2,"pkgName":"x"}'):
        assert channel_block.stamp(channel_stamp, unsigned, text)[0] == 0
    code, out, _ = channel_block.list_blocks(channel_stamp, unsigned)
    assert code == 0
    size = unsigned.stat().st_size - (16 + 40) - (32 + 40)
    assert out.splitlines() == [
        f"block 1: offset {size}, length 16, md5 ok", '{"supplyid":1}',
        f"block 2: offset {size + 56}, length 32, md5 ok", '{"supplyid":2,"pkgName":"x"}',
    ]


def test_list_of_a_damaged_file_fails(channel_stamp, unsigned):
    assert channel_block.stamp(channel_stamp, unsigned, '{"supplyid":1}')[0] == 0
    data = bytearray(unsigned.read_bytes())
    data[-45] ^= 1  # inside the padding of the block
    unsigned.write_bytes(bytes(data))
    code, out, _ = channel_block.list_blocks(channel_stamp, unsigned)
    assert code != 0
    assert "md5 mismatch" in out


def test_list_of_an_unstamped_program(channel_stamp, unsigned):
    assert channel_block.list_blocks(channel_stamp, unsigned)[:2] == (0, "no channel blocks\n")


@pytest.fixture(scope="module")
def signed_program(program, tmp_path_factory):
    folder = tmp_path_factory.mktemp("signed")
    key, cert = make_certificate(folder)
    return sign(program, folder / "signed.exe", key, cert)


REFUSALS = {
    "not a PE file": (lambda p: p.write_bytes(b"#!/bin/sh\necho hi\n" * 10), '{"a":1}', "not a PE file"),
    "json does not parse": (None, '{"a":', "does not parse"),
    "json is an array": (None, "[1,2]", "not an object"),
    "json is empty": (None, "", "does not parse"),
    "table not last": ("signed+junk", '{"a":1}', "not the last thing in the file"),
}


@pytest.mark.parametrize("case", list(REFUSALS))
def test_refusals_leave_the_file_untouched(channel_stamp, unsigned, signed_program, tmp_path, case):
    prepare, text, reason = REFUSALS[case]
    if prepare == "signed+junk":
        unsigned.write_bytes(signed_program.read_bytes() + b"junk after the table")
    elif prepare:
        prepare(unsigned)
    before = unsigned.read_bytes()
    code, out, err = run_stamp(channel_stamp, "stamp", unsigned, "--json", text)
    assert code == 1
    assert reason in err and err.count("\n") == 1, err
    assert unsigned.read_bytes() == before
    assert [p.name for p in tmp_path.iterdir() if p.name.startswith("MirelDownloader")] == \
        ["MirelDownloader.exe"]


def test_missing_files_and_bad_usage(channel_stamp, tmp_path):
    assert run_stamp(channel_stamp, "stamp", tmp_path / "none.exe", "--json", "{}")[0] == 1
    assert run_stamp(channel_stamp, "list")[0] == 2
    assert run_stamp(channel_stamp, "frob", "x")[0] == 2


def test_windows_build_stamps_the_same_bytes(channel_stamp, wine_prefix, bin_dir, program, tmp_path):
    native = tmp_path / "native.exe"
    shutil.copyfile(program, native)
    text = '{"supplyid":9,"gameName":"G"}'
    assert channel_block.stamp(channel_stamp, native, text)[0] == 0

    tool = wine_prefix.drive_c / "channel-stamp.exe"
    shutil.copyfile(bin_dir / "channel-stamp.exe", tool)
    target = wine_prefix.drive_c / "target.exe"
    shutil.copyfile(program, target)
    json_file = wine_prefix.drive_c / "channel.json"
    json_file.write_bytes(text.encode())
    result = wine_prefix.run(tool, "stamp", wine_prefix.win_path(target), wine_prefix.win_path(json_file))
    assert result.exit_code == 0, result.stdout
    assert target.read_bytes() == native.read_bytes()
    assert not (wine_prefix.drive_c / "target.exe.stamp-tmp").exists()
