#!/usr/bin/env bash
# Sets up and builds (see setup.sh), then runs every test. Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KALKORA_BUILD_DIR:-build}
bash scripts/setup.sh "$build_dir" "$@"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
