#!/usr/bin/env bash
# Runs one test of the dual-core demo target for CTest. Exit 77 (skip) only where the ARM
# toolchain, QEMU or gdb-multiarch are missing and cannot be installed.
#   target_test.sh firmware BUILD_DIR    build the firmware into BUILD_DIR
#   target_test.sh check BUILD_DIR       run it to demo_breakpoint(): check_target.py
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
cd "$root"
mode="$1"
build_dir="$2"
elf="$build_dir/demo_target_smp.elf"

skip() {
    echo "SKIPPED: $*"
    exit 77
}

case "$mode" in
firmware)
    bash scripts/ensure_gdb_tools.sh ||
        skip "the ARM toolchain, QEMU or gdb-multiarch could not be installed"
    bash examples/demo_target_smp/build.sh "$build_dir"
    ;;
check)
    for tool in gdb-multiarch qemu-system-arm; do
        command -v "$tool" >/dev/null || skip "$tool is not installed"
    done
    [ -f "$elf" ] || skip "no firmware ($elf): the firmware test could not build it"
    examples/demo_target_smp/run_qemu_gdb.sh -e "$elf" -t 120 -- -x "$here/check_target.py"
    ;;
*)
    echo "target_test.sh: unknown mode $mode" >&2
    exit 2
    ;;
esac
