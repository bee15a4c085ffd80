#!/usr/bin/env bash
# Sets up and builds (see setup.sh), then prints the costing report of the example order
# "Welle 20x200" with kalkora-cli. Extra arguments go to "kalkora-cli report", e.g. --locale c.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
build/src/cli/kalkora-cli report build/examples/werk.sta build/examples/welle.auf "$@"
