#!/usr/bin/env bash
# Installs what is missing, builds, and starts the calculator on the shipped database.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target tavrel1
exec build/ui/tavrel1 "$@"
