#!/usr/bin/env bash
# Builds everything and runs every test: the default build (g++), the sanitizer build
# (clang++ with AddressSanitizer and UndefinedBehaviorSanitizer), the fuzz targets for a
# bounded time, and the 64-bit Windows programs (cross-built, not run). Exits non-zero on the
# first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure_tools.sh --windows
# The GDB host's tests skip themselves when these cannot be installed.
bash scripts/ensure_gdb_tools.sh || echo "warning: no ARM toolchain, QEMU or gdb-multiarch: the GDB host tests are skipped"

for preset in default asan; do
  echo "==== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "==== $preset tests"
  ctest --preset "$preset" -j2 -LE soak
  echo "==== $preset soak run (OSA_SOAK_CALLS=${OSA_SOAK_CALLS:-20000} calls)"
  if ! OSA_SOAK_CALLS=${OSA_SOAK_CALLS:-20000} ctest --preset "$preset" -L soak -V \
      >"build/$preset-soak.log" 2>&1; then
    tail -n 30 "build/$preset-soak.log"
    exit 1
  fi
  grep -E "soak: " "build/$preset-soak.log"
done

echo "==== fuzz targets"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
bash scripts/run_fuzzers.sh build/fuzz "${OSA_FUZZ_SECONDS:-30}"
echo "==== Windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows
echo "==== all builds and tests passed"
