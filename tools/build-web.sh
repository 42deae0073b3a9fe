#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the browser page: the core's WebAssembly module (in build-wasm, as the test command
# configures it), then the page over it in build-web/: site/ (a folder for any static server)
# and halvoran-radiation.html (one file, the module inside it, that opens from file://).
# HALVORAN_WASM_BUILD names another build folder of the module.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
wasm=${HALVORAN_WASM_BUILD:-$top/build-wasm}
"$top/tools/install-deps.sh"

cmake -S "$top" -B "$wasm" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/Emscripten.cmake" \
  -DCMAKE_BUILD_TYPE=Release
cmake --build "$wasm" -j"$jobs" --target halvoran_web_module

# The page imports the module from src/generated (not kept in git), with its types beside it.
generated="$top/web/src/generated"
mkdir -p "$generated"
cp "$wasm/web/core/halvoran-core.js" "$wasm/web/core/halvoran-core.wasm" \
  "$top/web/core/halvoran-core.d.ts" "$generated/"

cd "$top/web"
# The page's tests drive the machine's Chromium: no browser of playwright's own is fetched.
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund
npm run build
cp "$top/build-web/single/index.html" "$top/build-web/halvoran-radiation.html"
echo "Built $top/build-web/site/ and $top/build-web/halvoran-radiation.html"
