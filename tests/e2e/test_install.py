"""One silent install run of the real program against the HTTPS list servers: the
typical run, reuse of verified packages, the install queue and the installed state."""
import pytest

from install_fixtures import installer, list_server_pair, site  # noqa: F401  (fixtures)
from install_harness import INSTALL_PATH
from install_site import list_xml
from fixture_packages import Behaviour, COMPONENTS, SWITCHES
from servers import test_certs  # noqa: F401  (fixture)

HKLM = "HKLM\\"


def test_typical_run_installs_the_launcher(installer, site):
    entry = site.component(7)
    site.publish(list_xml([entry]))
    run = installer.run()
    assert not run.timed_out and run.exit_code == 0
    assert run.ended == (10, 0, "success")
    msgs = run.messages()
    order = ["get component id: 7 installed: false", "download component xml success. file path: ",
             "need install component: 7", "start download component name: component7.exe",
             "download component name:component7.exe success", "local component file component7.exe md5: " + entry["hash"],
             "install component component7.exe Result[0]", "install component component7.exe installer [Zedud] Result[0]",
             "component install success", "install run ended. stage: 10"]
    positions = [next(i for i, m in enumerate(msgs) if m.startswith(o)) for o in order]
    assert positions == sorted(positions)
    assert not run.has("failed", level="Error")

    folder = installer.install_dir(entry)
    for name in COMPONENTS[7][1]:
        assert (folder / name).exists()
    key = HKLM + COMPONENTS[7][0]
    assert installer.prefix.reg_query(key, "InstallPath") == INSTALL_PATH + "Comp7"
    assert installer.prefix.reg_query(key, "Version") == "1.0.0.1"
    record = (folder / "zedud-run.txt").read_text()
    assert "args=-nodesktopIcon" in record and "show=0" in record       # hidden, launcher switch
    package_record = (installer.download_dir(entry) / "package-run.txt").read_text()
    assert "cwd=C:\\Temp\\FelwickDownload\\Component\\Comp7" in package_record and "show=0" in package_record


def test_all_six_components_install_in_queue_order(installer, site):
    entries = [site.component(i) for i in (2, 10, 8, 3, 1, 7)]  # list order does not matter
    site.publish(list_xml(entries))
    run = installer.run({SWITCHES[i]: True for i in SWITCHES})
    assert run.ended == (10, 0, "success")
    queued = [int(m.split()[-1]) for m in run.messages("Component") if m.startswith("need install component: ")]
    installed = [m.split()[2] for m in run.messages("Component") if m.endswith("installer [Zedud] Result[0]")]
    assert queued == [7, 1, 3, 8, 10, 2]
    assert installed == [f"component{i}.exe" for i in (7, 1, 3, 8, 10, 2)]
    for i in SWITCHES:  # only the launcher gets the switch
        args = (installer.host(INSTALL_PATH + f"Comp{i}") / "zedud-run.txt").read_text()
        assert ("args=-nodesktopIcon" in args) == (i == 7)


def test_second_run_reuses_verified_packages_and_replaces_stale_ones(installer, site):
    launcher = site.component(7)
    launcher["hash"] = launcher["hash"].upper()  # the list may give upper-case hex
    ui = site.component(1)
    site.publish(list_xml([launcher, ui]))
    assert installer.run({"installUI": True}).ended == (10, 0, "success")

    # Not all installed any more; the UI package on disk goes stale.
    (installer.install_dir(launcher) / "Ovx.dll").unlink()
    (installer.download_dir(ui) / ui["name"]).write_bytes(b"stale")
    requests_before = len(installer.site_requests())
    run = installer.run({"installUI": True})
    assert run.ended == (10, 0, "success")
    assert run.has("component7.exe is existed. path: C:\\Temp\\FelwickDownload\\Component\\Comp7\\component7.exe")
    assert not run.has("start download component name: component7.exe")
    assert run.has("start download component name: component1.exe")
    fetched = [r[1] for r in installer.site_requests()[requests_before:] if r[0] == "GET"]
    assert "/packages/7/component7.exe" not in fetched and "/packages/1/component1.exe" in fetched
    assert (installer.install_dir(launcher) / "Ovx.dll").exists()


def test_everything_installed_fetches_nothing(installer, site):
    site.publish(list_xml([site.component(7)]))
    assert installer.run().ended == (10, 0, "success")
    before = len(installer.site_requests())
    run = installer.run()
    assert run.has("all needed component installed.", "MainWnd")
    assert run.has("version :1.0.0.1 path: C:\\Program Files\\FelwickAssistant\\Comp7", "MainWnd")
    assert run.ended is None and len(installer.site_requests()) == before


@pytest.mark.parametrize("tamper", ["no trailing backslash", "dword version", "missing key file"])
def test_installed_state_edges(installer, site, tamper):
    entry = site.component(7)
    site.publish(list_xml([entry]))
    assert installer.run().ended == (10, 0, "success")
    key = HKLM + COMPONENTS[7][0]
    if tamper == "no trailing backslash":
        installer.prefix.reg_add(key, "InstallPath", INSTALL_PATH + "Comp7")  # already without one
    elif tamper == "dword version":
        installer.prefix.reg_add(key, "Version", 1, "REG_DWORD")
    else:
        (installer.install_dir(entry) / "Shoplet.exe").unlink()
    run = installer.run()
    installed = tamper == "no trailing backslash"
    assert run.has(f"get component id: 7 installed: {'true' if installed else 'false'}", "MainWnd")
    assert (run.ended is None) == installed


def test_package_exit_1000_counts_as_success_and_leftover_setup_goes(installer, site):
    entry = site.component(7, Behaviour(exit=1000))
    leftover = installer.download_dir(entry) / "Setup" / "old" / "junk.txt"
    leftover.parent.mkdir(parents=True)
    leftover.write_text("from an earlier run")
    site.publish(list_xml([entry]))
    run = installer.run({"createMarketIcon": True})
    assert run.ended == (10, 0, "success")
    assert run.has("install component component7.exe Result[0]")
    assert not leftover.exists()
    assert "args=\n" in (installer.install_dir(entry) / "zedud-run.txt").read_text()


def test_channel_section_covering_the_supply_id_replaces_defaults(installer, site):
    default = site.component(7, name="default.exe")
    early = site.component(7, name="early.exe")
    late = site.component(7, name="late.exe")
    other = site.component(7, name="other.exe")
    ui_default = site.component(1, name="ui.exe")
    channels = [("100-200", [early]), ("5-3,300", [other]), ("150,250", [late])]
    site.publish(list_xml([default, ui_default], channels))
    run = installer.run({"supplyid": 150, "installUI": True})
    assert run.ended == (10, 0, "success")
    assert run.messages("Component").count("get channel: 150 1 components.") == 2
    assert run.has("start download component name: late.exe")
    assert run.has("start download component name: ui.exe")  # the section lacks id 1
    assert not run.has("default.exe") and not run.has("early.exe")


def test_run_killed_during_a_package_leaves_nothing_that_breaks_the_next(installer, site):
    slow = site.component(7, Behaviour(sleep_ms=120000))
    site.publish(list_xml([slow]))
    killed = installer.run(timeout=25, expect_log=False)
    assert killed.timed_out
    installer.prefix.stop()  # ends the program in the middle of the package run

    fresh = site.component(7, name=slow["name"])  # same file name, new content and MD5
    site.publish(list_xml([fresh]))
    run = installer.run()
    assert run.ended == (10, 0, "success")
    assert run.has("start download component name: component7.exe")  # the old file failed its check
