#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the artwork generator and redraws every picture in assets/; commit the JPEG files after
# looking at them. BUILD_DIR chooses the build folder (default: build).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-"$top/build"}
cmake -S "$top" -B "$build" >/dev/null
cmake --build "$build" --target artwork-generator icon-generator -j"$(nproc)"
QT_QPA_PLATFORM=offscreen "$build/tools/artwork-generator" "$top/assets"
QT_QPA_PLATFORM=offscreen "$build/tools/icon-generator" "$top/assets/icons"
