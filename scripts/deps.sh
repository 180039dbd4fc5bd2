#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the application need, when missing.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config clang-format
          qt6-base-dev qt6-svg-dev libqt6svg6 libqcustomplot-dev libsqlite3-dev sqlite3
          libgtest-dev libgmock-dev libbenchmark-dev
          fonts-liberation fonts-dejavu-core xvfb xauth)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
