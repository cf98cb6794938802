"""Folders, supply id and the registry values the configuration settles at start."""
import subprocess

from config_run import run_config

HKCU_KEY = r"HKCU\Software\Corvane\Varnet"
HKLM_KEY = r"HKLM\Software\Corvane\Varnet"
DEFAULT_TEMP = "C:\\Temp\\FelwickDownload\\Component\\"
READ_FAILED = "TempPath reg value read failed. Cannot get size of string value: RegGetValue failed."


def msgs(lines, level=None):
    return [l.message for l in lines if level is None or l.level == level]


def after_summary(lines):
    """The lines of the steps after the channel blocks, in order."""
    out = msgs(lines)
    return out[out.index(next(m for m in out if m.startswith("Background png number: "))) + 1:]


def test_first_run_creates_folder_and_values(wine_prefix, stamped_program):
    exe = stamped_program('{"supplyid":200205661,"international":1}')
    lines = run_config(wine_prefix, exe)
    assert after_summary(lines) == [
        READ_FAILED,
        f"current temp path: [{DEFAULT_TEMP}]",
        "current install path: C:\\Program Files\\FelwickAssistant\\",
        "write supplyid 200205661 to register",
        "runtime supplyid [200205661]",
        "current language: en",
        "client id: 190912",
    ]
    assert [l.level for l in lines if l.message == READ_FAILED] == ["Warn"]
    assert (wine_prefix.drive_c / "Temp" / "FelwickDownload" / "Component").is_dir()
    assert not (wine_prefix.drive_c / "Program Files" / "FelwickAssistant").exists()
    assert wine_prefix.reg_query(HKCU_KEY, "TempPath") == DEFAULT_TEMP
    assert wine_prefix.reg_query(HKLM_KEY, "SupplyId") == 200205661


def test_second_channel_keeps_the_first_supply_id_in_the_registry(wine_prefix, stamped_program):
    run_config(wine_prefix, stamped_program('{"supplyid":111}', name="first.exe"))
    lines = run_config(wine_prefix, stamped_program('{"supplyid":222}', name="second.exe"))
    assert "read supplyid [111] from register" in msgs(lines, "Info")
    assert "runtime supplyid [222]" in msgs(lines, "Info")
    assert not [m for m in msgs(lines) if m.startswith("write supplyid")]
    assert not msgs(lines, "Warn")[1:]  # only the chain-end line: TempPath was read fine
    assert wine_prefix.reg_query(HKLM_KEY, "SupplyId") == 111


def test_no_block_writes_supply_id_zero(wine_prefix, program):
    lines = run_config(wine_prefix, program)
    assert "write supplyid 0 to register" in msgs(lines)
    assert wine_prefix.reg_query(HKLM_KEY, "SupplyId") == 0


def test_supply_id_of_another_type_is_replaced(wine_prefix, stamped_program):
    wine_prefix.reg_add(HKLM_KEY, "SupplyId", "111", "REG_SZ")
    lines = run_config(wine_prefix, stamped_program('{"supplyid":5}'))
    assert "write supplyid 5 to register" in msgs(lines)
    assert wine_prefix.reg_query(HKLM_KEY, "SupplyId") == 5


def test_temp_path_of_a_deleted_folder_is_replaced_by_the_default(wine_prefix, program):
    wine_prefix.reg_add(HKCU_KEY, "TempPath", "C:\\gone\\away\\")
    lines = run_config(wine_prefix, program)
    assert READ_FAILED not in msgs(lines)
    assert f"current temp path: [{DEFAULT_TEMP}]" in msgs(lines)
    assert wine_prefix.reg_query(HKCU_KEY, "TempPath") == DEFAULT_TEMP
    assert (wine_prefix.drive_c / "Temp" / "FelwickDownload" / "Component").is_dir()


def test_temp_path_stored_as_dword_is_rewritten_as_string(wine_prefix, program):
    wine_prefix.reg_add(HKCU_KEY, "TempPath", 7, "REG_DWORD")
    lines = run_config(wine_prefix, program)
    assert [l.level for l in lines if l.message == READ_FAILED] == ["Warn"]
    assert wine_prefix.reg_query(HKCU_KEY, "TempPath") == DEFAULT_TEMP


def test_existing_custom_temp_path_is_kept(wine_prefix, program):
    (wine_prefix.drive_c / "dl").mkdir()
    wine_prefix.reg_add(HKCU_KEY, "TempPath", "C:\\dl")
    lines = run_config(wine_prefix, program)
    assert "current temp path: [C:\\dl]" in msgs(lines)
    assert wine_prefix.reg_query(HKCU_KEY, "TempPath") == "C:\\dl"
    assert not (wine_prefix.drive_c / "Temp" / "FelwickDownload").exists()


def test_product_key_that_cannot_be_created_leaves_the_default_folder(wine_prefix, program, bin_dir):
    # A volatile maker key lives only as long as the prefix's server: keep it running.
    server = subprocess.Popen(["wineserver", "-p", "-f"], env=wine_prefix.env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        helper = wine_prefix.drive_c / "make-volatile-key.exe"
        helper.write_bytes((bin_dir / "make-volatile-key.exe").read_bytes())
        assert wine_prefix.run(helper, "HKCU", "Software\\Corvane").exit_code == 0
        lines = run_config(wine_prefix, program)
        errors = msgs(lines, "Error")
        assert errors == ["open HKEY_CURRENT_USER\\Software\\Corvane\\Varnet failed. "
                          "RegCreateKeyEx failed. error code: 1021"]
        assert f"current temp path: [{DEFAULT_TEMP}]" in msgs(lines)
        assert (wine_prefix.drive_c / "Temp" / "FelwickDownload" / "Component").is_dir()
        assert "current language: zh_CN" in msgs(lines)
        assert wine_prefix.reg_query(HKCU_KEY, "UserLanguage") is None
    finally:
        wine_prefix.stop()
        server.wait(timeout=30)
