"""What an install test serves: the component list (primary and fallback paths) and the
packages, laid out as files for the list servers, plus the XML of the list itself."""
import xml.sax.saxutils as su
from dataclasses import dataclass, field
from pathlib import Path

import fixture_packages as fp

PRIMARY_LIST = "downloads/xml/compoment.xml"
FALLBACK_LIST = "open/kelo/xml/compoment.xml"
PRIMARY_HOST = "localhost:28443"
FALLBACK_HOST = "localhost:28444"

ATTRIBUTE_ORDER = ["id", "name", "localaddpath", "installInX86", "installInX64", "writePathToRegKey",
                   "DL_ID", "hash", "filesize", "url", "version"]


def item_xml(attributes: dict, tag="Item") -> str:
    order = [k for k in ATTRIBUTE_ORDER if k in attributes] + [k for k in attributes if k not in ATTRIBUTE_ORDER]
    text = " ".join(f"{k}={su.quoteattr(str(attributes[k]))}" for k in order)
    return f"<{tag} {text}/>"


def list_xml(items, channels=()) -> str:
    """items: attribute dicts; channels: (ChannelRange, [attribute dicts]) pairs."""
    body = "".join(item_xml(i) for i in items)
    if channels:
        sections = "".join(
            f"<ChannelComponents ChannelRange={su.quoteattr(r)}>" + "".join(item_xml(i) for i in its)
            + "</ChannelComponents>" for r, its in channels)
        body += f"<other><OtherConfig>{sections}</OtherConfig></other>"
    return f'<?xml version="1.0" encoding="utf-8"?>\n<components>\n{body}\n</components>\n'


@dataclass
class InstallSite:
    """primary/ is served on 28443, fallback/ on 28444; packages live under primary/packages/."""
    root: Path
    bin_dir: Path
    items: list = field(default_factory=list)

    @property
    def primary(self) -> Path:
        return self.root / "primary"

    @property
    def fallback(self) -> Path:
        return self.root / "fallback"

    def __post_init__(self):
        self.primary.mkdir(parents=True, exist_ok=True)
        self.fallback.mkdir(parents=True, exist_ok=True)

    def component(self, component_id: int, behaviour: fp.Behaviour = None, name=None, **overrides) -> dict:
        """Writes a package for the component and returns its list entry."""
        name = name or f"component{component_id}.exe"
        package = self.primary / "packages" / f"{component_id}" / name
        md5 = fp.write_package(self.bin_dir, package, component_id, behaviour)
        regkey = fp.COMPONENTS.get(component_id, (fp.PRODUCT_KEY + r"\Other", []))[0]
        entry = {
            "id": component_id, "name": name, "localaddpath": f"Comp{component_id}",
            "installInX86": 1, "installInX64": 1, "writePathToRegKey": regkey, "DL_ID": 1000 + component_id,
            "hash": md5, "filesize": package.stat().st_size,
            "url": f"https://{PRIMARY_HOST}/packages/{component_id}/{name}", "version": "1.0.0.1",
        }
        entry.update(overrides)
        return entry

    def publish(self, xml_text: str, primary=True, fallback=False):
        for on, base, rel in ((primary, self.primary, PRIMARY_LIST), (fallback, self.fallback, FALLBACK_LIST)):
            target = base / rel
            if on:
                target.parent.mkdir(parents=True, exist_ok=True)
                target.write_text(xml_text, encoding="utf-8")
            elif target.exists():
                target.unlink()
