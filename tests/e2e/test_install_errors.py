"""Every install error code one silent run can end with: its log line, the failed stage
and the text id of the error page."""
import hashlib

import pytest

from fixture_packages import Behaviour, COMPONENTS
from install_fixtures import installer, list_server_pair, site  # noqa: F401  (fixtures)
from install_site import list_xml
from servers import FaultServer, respond, test_certs  # noqa: F401  (test_certs is a fixture)

FAULT_PORT = 28501  # this file's scripted server


def failed(run, code, text_id):
    assert not run.timed_out and run.exit_code == 0
    assert run.ended == (11, code, text_id)


def test_both_list_urls_failing_ends_with_2_and_two_lines(installer, site):
    site.publish(list_xml([site.component(7)]), primary=False, fallback=False)
    run = installer.run()
    failed(run, 2, "error_http_download")
    lines = [m for m in run.messages("ComponentXml", "Error") if m.startswith("download component file use ")]
    assert [l.split()[4] for l in lines] == ["https://localhost:28443/downloads/xml/compoment.xml",
                                             "https://localhost:28444/open/kelo/xml/compoment.xml"]
    assert all(" failed. http code: 404 error code: " in l for l in lines)
    assert run.has("stop install by download component xml error.", "Component", "Error")


def test_fallback_list_serves_when_the_primary_fails(installer, site):
    site.publish(list_xml([site.component(7)]), primary=False, fallback=True)
    run = installer.run()
    assert run.ended == (10, 0, "success")
    assert len([m for m in run.messages("ComponentXml", "Error") if "download component file use" in m]) == 1


@pytest.mark.parametrize("case", ["not well-formed", "filesize empty", "id out of range", "blank record",
                                  "name with separator", "localaddpath absolute", "localaddpath dot-dot"])
def test_unusable_lists_end_with_3(installer, site, case):
    entry = site.component(7)
    channel = {}
    text = None
    if case == "not well-formed":
        text = list_xml([entry])[:-20]
        expected = ("Component", "load component xml failed.")
    elif case == "filesize empty":
        entry["filesize"] = ""
        expected = ("Component", "invalid stoull argument")
    elif case == "id out of range":
        entry["DL_ID"] = "99999999999999999999"
        expected = ("Component", "stoull argument out of range")
    elif case == "blank record":
        channel = {"installUI": True}  # the list has no component 1
        expected = ("Component", "component 1 of the component list is unusable: no url")
    elif case == "name with separator":
        entry["name"] = "..\\evil.exe"
        expected = ("Component", "component 7 of the component list is unusable: name is not a plain file name")
    elif case == "localaddpath absolute":
        entry["localaddpath"] = "C:\\Windows"
        expected = ("Component", "component 7 of the component list is unusable: localaddpath")
    else:
        entry["localaddpath"] = "Comp7\\..\\..\\..\\Windows"
        expected = ("Component", "component 7 of the component list is unusable: localaddpath")
    site.publish(text or list_xml([entry]))
    run = installer.run(channel)
    failed(run, 3, "error_xml_parse")
    assert run.has(expected[1], expected[0], "Error")
    assert not run.has("start download component")  # nothing fetched or written
    assert not installer.host("C:\\Program Files\\FelwickAssistant").exists()


def test_package_url_without_scheme_ends_with_4(installer, site):
    site.publish(list_xml([site.component(7, url="localhost:28443/packages/7/component7.exe")]))
    run = installer.run()
    failed(run, 4, "error_http_download")
    assert run.has("download component: component7.exe failed. error type: 4 error code: ", "Component", "Error")


def test_nothing_listening_ends_with_8(installer, site):
    site.publish(list_xml([site.component(7, url="http://localhost:28599/component7.exe")]))
    run = installer.run()
    failed(run, 8, "error_http_download")
    assert run.has("failed. error type: 8 error code: 12029", "Component", "Error")


def _scripted(behaviour):
    def serve(req, conn):
        head = b"HTTP/1.1 200 OK\r\nContent-Length: 100000\r\nConnection: close\r\n\r\n"
        if req.method == "HEAD":
            conn.send(head)
        elif behaviour == "cut":
            conn.send(head + b"x" * 3000)
        # "silent": the GET gets no answer at all
    return FaultServer(serve, port=FAULT_PORT, max_seconds=200)


@pytest.mark.parametrize("behaviour,codes", [("silent", (9,)), ("cut", (11, 12))])
def test_transfer_failures_end_with_the_clients_error_type(installer, site, behaviour, codes):
    site.publish(list_xml([site.component(7, url=f"http://localhost:{FAULT_PORT}/component7.exe")]))
    with _scripted(behaviour):
        run = installer.run()
    assert run.ended[:1] == (11,) and run.ended[1] in codes and run.ended[2] == "error_http_download"
    assert not installer.prefix.reg_query("HKLM\\" + COMPONENTS[7][0], "InstallPath")


def test_md5_mismatch_ends_with_20_and_keeps_the_file(installer, site):
    entry = site.component(7, hash=hashlib.md5(b"another package").hexdigest())
    site.publish(list_xml([entry]))
    run = installer.run()
    failed(run, 20, "error_http_download")
    assert run.has("local component file md5 check failed. local md5: ", "Component", "Error")
    assert (installer.download_dir(entry) / entry["name"]).exists()


def test_package_path_that_is_a_folder_ends_with_18(installer, site):
    entry = site.component(7)
    (installer.download_dir(entry) / entry["name"]).mkdir(parents=True)
    site.publish(list_xml([entry]))
    run = installer.run()
    failed(run, 18, "error_file_readwrite")


@pytest.mark.parametrize("behaviour,code,text_id,line", [
    (Behaviour(exit=5), 14, "error_file_readwrite", "install component component7.exe Result[5]"),
    (Behaviour(zedud=False), 15, "error_invalid_package", "Setup\\Zedud.exe don't exist!"),
    (Behaviour(zedud_exit=3), 16, "error_install_failed", "installer [Zedud] Result[3]"),
    # the 1000 rule is the package's only
    (Behaviour(zedud_exit=1000), 16, "error_install_failed", "installer [Zedud] Result[1000]"),
])
def test_installation_failures(installer, site, behaviour, code, text_id, line):
    site.publish(list_xml([site.component(7, behaviour)]))
    run = installer.run()
    failed(run, code, text_id)
    assert run.has(line)
    assert run.has("component install failed.", "Component", "Error")
    assert run.has("stop install by install error.", "Component", "Error")


def test_stops_at_the_failing_component(installer, site):
    first = site.component(7, Behaviour(exit=5))
    second = site.component(1)
    site.publish(list_xml([first, second]))
    run = installer.run({"installUI": True})
    failed(run, 14, "error_file_readwrite")
    assert not run.has("install component component1.exe")
    assert not installer.prefix.reg_query("HKLM\\" + COMPONENTS[1][0], "InstallPath")


def test_setup_folder_that_cannot_be_removed_ends_with_19(installer, site):
    entry = site.component(7)
    setup = installer.download_dir(entry) / "Setup"
    setup.mkdir(parents=True)
    locked = setup / "locked.dat"
    locked.write_bytes(b"x")
    site.publish(list_xml([entry]))
    # Read-only for Windows: the DOS attribute Wine keeps for the file.
    installer.prefix.wine("attrib", "+r", installer.prefix.win_path(locked))
    run = installer.run()
    failed(run, 19, "error_file_readwrite")
    assert run.has("Setup\\ failed. error code: ", "Component", "Warn")


def test_install_folder_that_cannot_be_made_ends_with_1(installer, site):
    blocker = installer.host("C:\\Program Files\\FelwickAssistant")
    blocker.write_bytes(b"a file where the install folder goes")
    site.publish(list_xml([site.component(7)]))
    run = installer.run()
    failed(run, 1, "error_common")
    assert run.has("unknown exception occurred at installing progress.", "component", "Error")


def test_volatile_product_key_still_installs_and_ends_with_17(installer, site):
    installer.volatile_key("Software\\Corvane")
    entry = site.component(7)
    site.publish(list_xml([entry]))
    run = installer.run()
    failed(run, 17, "error_reg_access")
    assert run.has("create Software\\Corvane\\Varnet reg path failed. error code: 1021", "Component", "Error")
    # The repair made the key tree non-volatile again and the component went in.
    assert run.has("installer [Zedud] Result[0]")
    assert installer.prefix.reg_query("HKLM\\" + COMPONENTS[7][0], "InstallPath").endswith("Comp7")
