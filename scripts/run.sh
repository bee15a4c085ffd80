#!/usr/bin/env bash
# Sets up and builds (see setup.sh), then starts the desktop program kalkora. Without a display
# it prints the costing report of the example order "Welle 20x200" with kalkora-cli instead;
# extra arguments then go to "kalkora-cli report", e.g. --locale c.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/ui/main/kalkora
fi
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): printing the example report with kalkora-cli instead."
build/src/cli/kalkora-cli report build/examples/werk.sta build/examples/welle.auf "$@"
