#!/usr/bin/env bash
# Screenshots of the four tabs of the diagrams window under Xvfb for benzene at 25 °C and 1 bar,
# of Z-P for water at 100 °C and 1.01325 bar, and three in °F and psia (diagrams-units-*.png),
# at 100 % and at scale 2, into docs/screenshots/. Needs the build tree (default build/) and
# imagemagick's `import`.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cmake --build "$build" --target shot_frmDiagrams
shoot() { # name scale tab units [component temperature pressure]
  local out="$root/docs/screenshots/diagrams-$1"
  [ "$2" = 2 ] && out="$out@2x"
  out="$out.png"
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$2 xvfb-run -a -s "-screen 0 2200x1400x24" bash -c '
    out="$1"; shift
    "$@" > /tmp/shot_ready.$$ &
    pid=$!
    for _ in $(seq 100); do grep -q ready /tmp/shot_ready.$$ 2>/dev/null && break; sleep 0.2; done
    import -window Diagrams "$out"
    kill $pid; rm -f /tmp/shot_ready.$$' _ "$out" "$build/tests/ui/shot_frmDiagrams" "${@:3}"
  echo "$out"
}
names=(pv zp pt table)
for scale in 1 2; do
  for tab in 0 1 2 3; do
    shoot "${names[$tab]}" "$scale" "$tab" ""
  done
  shoot zp-water "$scale" 1 "" Water 100 1.01325
  for tab in 0 2 3; do
    shoot "units-${names[$tab]}" "$scale" "$tab" "F,psia,"
  done
done
