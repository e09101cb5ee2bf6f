#!/usr/bin/env bash
# Runs the GDB host's benchmark (bench_gdb_host.py) on the demo target under QEMU, stopped at
# demo_breakpoint(). Run by hand; not a test.
#   bench/gdb_host/run.sh [BUILD_DIR] [ROUNDS]
# BUILD_DIR is a build of the default preset (default build/default); the firmware is built
# into BUILD_DIR/demo_target when it is not there yet.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "${1:-$root/build/default}" && pwd)"
export ORTI_BENCH_ROUNDS="${2:-20}"
export ORTI_PLUGIN="$build/src/osa_orti_plugin"
[ -x "$ORTI_PLUGIN" ] || { echo "run.sh: no plug-in at $ORTI_PLUGIN" >&2; exit 2; }
elf="$build/demo_target/demo_target.elf"
[ -f "$elf" ] || bash "$root/examples/demo_target/build.sh" "$build/demo_target" >/dev/null
exec "$root/examples/demo_target/run_qemu_gdb.sh" -e "$elf" -t 600 -- \
    -x "$root/bench/gdb_host/bench_gdb_host.py"
