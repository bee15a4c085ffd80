#!/usr/bin/env bash
# Times `kalkora-cli postcalc --format json` of an order of 100,000 operations with an actual for
# every operation against `kalkora-cli breakdown --format json` of the same order (goal: at most
# 2.5 times, as the post-calculation costs the order twice). Builds a Release tree in build-rel
# (or $KALKORA_BUILD_DIR) first.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KALKORA_BUILD_DIR:-build-rel}

if ! command -v hyperfine >/dev/null; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq hyperfine
fi

[ -f "$build_dir/CMakeCache.txt" ] \
  || cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKALKORA_BUILD_GUI=OFF
cmake --build "$build_dir" -j 2 --target kalkora-cli write_bench_files

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
