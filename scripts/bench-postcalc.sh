#!/usr/bin/env bash
# Times `kalkora-cli postcalc --format json` of an order of 100,000 operations with an actual for
# every operation against `kalkora-cli breakdown --format json` of the same order (goal: at most
# 2.5 times, as the post-calculation costs the order twice). Builds a Release tree in build-rel
# (or $KALKORA_BUILD_DIR) first.
set -euo pipefail
source "$(dirname "$0")/bench-setup.sh" -- kalkora-cli write_bench_files

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cli="$build_dir/src/cli/kalkora-cli"
"$build_dir/bench/write_bench_files" 100000 "$work/bench.sta" "$work/bench.auf"
# The benchmark order names its operations "Arbeitsgang 0", "Arbeitsgang 1", ...
python3 - "$work/bench.nak" <<'PY'
import json, sys
actuals = [{"operation": i + 1, "name": f"Arbeitsgang {i}", "setupTimeMin": 45, "machineTimeMin": 2.3,
            "externalCostPerPiece": 1.65} for i in range(100000)]
json.dump({"kind": "kalkora-nachkalkulation", "version": 1, "masterFile": "bench.sta", "orderFile": "bench.auf",
           "producedQuantity": 100, "goodQuantity": 97, "actuals": actuals}, open(sys.argv[1], "w"))
PY
hyperfine --warmup 1 --runs 5 --export-json "$work/times.json" \
  -n breakdown "$cli breakdown $work/bench.sta $work/bench.auf --format json -o $work/breakdown.json" \
  -n postcalc "$cli postcalc $work/bench.nak --format json -o $work/postcalc.json"

python3 - "$work/times.json" <<'PY'
import json, sys
t = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
print(f"breakdown {t['breakdown'] * 1e3:.0f} ms, postcalc {t['postcalc'] * 1e3:.0f} ms "
      f"= {t['postcalc'] / t['breakdown']:.2f} x breakdown (goal <= 2.5)")
PY
