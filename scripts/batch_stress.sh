#!/bin/sh
# Opt-in stress run: a batch of ROWS rows (default 10^7) with one line of BAD_BYTES commas
# (default 20 MB) in the middle, streamed through tavrel1-cli. Prints the exit status, the
# rejection message, the rows written and the peak memory (maximum resident set size).
# Usage: scripts/batch_stress.sh path/to/tavrel1-cli [ROWS] [BAD_BYTES]
set -eu
cli=${1:?usage: $0 path/to/tavrel1-cli [ROWS] [BAD_BYTES]}
rows=${2:-10000000}
bad=${3:-20000000}
err=$(mktemp)
trap 'rm -f "$err" "$err.time"' EXIT
python3 - "$rows" "$bad" <<'PY' |
import sys
rows, bad = int(sys.argv[1]), int(sys.argv[2])
out = sys.stdout
out.write("tc,pc,temp,press\n")
middle = rows // 2
chunk = []
for i in range(1, rows + 1):
    if i == middle:
        out.write("".join(chunk)); chunk = []
        out.write("," * bad + "\n")
        continue
    chunk.append("562.1,48.9,%d,%d\n" % (i % 500, 1 + i % 97))
    if len(chunk) == 10000:
        out.write("".join(chunk)); chunk = []
out.write("".join(chunk))
PY
/usr/bin/time -v -o "$err.time" "$cli" --batch - --format csv 2>"$err" | wc -l >"$err.rows" || true
echo "rows written (with header): $(cat "$err.rows")"
echo "stderr: $(head -c 300 "$err")"
grep -E 'Exit status|Maximum resident' "$err.time"
rm -f "$err.rows"
