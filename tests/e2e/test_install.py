"""One silent install run of the real program against the HTTPS list servers: the
typical run, reuse of verified packages, the install queue and the installed state."""
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
