#!/usr/bin/env python3
"""Checks that every quoted include points down the layer arrow, and that the layers below
the store use no Qt.

    ui, cli -> store -> core -> analysis, reference, models -> state;  web -> cli's output,
    plots, core

A file's layer is its top-level folder; an include names the layer it reaches
("state/result_sheet.h"). Exit 1 with one line per wrong-way include, 0 when all are sound.
Usage: check_layers.py [ROOT]  (default: the repository root)
"""
import pathlib
import re
import sys

# Which layers each layer may include, itself always allowed. `rtf` is the Qt-free RTF
# reader under the windows; `plots` the headless curve data under the diagrams window.
ALLOWED = {
    "state": set(),
    "models": {"state"},
    "analysis": {"models", "state"},
    # The published reference equations of state: beside the models, never reading them.
    "reference": {"state"},
    "core": {"analysis", "reference", "models", "state"},
    "plots": {"core", "analysis", "reference", "models", "state"},
    "store": {"core", "analysis", "reference", "models", "state"},
    "rtf": set(),
    "cli": {"store", "core", "analysis", "reference", "models", "state"},
    "ui": {"store", "plots", "core", "analysis", "reference", "models", "state", "rtf"},
    # The browser edition: no store (no SQLite there); the command line's output and option
    # code, which need no store, serve its node program and its JSON texts.
    "web": {"cli", "plots", "core", "analysis", "reference", "models", "state"},
}
# Plain C++ only: a Qt header here would tie the physics to the toolkit.
NO_QT = {"state", "models", "analysis", "reference", "core", "plots", "rtf", "web"}
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def check(root: pathlib.Path) -> list[str]:
    faults = []
    for layer, allowed in ALLOWED.items():
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


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[1])
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
