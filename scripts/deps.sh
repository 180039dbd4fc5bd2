#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the application need, when missing.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config clang-format
          qt6-base-dev qt6-svg-dev libqt6svg6 libqcustomplot-dev libsqlite3-dev sqlite3
          libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
          fonts-liberation fonts-dejavu-core xvfb xauth locales python3)
# Installing and packaging: icon rendering, the desktop validators, dpkg-shlibdeps.
packages+=(librsvg2-bin desktop-file-utils appstream dpkg-dev file)
# The browser edition (scripts/build_web.sh) and its tests: em++, the number conversions' headers
# for it, node (the machine's own where it has one: that package is also named nodejs) and
# headless Chromium.
packages+=(emscripten libfast-float-dev libfmt-dev nodejs chromium)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A node built with its own npm (the machine's nodejs 20) needs nothing more; Debian's node needs
# Debian's npm, which conflicts with the other node: it is asked for only when npm is missing.
if ! command -v npm >/dev/null; then
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm
fi

# A decimal-comma locale for the tests that prove the number paths ignore the desktop's locale.
# Where it cannot be generated those tests skip with a message.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the de_DE.UTF-8 locale"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 ||
    echo "warning: de_DE.UTF-8 could not be generated; the decimal-comma tests will skip" >&2
fi
