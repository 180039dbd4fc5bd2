#!/usr/bin/env bash
# Screenshots of the diagrams window's teaching tab (reduced domes, equal areas, an isotherm
# family) under Xvfb, at 100 % and at scale 2, into docs/screenshots/. Needs the build tree
# (default build/) and imagemagick's `import`.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cmake --build "$build" --target shot_teaching
for scale in 1 2; do
  for what in domes areas family; do
    suffix=""
    [ "$scale" = 2 ] && suffix="@2x"
    out="$root/docs/screenshots/teaching-$what$suffix.png"
    QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 2400x1700x24" bash -c "
      '$build/tests/ui/shot_teaching' $what > /tmp/shot_ready.\$\$ &
      pid=\$!
      for _ in \$(seq 100); do grep -q ready /tmp/shot_ready.\$\$ 2>/dev/null && break; sleep 0.2; done
      import -window Diagrams '$out'
      kill \$pid; rm -f /tmp/shot_ready.\$\$"
    echo "$out"
  done
done
