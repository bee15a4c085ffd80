#!/usr/bin/env bash
# Times `kalkora-cli assembly --format json` on an assembly of 1,000 orders of 100 operations
# (three levels, every count 1) against `kalkora-cli scale --format json` of one order holding the
# same 100,000 operations, and the same assembly with each order listed ten times.
# Builds a Release tree in build-rel (or $KALKORA_BUILD_DIR) first.
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
cmake --build "$build_dir" -j 2 --target kalkora-cli write_bench_assembly

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
