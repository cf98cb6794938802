"""The process spine: start and end lines, the per-run log file, the exit code."""
import time

import mirel_log


def test_run_logs_start_and_end_and_exits_zero(run_program, read_log):
    result = run_program()
    assert not result.timed_out
    assert result.exit_code == 0
    lines, raw = read_log()
    assert raw.endswith(b" End...\r\n")
    assert b"\n" not in raw.replace(b"\r\n", b"")  # every line ends with CR LF
    first, *_ = lines
    assert (first.level, first.module, first.function, first.message) == \
        ("Info", "Main", "wWinMain", "MirelDownload Start.")
    assert first.file == "MirelDownloader.cpp"
    msgs = mirel_log.messages(lines, module="Main")
    assert msgs[-1] == "MirelDownload End."
    assert lines[-1] == "End..."


def test_log_file_named_after_program_cut_at_first_dot(run_program, wine_prefix):
    result = run_program(name="setup.beta.exe")
    assert result.exit_code == 0
    files = mirel_log.log_files(wine_prefix.log_dir)
    assert len(files) == 1
    assert files[0].name.startswith("setup_")
    assert len(files[0].name) == len("setup_20191118_100509.log")


def test_two_runs_in_different_seconds_write_two_files(run_program, wine_prefix):
    run_program()
    time.sleep(1.1)
    run_program()
    files = mirel_log.log_files(wine_prefix.log_dir)
    assert len(files) == 2
    for f in files:
        lines = mirel_log.parse(f.read_bytes().decode("utf-8"))
        assert mirel_log.messages(lines).count("MirelDownload Start.") == 1


def test_dotted_temp_folder_does_not_shorten_log_name(run_program, wine_prefix):
    dotted = wine_prefix.user_dir / "john.doe" / "Temp"
    dotted.mkdir(parents=True)
    win = wine_prefix.win_path(dotted)
    wine_prefix.reg_add("HKCU\\Environment", "TEMP", win)
    wine_prefix.reg_add("HKCU\\Environment", "TMP", win)
    wine_prefix.stop()
    result = run_program()
    assert result.exit_code == 0
    files = mirel_log.log_files(dotted / "GameDownloadLog")
    assert [f.name.split("_")[0] for f in files] == ["MirelDownloader"]
