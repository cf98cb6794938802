"""The user-interface language: the system locale (from LANG under Wine), the edition
rules and the stored per-user value."""
import pytest

from config_run import run_config

HKCU_KEY = r"HKCU\Software\Corvane\Varnet"
HKLM_KEY = r"HKLM\Software\Corvane\Varnet"


def locale_env(lang):
    return {"LANG": lang, "LC_ALL": lang}


def language_line(lines):
    found = [l for l in lines if l.message.startswith("current language: ")]
    assert len(found) == 1
    assert found[0].function == "GlobalConfig::InitLanguageSetting"
    return found[0].message[len("current language: "):]


@pytest.mark.parametrize("lang,international,expected", [
    ("en_US.UTF-8", 1, "en"),
    ("zh_CN.UTF-8", 1, "en"),       # the UI language 0x0804 gives zh_CN, the edition turns it into en
    ("pt_BR.UTF-8", 1, "pt"),       # pt_BR is not in the table, pt is
    ("zh_TW.UTF-8", 1, "zh_TW"),
    ("de_DE.UTF-8", 1, "en"),       # nothing supported: zh_CN, then en
    ("ru_RU.UTF-8", 1, "ru"),
    ("pt_BR.UTF-8", 0, "zh_CN"),    # the non-international edition
    ("en_US.UTF-8", 0, "zh_CN"),
])
def test_language_from_the_system_is_stored(wine_prefix, stamped_program, lang, international, expected):
    exe = stamped_program('{"international":%d}' % international)
    lines = run_config(wine_prefix, exe, env=locale_env(lang))
    assert language_line(lines) == expected
    assert wine_prefix.reg_query(HKCU_KEY, "UserLanguage") == expected
    assert wine_prefix.reg_query(HKLM_KEY, "DalvoVersion") is None


@pytest.mark.parametrize("international,expected", [(1, "vi"), (0, "zh_CN")])
def test_partner_package_gets_vietnamese_and_the_machine_mark(wine_prefix, stamped_program,
                                                              international, expected):
    exe = stamped_program('{"international":%d,"pkgName":"COM.Dalvo.ArenaField"}' % international)
    lines = run_config(wine_prefix, exe, env=locale_env("en_US.UTF-8"))
    assert language_line(lines) == expected
    assert wine_prefix.reg_query(HKCU_KEY, "UserLanguage") == expected
    # The machine key exists: the supply-id step made it before the language step.
    assert wine_prefix.reg_query(HKLM_KEY, "DalvoVersion") == 1


def test_stored_language_is_used_as_is_and_not_rewritten(wine_prefix, stamped_program):
    # Stored as REG_EXPAND_SZ: a write-back would turn it into REG_SZ.
    wine_prefix.reg_add(HKCU_KEY, "UserLanguage", "ko", "REG_EXPAND_SZ")
    exe = stamped_program('{"international":1}')
    lines = run_config(wine_prefix, exe, env=locale_env("ru_RU.UTF-8"))
    assert language_line(lines) == "ko"
    code, out = wine_prefix.reg("query", HKCU_KEY, "/v", "UserLanguage")
    assert "REG_EXPAND_SZ" in out


def test_stored_unsupported_language_is_used_anyway(wine_prefix, stamped_program):
    wine_prefix.reg_add(HKCU_KEY, "UserLanguage", "de")
    lines = run_config(wine_prefix, stamped_program('{"international":0}'))
    assert language_line(lines) == "de"


def test_first_run_decides_for_later_runs(wine_prefix, stamped_program):
    exe = stamped_program('{"international":1}')
    run_config(wine_prefix, exe, env=locale_env("pt_BR.UTF-8"))
    lines = run_config(wine_prefix, exe, env=locale_env("zh_TW.UTF-8"))
    assert language_line(lines) == "pt"


def test_stored_value_that_is_no_string_is_ignored_and_replaced(wine_prefix, stamped_program):
    wine_prefix.reg_add(HKCU_KEY, "UserLanguage", 5, "REG_DWORD")
    lines = run_config(wine_prefix, stamped_program('{"international":1}'), env=locale_env("tr_TR.UTF-8"))
    assert language_line(lines) == "tr"
    assert wine_prefix.reg_query(HKCU_KEY, "UserLanguage") == "tr"
