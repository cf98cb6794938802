"""Channel-parameter blocks read by the real program from its own file."""
import hashlib

import pytest

import channel_block
from channel_block import block, trailer
from config_run import DEFAULTS, POINTER, append_bytes, run_config, summary


def msgs(lines, level=None):
    return [l.message for l in lines if level is None or l.level == level]


def test_program_without_block_logs_the_warning_and_the_defaults(wine_prefix, program):
    lines = run_config(wine_prefix, program)
    first = lines[:6]
    assert [(l.level, l.function) for l in first] == \
        [("Warn", "GlobalConfig::InitParamsFromSelf")] + [("Info", "GlobalConfig::InitParamsFromSelf")] * 5
    assert msgs(first) == [
        "check magic failed or length is zero",
        "need install pkg []",
        "MirelDownloader inner SupplyId [0]",
        "MirelDownloader inner buildid [0]",
        "MirelDownloader inner appid []",
        "Background png number: 0",
    ]
    assert msgs(lines)[-1] == "client id: 190912"


def test_later_block_wins_key_by_key(wine_prefix, stamped_program):
    exe = stamped_program(
        '{"supplyid":111,"pkgName":"com.first","bkgPngNumber":4,"sourceid":"app1"}',
        '{"supplyid":200205661,"buildid":18446744073709551615,"pkgName":"com.sec\\u00f6nd"}')
    lines = run_config(wine_prefix, exe)
    found = [m for m in msgs(lines, "Info") if m.startswith("find the inject data: ")]
    assert len(found) == 2 and all(POINTER.fullmatch(m.split(": ")[1]) for m in found)
    assert "check magic failed or length is zero" in msgs(lines, "Warn")
    assert summary(lines) == {"pkg": "com.secönd", "supplyid": "200205661",
                              "buildid": "18446744073709551615", "appid": "app1", "bkg": "4"}
    assert not msgs(lines, "Error")


def test_lower_case_digits_are_accepted(wine_prefix, program, tmp_path):
    exe = append_bytes(program, tmp_path / "MirelDownloader.exe",
                       block('{"supplyid":42}', upper=False))
    assert summary(run_config(wine_prefix, exe))["supplyid"] == "42"


@pytest.mark.parametrize("where", ["text", "padding"])
def test_changed_byte_drops_that_block_and_every_earlier_one(wine_prefix, program, tmp_path, where):
    later = bytearray(block('{"supplyid":2}'))
    later[3 if where == "text" else len('{"supplyid":2}') + 1] ^= 0x01
    exe = append_bytes(program, tmp_path / "MirelDownloader.exe", block('{"supplyid":1}'),
                       bytes(later))
    lines = run_config(wine_prefix, exe)
    errors = msgs(lines, "Error")
    data = bytes(later[:-40])
    assert errors == ["extern data md5 is not equal to header md5. header md5: "
                      + later[-34:-2].decode() + " data md5: " + hashlib.md5(data).hexdigest()]
    assert summary(lines) == DEFAULTS


def test_wrong_type_stops_applying_at_that_key(wine_prefix, stamped_program):
    exe = stamped_program('{"title":"T","pkgName":"com.p","supplyid":"200205661","buildid":7}')
    lines = run_config(wine_prefix, exe)
    errors = msgs(lines, "Error")
    assert len(errors) == 1
    assert errors[0].startswith("init params from json failed. exception: ")
    assert "type must be number, but is string" in errors[0]
    assert summary(lines) == dict(DEFAULTS, buildid="7")


def test_failure_in_a_later_block_keeps_the_earlier_values(wine_prefix, stamped_program):
    exe = stamped_program('{"supplyid":5,"bkgPngNumber":true}', '{"buildid":8,"supplyid":-1}')
    lines = run_config(wine_prefix, exe)
    assert len(msgs(lines, "Error")) == 1
    assert summary(lines) == dict(DEFAULTS, supplyid="5", buildid="8", bkg="1")


def test_json_array_applies_nothing_and_logs_no_error(wine_prefix, program, tmp_path):
    exe = append_bytes(program, tmp_path / "MirelDownloader.exe", block('[{"supplyid":9}]'))
    lines = run_config(wine_prefix, exe)
    assert any(m.startswith("find the inject data: ") for m in msgs(lines))
    assert not msgs(lines, "Error")
    assert summary(lines) == DEFAULTS


GOOD = block('{"supplyid":77}')


# Each hostile tail sits before a good block at the end of the file: the good block is
# read first and still applied, the hostile one ends the walk with its own line.
HOSTILE = {
    "length near 2^32": (lambda: trailer(0xFFFFFFF8, b"0" * 32), "Error",
                         "extern data length 4294967288 exceeds the "),
    "length all ones": (lambda: trailer(0xFFFFFFFF, b"0" * 32), "Error",
                        "extern data length 4294967295 exceeds the "),
    "wrong magic": (lambda: trailer(8, b"0" * 32, magic=0x0EF5), "Warn",
                    "check magic failed or length is zero"),
    "zero length": (lambda: trailer(0, b"0" * 32), "Warn", "check magic failed or length is zero"),
    "md5 field without zero byte": (lambda: b"\x00" * 8 + trailer(8, b"A" * 40), "Error",
                                    "extern data md5 is not equal to header md5. header md5: "
                                    + "A" * 33 + " data md5: "),
    "broken json": (lambda: block('{"supplyid":'), "Info", "parse the inject data: 0x"),
    "nested a million deep": (lambda: block("[" * 1000000 + "]" * 1000000), "Info",
                              "parse the inject data: 0x"),
}


@pytest.mark.parametrize("name", list(HOSTILE))
def test_hostile_block_is_refused_and_later_blocks_applied(wine_prefix, program, tmp_path, name):
    make, level, prefix = HOSTILE[name]
    exe = append_bytes(program, tmp_path / "MirelDownloader.exe", make(), GOOD)
    lines = run_config(wine_prefix, exe)
    stop = [l for l in lines if l.message.startswith(prefix)]
    assert len(stop) == 1 and stop[0].level == level, [l.message for l in lines]
    if level == "Info":
        assert " failed. exception: " in stop[0].message
    assert summary(lines)["supplyid"] == "77"


def test_block_larger_than_the_program_is_refused_by_length(wine_prefix, program, tmp_path):
    size = program.stat().st_size
    exe = append_bytes(program, tmp_path / "MirelDownloader.exe", trailer(size + 1, b"0" * 32))
    lines = run_config(wine_prefix, exe)
    assert msgs(lines, "Error") == [f"extern data length {size + 1} exceeds the {size} bytes before its header"]
    assert summary(lines) == DEFAULTS


def test_hundred_megabyte_block_is_read(wine_prefix, program, tmp_path):
    text = '{"supplyid":31,' + " " * (100 * 1024 * 1024) + '"buildid":3}'
    exe = append_bytes(program, tmp_path / "MirelDownloader.exe", block(text))
    lines = run_config(wine_prefix, exe, timeout=240)
    assert not msgs(lines, "Error")
    assert summary(lines)["supplyid"] == "31" and summary(lines)["buildid"] == "3"
