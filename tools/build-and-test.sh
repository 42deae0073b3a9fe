#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything and runs every test through ctest: first the whole
# suite, then the whole suite again built with AddressSanitizer and UndefinedBehaviorSanitizer
# (leak detection on), then the fuzz targets built with clang's libFuzzer, each for a bounded time,
# then the core's tests built without Qt, natively and as WebAssembly (run under node), then the
# browser page: its unit tests, and its end-to-end tests in the machine's Chromium.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# Each stage's end with the minutes since the start, so that a slow stage shows in CI's log.
stage() { echo "== $1 done at $((SECONDS / 60)) min $((SECONDS % 60)) s"; }
"$top/tools/install-deps.sh"

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$top/build" -j"$jobs"
stage "desktop build"

# Every layer and every test, the windows and the end-to-end test included. Assertions on, as in
# a debug build, but optimised a little (-O1, as AddressSanitizer's own advice has it) and with
# line tables only: reports still name file and line, and the build and its tests take less of
# CI's time than unoptimised code with full debug information.
cmake -S "$top" -B "$top/build-sanitize" -DCMAKE_BUILD_TYPE=Sanitize \
  -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g1" -DCMAKE_C_FLAGS_SANITIZE="-O1 -g1" \
  -DHALVORAN_SANITIZE=ON -DHALVORAN_CORE_ONLY=OFF
cmake --build "$top/build-sanitize" -j"$jobs"
stage "sanitizer build"

CC=clang CXX=clang++ cmake -S "$top" -B "$top/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DHALVORAN_FUZZ=ON
cmake --build "$top/build-fuzz" -j"$jobs"
stage "fuzz build"

# The core alone, with Qt not searched: the configure step fails if a core folder uses Qt. Fresh,
# so that no cache left from an earlier configuration can hide a search for it.
cmake --fresh -S "$top" -B "$top/build-core" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DHALVORAN_CORE_ONLY=ON
cmake --build "$top/build-core" -j"$jobs"
stage "core build"

# The core compiled to WebAssembly (cmake/Emscripten.cmake holds every setting of it).
cmake -S "$top" -B "$top/build-wasm" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/Emscripten.cmake" \
  -DCMAKE_BUILD_TYPE=Release
cmake --build "$top/build-wasm" -j"$jobs"
stage "WebAssembly build"

export QT_QPA_PLATFORM=offscreen
status=0
(cd "$top/build" && ctest --output-on-failure -j"$jobs") || status=1
stage "desktop tests"
# Leaks are reported, except those of the caches Qt and the system libraries keep until exit
# (tools/lsan.supp says which and why).
(cd "$top/build-sanitize" && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  LSAN_OPTIONS=suppressions="$top/tools/lsan.supp":print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j"$jobs") || status=1
stage "sanitizer tests"
(cd "$top/build-fuzz" && ctest --output-on-failure -j"$jobs") || status=1
stage "fuzz tests"
(cd "$top/build-core" && ctest --output-on-failure -j"$jobs") || status=1
stage "core tests"
# Each test case in a node of its own: an abort fails only its case.
(cd "$top/build-wasm" && ctest --output-on-failure -j"$jobs") || status=1
stage "WebAssembly tests"
# The page over the module just built; its scenes are compared with the desktop's pictures.
if HALVORAN_WASM_BUILD="$top/build-wasm" "$top/tools/build-web.sh"; then
  (cd "$top/web" && npm test) || status=1
  stage "page unit tests"
  (cd "$top/web" && HALVORAN_DESKTOP="$top/build/mainwindow/halvoran-radiation" npm run e2e) ||
    status=1
  stage "page end-to-end tests"
else
  status=1
fi
exit $status
