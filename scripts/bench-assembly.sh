#!/usr/bin/env bash
# Times `kalkora-cli assembly --format json` on an assembly of 1,000 orders of 100 operations
# (three levels, every count 1) against `kalkora-cli scale --format json` of one order holding the
# same 100,000 operations, and the same assembly with each order listed ten times.
# Builds a Release tree in build-rel (or $KALKORA_BUILD_DIR) first.
set -euo pipefail
source "$(dirname "$0")/bench-setup.sh" -- kalkora-cli write_bench_assembly

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cli="$build_dir/src/cli/kalkora-cli"
"$build_dir/bench/write_bench_assembly" "$work"
hyperfine --warmup 1 --runs 5 --export-json "$work/times.json" \
  -n scale "$cli scale $work/bench.sta $work/all.auf --format json -o $work/scale.json" \
  -n assembly "$cli assembly $work/bench.sta $work/tree.bgr --format json -o $work/tree.json" \
  -n assembly10 "$cli assembly $work/bench.sta $work/tree10.bgr --format json -o $work/tree10.json"

python3 - "$work/times.json" <<'PY'
import json, sys
t = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
print(f"scale {t['scale'] * 1e3:.0f} ms, assembly {t['assembly'] * 1e3:.0f} ms "
      f"= {t['assembly'] / t['scale']:.2f} x scale (goal <= 1.5)")
print(f"assembly listing each order ten times {t['assembly10'] * 1e3:.0f} ms "
      f"= {t['assembly10'] / t['assembly']:.2f} x (goal <= 1.3)")
PY
