#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through ctest: first the whole
# suite, then the engine, plot and picture tests again built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$top/tools/install-deps.sh"

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$top/build" -j"$jobs"

cmake -S "$top" -B "$top/build-sanitize" -DCMAKE_BUILD_TYPE=Debug \
  -DHALVORAN_SANITIZE=ON -DHALVORAN_CORE_ONLY=ON
cmake --build "$top/build-sanitize" -j"$jobs"

export QT_QPA_PLATFORM=offscreen
status=0
(cd "$top/build" && ctest --output-on-failure -j"$jobs") || status=1
# Qt and fontconfig keep caches until exit that LeakSanitizer would report as leaks of ours.
(cd "$top/build-sanitize" && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j"$jobs") || status=1
exit $status
