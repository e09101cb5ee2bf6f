#!/usr/bin/env bash
# Builds everything and runs every test: the default build (g++), the sanitizer build
# (clang++ with AddressSanitizer and UndefinedBehaviorSanitizer), the fuzz targets for a
# bounded time, and the 64-bit Windows programs with their tests (cross-built, run under Wine).
# Exits non-zero on the first failure.
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
done

# The soak run measures resident memory, which only the plain build can show: the sanitizers
# keep freed memory in quarantine on purpose.
echo "==== soak run (OSA_SOAK_CALLS=${OSA_SOAK_CALLS:-20000} calls)"
if ! OSA_SOAK_CALLS=${OSA_SOAK_CALLS:-20000} ctest --preset default -L soak -V \
    >build/default-soak.log 2>&1; then
  tail -n 30 build/default-soak.log
  exit 1
fi
grep -E "soak: " build/default-soak.log

echo "==== fuzz targets"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
bash scripts/run_fuzzers.sh build/fuzz "${OSA_FUZZ_SECONDS:-20}"
echo "==== Windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows
echo "==== Windows tests under Wine"
bash scripts/run_windows_tests.sh build/windows
echo "==== all builds and tests passed"
