#!/usr/bin/env python3
"""Writes the browser edition's component list (JSON) from the curated constants table.

    scripts/make_web_components.py assets/components_extended.csv > build-web/components.json

The rows come in the order of the window's list (the seed's qryCritCos: by name ignoring ASCII
case, then by name), each with its eight constants and the Antoine set as the seed's views see
them: a value is null where the table has none, and the Antoine set is kept only when all three
coefficients are there. The browser reads the same doubles the database holds (Python writes the shortest text that reads back as the
table's double).
"""
import csv
import json
import sys

CONSTANTS = ["MolWt", "CritTemp", "CritPress", "CritVol", "AcentricF", "K1", "K2", "K3"]
ANTOINE = ["AntA", "AntB", "AntC"]


def number(text):
    text = text.strip()
    if text == "":
        return None
    return float(text)  # refuses anything that is not a number


def list_key(name):
    # SQLite's NOCASE folds ASCII letters only; ties are broken by the name itself (binary).
    folded = "".join(chr(ord(c) + 32) if "A" <= c <= "Z" else c for c in name)
    return (name == "", folded, name)


def main():
    with open(sys.argv[1], newline="", encoding="utf-8") as f:
        rows = list(csv.DictReader(f))
    out = []
    for row in sorted(rows, key=lambda r: list_key(r["Component"])):
        constants = [number(row[c]) for c in CONSTANTS]
        antoine = [number(row[c]) for c in ANTOINE]
        entry = {"name": row["Component"], "constants": constants,
                 "antoine": antoine if all(v is not None for v in antoine) else None}
        tmin, tmax = number(row["AntTmin"]), number(row["AntTmax"])
        if entry["antoine"] and tmin is not None and tmax is not None and tmin < tmax:
            entry["range"] = [tmin, tmax]
        if row["Source"].strip():
            entry["source"] = row["Source"].strip()
        out.append(entry)
    sys.stdout.write(json.dumps(out, ensure_ascii=False, separators=(",", ":")) + "\n")


if __name__ == "__main__":
    main()
