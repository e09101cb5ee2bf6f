#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a bounded time; fails on any finding.
# Usage: scripts/run_fuzzers.sh BUILD_DIR [SECONDS_PER_TARGET]
set -euo pipefail
build_dir=$(cd "${1:?build directory}" && pwd)
seconds=${2:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
found=0
for exe in "$build_dir"/fuzz/fuzz_*; do
  [ -x "$exe" ] || continue
  found=1
  name=$(basename "$exe")
  corpus="$work/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$root/fuzz/seeds/$name" ] && seeds+=("$root/fuzz/seeds/$name")
  echo "== $name (${seconds}s)"
  if ! (cd "$work" && "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=0 "$corpus" "${seeds[@]}" >"$work/$name.log" 2>&1); then
    echo "FINDING in $name:"
    tail -n 60 "$work/$name.log"
    status=1
  else
    grep -E '^Done [0-9]+ runs' "$work/$name.log" || tail -n 3 "$work/$name.log"
  fi
done
[ "$found" -eq 1 ] || { echo "no fuzz targets found in $build_dir/fuzz"; exit 1; }
exit $status
