"""Stamping a signed program keeps its Authenticode signature valid (WinVerifyTrust under
Wine), and the program applies the blocks."""
import shutil

import channel_block
from config_run import run_config, summary
from stamp_signing import certificate_table, make_certificate, sign

TRUST_E_BAD_DIGEST = 0x80096010
TRUST_E_NOSIGNATURE = 0x800B0100


def verify(prefix, bin_dir, exe):
    helper = prefix.drive_c / "verify-trust.exe"
    if not helper.exists():
        shutil.copyfile(bin_dir / "verify-trust.exe", helper)
    inside = prefix.drive_c / exe.name
    if exe != inside:
        shutil.copyfile(exe, inside)
    result = prefix.run(helper, prefix.win_path(inside))
    assert not result.timed_out
    return result.exit_code & 0xFFFFFFFF


def test_stamped_signed_program_verifies_and_applies_both_blocks(wine_prefix, program, channel_stamp,
                                                                 bin_dir, tmp_path):
    key, cert = make_certificate(tmp_path)
    signed = sign(program, tmp_path / "signed.exe", key, cert)
    original = signed.read_bytes()
    _, table_offset, table_size = certificate_table(original)
    assert table_offset + table_size == len(original)

    stamped = tmp_path / "MirelDownloader.exe"
    shutil.copyfile(signed, stamped)
    first = '{"supplyid":111,"pkgName":"com.first","bkgPngNumber":6}'
    second = '{"supplyid":200205661,"buildid":42}'
    for text in (first, second):
        assert channel_block.stamp(channel_stamp, stamped, text)[0] == 0
    data = stamped.read_bytes()
    appended = len(channel_block.block(first)) + len(channel_block.block(second))
    assert data[:len(original)][table_offset:] == original[table_offset:]
    assert certificate_table(data)[1:] == (table_offset, table_size + appended)

    baseline = verify(wine_prefix, bin_dir, signed)
    assert verify(wine_prefix, bin_dir, stamped) == baseline

    flipped = bytearray(data)
    flipped[0x400] ^= 0x01
    (tmp_path / "flipped.exe").write_bytes(bytes(flipped))
    assert verify(wine_prefix, bin_dir, tmp_path / "flipped.exe") == TRUST_E_BAD_DIGEST

    # The same block appended after the table instead of inside it.
    (tmp_path / "outside.exe").write_bytes(original + channel_block.block(first))
    assert verify(wine_prefix, bin_dir, tmp_path / "outside.exe") == TRUST_E_NOSIGNATURE

    lines = run_config(wine_prefix, stamped)
    assert summary(lines) == {"pkg": "com.first", "supplyid": "200205661", "buildid": "42",
                              "appid": "", "bkg": "6"}
