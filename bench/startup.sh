#!/usr/bin/env bash
# Cold start of the calculator to its window shown (first event-loop pass after show), and
# resident memory then; a fresh HOME each run, so the first-start database creation is timed
# too. Needs Xvfb. Usage: bench/startup.sh [build dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-10}
display=:93
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb' EXIT
sleep 1
times=()
for i in $(seq "$runs"); do
  home=$(mktemp -d)
  start=$(date +%s%N)
  rss=$(HOME=$home DISPLAY=$display TAVREL1_STARTUP_PROBE=1 "$build/ui/tavrel1" 2>/dev/null)
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
  rm -rf "$home"
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
echo "start to window shown, ms: $(echo $sorted | tr '\n' ' ')"
echo "median: $(printf '%s\n' $sorted | sed -n "$(( (runs + 1) / 2 ))p") ms; last run $rss"
