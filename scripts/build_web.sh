#!/usr/bin/env bash
# Builds the browser edition into build-web/, a folder of static files any web server serves:
#   scripts/build_web.sh && python3 -m http.server -d build-web 8000
# Debian's emscripten compiles the layers without Qt and SQLite (build-wasm/); the page
# (web/), the shipped component list as JSON and the pinned plotting library join them.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# Debian's emscripten finds its JavaScript helpers (acorn, terser) there.
export NODE_PATH=/usr/share/nodejs
# em++ is not run through the native build's compiler cache (CMAKE_CXX_COMPILER_LAUNCHER).
unset CMAKE_CXX_COMPILER_LAUNCHER
emcmake cmake -S . -B build-wasm -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O3 -DNDEBUG -fno-rtti" >/dev/null
cmake --build build-wasm -j "$(nproc)"

# The plotting library, pinned by web/package-lock.json.
if [ ! -f web/node_modules/uplot/dist/uPlot.iife.min.js ] ||
   [ web/package-lock.json -nt web/node_modules/.package-lock.json ]; then
  (cd web && npm ci --no-audit --no-fund --ignore-scripts >/dev/null)
fi

out=build-web
rm -rf "$out"
mkdir -p "$out/lib"
cp web/index.html web/*.css web/*.js web/*.mjs web/manifest.webmanifest web/icon.svg "$out/"
cp build-wasm/web/tavrel1.mjs build-wasm/web/tavrel1.wasm "$out/"
cp build-wasm/web/tavrel1-cli-core.cjs build-wasm/web/solve_rate.cjs "$out/"
cp web/node_modules/uplot/dist/uPlot.iife.min.js web/node_modules/uplot/dist/uPlot.min.css \
   web/node_modules/uplot/LICENSE "$out/lib/"
# The reference equations of state are compiled into the page; their notice goes beside it.
cp assets/LICENSE-reference-eos.txt "$out/lib/"
python3 scripts/make_web_components.py assets/components_extended.csv > "$out/components.json"
version=$(sed -n 's/^project(Tavrel1 VERSION \([^ ]*\).*/\1/p' CMakeLists.txt)
# The service worker's cache is named after the version and a digest of the files, so a new
# build replaces the old cache whole.
digest=$(cd "$out" && cat $(ls | sort | grep -v '^lib$') lib/* | sha256sum | cut -c1-12)
sed -i "s/@VERSION@/$version/g; s/@BUILD@/$digest/g" "$out/sw.js" "$out/index.html"
echo "built $root/$out (version $version, build $digest)"
