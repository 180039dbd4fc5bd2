#!/usr/bin/env bash
# Opt-in: holds the browser build's number conversions against the standard library on many
# random values (default ten million; the test suite takes 300,000). Usage:
#   scripts/charconv_stress.sh [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target state_tests
TAVREL1_CHARCONV_VALUES="${1:-10000000}" build/tests/state/state_tests \
  --gtest_filter='PortableCharconv.*'
