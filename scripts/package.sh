#!/usr/bin/env bash
# Builds the Debian package in build-deb/ with Debian's own compiler and linker flags
# (hardening included) and prints the path of the .deb. Progress goes to stderr.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh >&2
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# CMake reads CXXFLAGS and LDFLAGS from the environment; the preprocessor flags
# (_FORTIFY_SOURCE) travel with CXXFLAGS.
export CXXFLAGS="$CPPFLAGS $CXXFLAGS"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL1_BUILD_BENCH=OFF \
      "${launcher[@]}" >&2
cmake --build build-deb --target tavrel1 tavrel1-cli tavrel1_install_files >&2
rm -f build-deb/tavrel1_*.deb
(cd build-deb && cpack -G DEB >&2)
ls "$PWD"/build-deb/tavrel1_*.deb
