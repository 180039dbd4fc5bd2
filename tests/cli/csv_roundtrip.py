#!/usr/bin/env python3
"""Reads tavrel1-cli's CSV output back with Python's csv module, a parser of its own: every
record has the header's column count, odd names come back as they went in, and the cells
agree with the JSON output of the same states.

Usage: csv_roundtrip.py PATH-TO-tavrel1-cli
"""
import csv
import io
import json
import subprocess
import sys

CLI = sys.argv[1]
NAMES = ["plain", "Comma, name", 'Quote "q"', "Line\nbreak", "CR\r\nLF", "Ünïcode ☃", " spaced "]


def run(args, stdin=""):
    return subprocess.run([CLI] + args, input=stdin.encode(), capture_output=True, check=False)


def batch_file():
    out = io.StringIO()
    writer = csv.writer(out, lineterminator="\n")
    writer.writerow(["name", "tc", "pc", "temp", "press", "hypothetical"])
    for i, name in enumerate(NAMES):
        writer.writerow([name, "562.1", "48.9", str(20 * i - 40), str(1 + i), i % 2])
    writer.writerow(["bad row", "562.1", "48.9", "warm", "1", 0])
    return out.getvalue()


def main():
    faults = []
    text = batch_file()
    csv_run = run(["--batch", "-", "--format", "csv"], text)
    json_run = run(["--batch", "-", "--format", "json"], text)
    if csv_run.returncode != 3 or json_run.returncode != 3:
        faults.append(f"exit {csv_run.returncode}/{json_run.returncode}, expected 3 (one bad row)")
    rows = list(csv.reader(io.StringIO(csv_run.stdout.decode("utf-8"), newline="")))
    header, records = rows[0], rows[1:]
    objects = [json.loads(line) for line in json_run.stdout.decode("utf-8").splitlines()]
    if len(records) != len(NAMES) + 1 or len(objects) != len(records):
        faults.append(f"{len(records)} CSV records, {len(objects)} JSON lines")
    for record, obj in zip(records, objects):
        if len(record) != len(header):
            faults.append(f"line {record[0]}: {len(record)} columns, header {len(header)}")
            continue
        row = dict(zip(header, record))
        if row["line"] != str(obj["line"]):
            faults.append(f"line numbers {row['line']} / {obj['line']}")
        if "error" in obj:
            if row["error"] != obj["error"]:
                faults.append(f"line {row['line']}: error {row['error']!r} / {obj['error']!r}")
            continue
        for cell, value in obj["cells"].items():
            if row[cell] != value:
                faults.append(f"line {row['line']}: {cell} {row[cell]!r} / {value!r}")
        message = "\r\n".join([row["message_1"], row["message_2"], row["message_3"]])
        if message != obj["message"]:
            faults.append(f"line {row['line']}: message {message!r} / {obj['message']!r}")
    names = [r[header.index("component")] for r in records[: len(NAMES)]]
    if names != NAMES:
        faults.append(f"names came back as {names!r}")

    sweep = run(["--temp-range", "0:50:10", "--press-range", "1:5:2", "--format", "csv"])
    grid = list(csv.reader(io.StringIO(sweep.stdout.decode("utf-8"), newline="")))
    if len(grid) != 1 + 6 * 3 or any(len(r) != len(grid[0]) for r in grid):
        faults.append(f"sweep: {len(grid)} rows or ragged columns")

    for f in faults:
        print(f)
    print("csv round trip:", "FAIL" if faults else "ok")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
