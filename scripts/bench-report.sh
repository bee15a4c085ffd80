#!/usr/bin/env bash
# Times `kalkora-cli report --raw -o` on the benchmark order of N operations (default 100000)
# side by side with `cp` of the report it writes, and measures the run's peak memory.
# Builds a Release tree in build-rel (or $KALKORA_BUILD_DIR) first.
set -euo pipefail
operations=${1:-100000}
source "$(dirname "$0")/bench-setup.sh" time -- kalkora-cli write_bench_files

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cli="$build_dir/src/cli/kalkora-cli"
"$build_dir/bench/write_bench_files" "$operations" "$work/bench.sta" "$work/bench.auf"
report=("$cli" report "$work/bench.sta" "$work/bench.auf" --date 2024-03-01 --raw -o "$work/out.txt")
"${report[@]}"
size=$(stat -c %s "$work/out.txt")

hyperfine --warmup 2 --runs 10 --export-json "$work/times.json" \
  -n report "${report[*]}" -n cp "cp $work/out.txt $work/copy.txt"
/usr/bin/time -f '%M' -o "$work/peak.txt" "${report[@]}"
peak_kib=$(cat "$work/peak.txt")

python3 - "$work/times.json" "$size" "$peak_kib" <<'PY'
import json, sys
times = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
size, peak = int(sys.argv[2]), int(sys.argv[3]) * 1024
print(f"report {size / 1e6:.1f} MB: report {times['report'] * 1e3:.0f} ms, cp {times['cp'] * 1e3:.1f} ms, "
      f"ratio {times['report'] / times['cp']:.1f} (goal <= 12)")
print(f"peak memory {peak / 1e6:.0f} MB = {peak / size:.2f} x the report (goal <= 2.5)")
PY
