#!/usr/bin/env bash
# Screenshots of the reference equation of state in the diagrams window under Xvfb, at 100 %
# and at scale 2, into docs/screenshots/: the P-V and P-T tabs for water and propane, and the
# scorecard for water with measured points. Needs the build tree (default build/) and
# imagemagick's `import`. A second argument takes only the shots whose name contains it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
only="${2:-}"
cmake --build "$build" --target shot_reference
data="$root/docs/examples/water_measured.csv"
shots=("reference-water-pv|Water 100 1.01325 0|Diagrams"
       "reference-water-pt|Water 100 1.01325 2|Diagrams"
       "reference-water-table|Water 100 1.01325 3|Diagrams"
       "reference-propane-pv|Propane 25 5 0 $root/docs/examples/propane_measured.csv|Diagrams"
       "reference-propane-pt|Propane 25 5 2|Diagrams"
       "reference-scorecard|Water 100 1.01325 scorecard $data|Scorecard - Water")
for shot in "${shots[@]}"; do
  IFS='|' read -r name args title <<< "$shot"
  [[ "$name" == *"$only"* ]] || continue
  for scale in 1 2; do
    suffix=""
    [ "$scale" = 2 ] && suffix="@2x"
    out="$root/docs/screenshots/$name$suffix.png"
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 2400x1800x24" bash -c "
      '$build/tests/ui/shot_reference' $args > /tmp/shot_ready.\$\$ &
      pid=\$!
      for _ in \$(seq 100); do grep -q ready /tmp/shot_ready.\$\$ 2>/dev/null && break; sleep 0.2; done
      timeout 20 import -window '$title' '$out'
      kill \$pid; rm -f /tmp/shot_ready.\$\$"
    echo "$out"
  done
done
