"""Reading the program's per-run log files."""
import re
from dataclasses import dataclass
from pathlib import Path

LINE = re.compile(
    r"^(?P<time>\d{4}-\d\d-\d\d \d\d:\d\d:\d\d:\d{3}) "
    r"\[tid=(?P<tid>-?\d+)\]\[(?P<level>\w+)\]\[(?P<module>[^\]]*)\]\[(?P<file>[^\]]*)\]"
    r"\[(?P<function>[^\]@]*)@(?P<line>\d+)\] (?P<message>.*)$")
END = re.compile(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d:\d{3} End\.\.\.$")


@dataclass
class LogLine:
    time: str
    tid: int
    level: str
    module: str
    file: str
    function: str
    line: int
    message: str


def parse(text: str):
    """Lines of a log file as LogLine, the end marker as the string 'End...'."""
    out = []
    for raw in text.split("\r\n"):
        if not raw:
            continue
        m = LINE.match(raw)
        if m:
            out.append(LogLine(m["time"], int(m["tid"]), m["level"], m["module"], m["file"],
                               m["function"], int(m["line"]), m["message"]))
        elif END.match(raw):
            out.append("End...")
        else:
            raise AssertionError(f"not a log line: {raw!r}")
    return out


def log_files(log_dir: Path):
    return sorted(p for p in Path(log_dir).glob("*.log"))


def read_single_log(log_dir: Path):
    files = log_files(log_dir)
    assert len(files) == 1, f"expected one log file, found {files}"
    raw = files[0].read_bytes()
    return parse(raw.decode("utf-8")), raw


def messages(lines, module=None, level=None):
    return [l.message for l in lines if l != "End..." and (module is None or l.module == module)
            and (level is None or l.level == level)]
