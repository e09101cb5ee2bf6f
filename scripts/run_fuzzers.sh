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

# The whole-plug-in target parses its ORTI files once per process; this run checks, input by
# input, that doing so answers exactly as a fresh load would (see fuzz/preloaded_orti.h).
exe="$build_dir/fuzz/fuzz_plugin"
if [ -x "$exe" ]; then
  verify_seconds=$(( seconds / 3 > 5 ? seconds / 3 : 5 ))
  corpus="$work/fuzz_plugin_verify"
  mkdir -p "$corpus"
  echo "== fuzz_plugin, preload verified (${verify_seconds}s)"
  if ! (cd "$work" && OSA_FUZZ_VERIFY_PRELOAD=1 "$exe" -max_total_time="$verify_seconds" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 "$corpus" \
        "$work/fuzz_plugin" "$root/fuzz/seeds/fuzz_plugin" >"$work/verify.log" 2>&1); then
    echo "FINDING in fuzz_plugin with the preload verified:"
    tail -n 60 "$work/verify.log"
    status=1
  else
    grep -E '^Done [0-9]+ runs' "$work/verify.log" || tail -n 3 "$work/verify.log"
  fi
fi
exit $status
