#!/usr/bin/env bash
# Inputs per second of the whole-plug-in and the configuration-file fuzz targets: each runs from
# its seeds (and a fresh, empty corpus) for the same time, and the figure is the runs libFuzzer
# reports divided by that time, against the goal of 2,000 inputs per second. The runs per second
# of CPU time are printed too and decide the goal: on a shared machine the wall-clock rate
# mostly measures the other processes.
# Usage: bench/fuzz_throughput.sh FUZZ_BUILD_DIR [SECONDS_PER_TARGET] [TARGET...]
set -euo pipefail
build_dir=$(cd "${1:?fuzz build directory (cmake --preset fuzz)}" && pwd)
seconds=${2:-30}
shift $(($# > 1 ? 2 : 1))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_plugin fuzz_config_file)
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
goal=2000

printf '%-20s %8s %8s %8s %10s %14s  %s\n' target runs seconds cpu inputs/s "per cpu second" \
  "goal $goal/s"
for name in "${targets[@]}"; do
  exe="$build_dir/fuzz/$name"
  [ -x "$exe" ] || { echo "$name: not built in $build_dir"; exit 1; }
  mkdir -p "$work/$name"
  TIMEFORMAT='%U %S'
  if ! { time (cd "$work" && "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "$work/$name" "$root/fuzz/seeds/$name" >"$work/$name.log" 2>&1); } \
        2>"$work/$name.time"; then
    echo "FINDING in $name:"
    tail -n 40 "$work/$name.log"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$name.log")
  took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$work/$name.log")
  [ -n "$took" ] && [ "$took" -gt 0 ] || took=$seconds
  cpu=$(awk '{ printf "%.1f", $1 + $2 }' "$work/$name.time")
  rate=$((runs / took))
  per_cpu=$(awk -v r="$runs" -v c="$cpu" 'BEGIN { printf "%d", (c > 0 ? r / c : 0) }')
  printf '%-20s %8d %8d %8s %10d %14d  %s\n' "$name" "$runs" "$took" "$cpu" "$rate" "$per_cpu" \
    "$([ "$per_cpu" -ge $goal ] && echo met || echo MISSED)"
done
