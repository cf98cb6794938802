"""Component packages for the end-to-end tests, made from the fixture programs.

A package is a copy of fixture-package.exe with a behaviour trailer appended (see
tests/fixtures/FixtureParams.h); its installer gets the "zedud." keys. Each distinct
behaviour gives a distinct file, hence a distinct MD5 for the component list.
"""
import hashlib
from dataclasses import dataclass, field
from pathlib import Path

BEGIN = b"<<MIREL-FIXTURE>>"
END = b"<<MIREL-FIXTURE-END>>"

PRODUCT_KEY = r"Software\Corvane\Varnet"

# id -> (registry key under HKLM, key files), in processing order.
COMPONENTS = {
    7: (PRODUCT_KEY + r"\Shoplet", ["Shoplet.exe", "Ovx.dll"]),
    1: (PRODUCT_KEY + r"\UI", ["adb.exe", "Tessaly.exe"]),
    3: (PRODUCT_KEY + r"\VDI_0", ["android_data_disk.vdi", "android_sdcard_disk.vdi", "android_system_disk.vdi"]),
    8: (PRODUCT_KEY + r"\VDI_100", ["android_data_disk.vdi", "android_sdcard_disk.vdi", "android_system_disk.vdi"]),
    10: (PRODUCT_KEY + r"\Quen_Rootfs", ["inode"]),
    2: (r"Software\AndroidMarrow", ["HypervMarrow.exe", "MarrowSVC.exe"]),
}

SWITCHES = {7: "installMarket", 1: "installUI", 3: "installVDI", 8: "installVDI71",
            10: "installRootfs", 2: "installMarrow"}


@dataclass
class Behaviour:
    exit: int = 0              # package exit code (1000 counts as success)
    zedud: bool = True         # unpack Setup\Zedud.exe
    sleep_ms: int = 0
    zedud_exit: int = 0
    regkey: str = None         # default: the component's key
    files: list = None         # default: the component's key files
    version: str = "1.0.0.1"   # None: no "Version" written
    extra: dict = field(default_factory=dict)


def package_bytes(bin_dir: Path, component_id: int, behaviour: Behaviour = None) -> bytes:
    b = behaviour or Behaviour()
    regkey, files = COMPONENTS.get(component_id, (PRODUCT_KEY + r"\Other", []))
    params = {
        "exit": str(b.exit),
        "zedud": "1" if b.zedud else "0",
        "sleep_ms": str(b.sleep_ms),
        "zedud.exit": str(b.zedud_exit),
        "zedud.regkey": b.regkey if b.regkey is not None else regkey,
        "zedud.files": ";".join(b.files if b.files is not None else files),
        "component": str(component_id),
    }
    if b.version is not None:
        params["zedud.version"] = b.version
    params.update(b.extra)
    body = b"".join(f"{k}={v}\n".encode() for k, v in sorted(params.items()))
    return (Path(bin_dir) / "fixture-package.exe").read_bytes() + BEGIN + body + END


def write_package(bin_dir: Path, target: Path, component_id: int, behaviour: Behaviour = None) -> str:
    """Writes the package file and returns its MD5 (lower-case hex)."""
    data = package_bytes(bin_dir, component_id, behaviour)
    target.parent.mkdir(parents=True, exist_ok=True)
    target.write_bytes(data)
    return hashlib.md5(data).hexdigest()
