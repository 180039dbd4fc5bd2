#!/bin/bash
# Opt-in stress run: streams batch files of 10^5 and 10^7 rows (the larger about 1 GB) through
# tavrel1-cli and prints the peak resident memory of each run, which must not grow with the
# file. Not part of scripts/test.sh; it takes minutes.
# Usage: scripts/batch_memory.sh [path/to/tavrel1-cli]   (default build/cli/tavrel1-cli)
set -euo pipefail
cli=${1:-build/cli/tavrel1-cli}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Rows of the reference component over a grid; the name column pads a row to about 100 bytes
# so that 10^7 rows make a file of about 1 GB.
make_rows() {
    awk -v n="$1" 'BEGIN {
        pad = sprintf("%70s", ""); gsub(/ /, "x", pad)
        print "name,mw,tc,pc,temp,press,hypothetical"
        for (i = 0; i < n; i++)
            printf "%s,78.11,562.1,48.9,%d.5,%d,1\n", pad, i % 500 - 50, i % 300 + 1
    }'
}

for rows in 100000 10000000; do
    make_rows "$rows" > "$work/rows.csv"
    size=$(du -h "$work/rows.csv" | cut -f1)
    for format in csv json; do
        /usr/bin/time -f "%M %e" -o "$work/time" "$cli" --batch "$work/rows.csv" \
            --format "$format" --jobs 2 > /dev/null
        read -r peak_kB seconds < "$work/time"
        echo "$rows rows ($size), $format: peak RSS $((peak_kB / 1024)) MB, ${seconds} s"
    done
done
