#!/usr/bin/env bash
# Sets up and builds (see setup.sh), then prints the costing report of the example order.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
echo "The command-line tool arrives with a later change; the build and the tests are ready."
