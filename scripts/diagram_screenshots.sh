#!/usr/bin/env bash
# Screenshots of the four tabs of the diagrams window under Xvfb, at 100 % and at scale 2,
# into docs/screenshots/, then three in °F and psia (diagrams-units-*.png). Needs the build tree (default build/) and imagemagick's `import`.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cmake --build "$build" --target shot_frmDiagrams
names=(pv zp pt table)
shots=("0 1 2 3|" "0 2 3|F,psia,")
for shot in "${shots[@]}"; do
tabs="${shot%%|*}"
units="${shot#*|}"
prefix="diagrams-"
[ -n "$units" ] && prefix="diagrams-units-"
for scale in 1 2; do
  for tab in $tabs; do
    suffix=""
    [ "$scale" = 2 ] && suffix="@2x"
    out="$root/docs/screenshots/$prefix${names[$tab]}$suffix.png"
    QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 2200x1400x24" bash -c "
      '$build/tests/ui/shot_frmDiagrams' $tab '$units' > /tmp/shot_ready.\$\$ &
      pid=\$!
      for _ in \$(seq 100); do grep -q ready /tmp/shot_ready.\$\$ 2>/dev/null && break; sleep 0.2; done
      import -window Diagrams '$out'
      kill \$pid; rm -f /tmp/shot_ready.\$\$"
    echo "$out"
  done
done
done
