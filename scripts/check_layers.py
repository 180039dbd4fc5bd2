#!/usr/bin/env python3
"""Checks that every quoted include points down the layer arrows of layers.txt, and that the
layers marked without Qt include no Qt header.

A file's layer is its top-level folder; an include names the layer it reaches
("state/result_sheet.h"). Exit 1 with one line per wrong-way include, 0 when all are sound.

    check_layers.py [ROOT]          check the tree at ROOT (default: the repository root)
    check_layers.py --readme FILE   check that FILE's layer chain is the one layers.txt gives
"""
import pathlib
import re
import sys

REPO = pathlib.Path(__file__).resolve().parents[1]
README_BEGIN = "<!-- layer chain: generated from layers.txt, checked by the tests -->"
README_END = "<!-- end of layer chain -->"


def read_layers(path: pathlib.Path = REPO / "layers.txt") -> list[tuple[str, list[str], bool]]:
    """(layer, layers it may include, Qt allowed), from the top."""
    layers = []
    for line in path.read_text(encoding="utf-8").splitlines():
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        name, includes, _built, qt = (field.strip() for field in line.split("|"))
        layers.append((name, includes.split(), qt == "yes"))
    return layers


LAYERS = read_layers()
ALLOWED = {name: set(includes) for name, includes, _ in LAYERS}
NO_QT = {name for name, _, qt in LAYERS if not qt}
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def check(root: pathlib.Path) -> list[str]:
    faults = []
    # Bottom layer first.
    for layer, allowed in reversed(list(ALLOWED.items())):
        folder = root / layer
        if not folder.is_dir():
            continue
        for path in sorted(folder.rglob("*")):
            if path.suffix not in SOURCE_SUFFIXES:
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                where = f"{path.relative_to(root)}:{number}"
                kind, target = m.groups()
                if kind == "<":
                    if layer in NO_QT and target.startswith("Q"):
                        faults.append(f"{where}: {layer}/ includes Qt header <{target}>")
                    continue
                reached = target.split("/", 1)[0] if "/" in target else layer
                if reached != layer and reached in ALLOWED and reached not in allowed:
                    faults.append(f'{where}: {layer}/ may not include "{target}"')
    return faults


def readme_chain() -> str:
    """The README's lines for the layer chain, one a layer from the top."""
    lines = []
    for name, includes, qt in LAYERS:
        reaches = ", ".join(f"`{i}`" for i in includes) if includes else "nothing of this project"
        lines.append(f"- `{name}` → {reaches}" + ("" if qt else " (no Qt)"))
    return "\n".join(lines)


def check_readme(path: pathlib.Path) -> int:
    text = path.read_text(encoding="utf-8")
    if README_BEGIN not in text or README_END not in text:
        print(f"{path}: no layer chain between the markers")
        return 1
    shown = text.split(README_BEGIN, 1)[1].split(README_END, 1)[0].strip()
    if shown != readme_chain():
        print(f"{path}: the layer chain differs from layers.txt; it should read:")
        print(readme_chain())
        return 1
    print("README layer chain matches layers.txt")
    return 0


def main() -> int:
    if len(sys.argv) > 2 and sys.argv[1] == "--readme":
        return check_readme(pathlib.Path(sys.argv[2]))
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else REPO)
    faults = check(root.resolve())
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} wrong-way include(s)")
        return 1
    print("layer check passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
