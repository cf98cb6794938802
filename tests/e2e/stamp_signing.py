"""A test code-signing certificate and osslsigncode, for the signed-stamp tests."""
import subprocess
from pathlib import Path


def _run(*args):
    subprocess.run(list(map(str, args)), check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)


def make_certificate(folder: Path):
    key, cert = folder / "key.pem", folder / "cert.pem"
    _run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
         "-days", "2", "-subj", "/CN=Mirel Test Signer", "-addext", "extendedKeyUsage=codeSigning")
    return key, cert


def sign(src: Path, dst: Path, key: Path, cert: Path):
    _run("osslsigncode", "sign", "-certs", cert, "-key", key, "-in", src, "-out", dst)
    return dst


def certificate_table(image: bytes):
    """(entry offset, table offset, table size) of a PE32 image."""
    pe = int.from_bytes(image[0x3C:0x40], "little")
    entry = pe + 24 + 96 + 4 * 8
    return entry, int.from_bytes(image[entry:entry + 4], "little"), \
        int.from_bytes(image[entry + 4:entry + 8], "little")
