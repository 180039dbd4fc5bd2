#!/usr/bin/env bash
# Builds and runs every test: the cheap checks (format, layer direction), the normal build,
# then the ASan+UBSan build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# The cheap checks first, so a formatting slip or a wrong-way include fails in seconds.
scripts/check_format.sh
echo "format check passed"
python3 scripts/check_layers.py

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL1_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
# The installed programs, run from a scratch prefix.
tests/packaging/installed_programs.sh build

# The browser edition: built with em++, then its node command line against the native one and
# the page in headless Chromium.
scripts/build_web.sh
node --test tests/web/

# Qt and fontconfig keep caches alive to process exit; their leaks are listed in lsan.supp.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVREL1_SANITIZE=ON -DTAVREL1_WERROR=ON \
      -DTAVREL1_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
