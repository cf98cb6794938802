"""Channel-parameter blocks for end-to-end tests: well-formed ones through the real
channel-stamp tool, damaged and hostile ones made here byte by byte."""
import hashlib
import struct
import subprocess
from pathlib import Path

MAGIC = 0x0EF4


def trailer(length: int, md5_text: bytes, magic: int = MAGIC, reserved: int = 1) -> bytes:
    """The 40 trailer bytes: magic, length, the digit field (33 bytes, zero-padded; a
    longer text fills it without a zero byte), the reserved byte."""
    digits = md5_text[:33].ljust(33, b"\x00")
    raw = struct.pack("<HI", magic, length & 0xFFFFFFFF) + digits + bytes([reserved])
    assert len(raw) == 40
    return raw


def block(json_text, upper=True) -> bytes:
    """Block data and trailer as the distribution tool writes them."""
    data = json_text.encode("utf-8") if isinstance(json_text, str) else json_text
    data += b"\x00" * (8 - len(data) % 8)
    digits = hashlib.md5(data).hexdigest()
    digits = digits.upper() if upper else digits
    return data + trailer(len(data), digits.encode())


def stamp(tool: Path, program: Path, json_text: str):
    """Runs `channel-stamp stamp PROGRAM --json TEXT`; returns (exit code, stderr)."""
    proc = subprocess.run([str(tool), "stamp", str(program), "--json", json_text],
                          stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=60)
    return proc.returncode, proc.stderr


def list_blocks(tool: Path, program: Path):
    proc = subprocess.run([str(tool), "list", str(program)], stdin=subprocess.DEVNULL,
                          capture_output=True, text=True, timeout=60)
    return proc.returncode, proc.stdout, proc.stderr
