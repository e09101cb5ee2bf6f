#!/usr/bin/env bash
# Runs one test of the GDB host for CTest. Exit 77 (skip) only where the ARM toolchain,
# QEMU or gdb-multiarch are missing and cannot be installed.
#   gdb_test.sh firmware BUILD_DIR          build the demo firmware into BUILD_DIR
#   gdb_test.sh unit BUILD_DIR PLUGIN TEST  run TEST (a GDB Python file) in gdb-multiarch
#   gdb_test.sh chain BUILD_DIR PLUGIN      QEMU, GDB, host and plug-in: check_chain.py
#   gdb_test.sh chain_smp BUILD_DIR PLUGIN  the same on the dual-core demo target (BUILD_DIR
#                                           holds demo_target_smp.elf): check_chain_smp.py
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
cd "$root"
mode="$1"
build_dir="$2"
elf="$build_dir/demo_target.elf"

skip() {
    echo "SKIPPED: $*"
    exit 77
}

case "$mode" in
firmware)
    bash scripts/ensure_gdb_tools.sh ||
        skip "the ARM toolchain, QEMU or gdb-multiarch could not be installed"
    bash examples/demo_target/build.sh "$build_dir"
    ;;
unit)
    command -v gdb-multiarch >/dev/null || skip "gdb-multiarch is not installed"
    [ -f "$elf" ] || skip "no demo firmware ($elf): the firmware test could not build it"
    ORTI_TEST_ELF="$elf" ORTI_PLUGIN="$3" timeout --kill-after=5 240 \
        gdb-multiarch -batch -nx -x "$4" </dev/null
    ;;
chain)
    for tool in gdb-multiarch qemu-system-arm; do
        command -v "$tool" >/dev/null || skip "$tool is not installed"
    done
    [ -f "$elf" ] || skip "no demo firmware ($elf): the firmware test could not build it"
    ORTI_PLUGIN="$3" examples/demo_target/run_qemu_gdb.sh -e "$elf" -t 240 -- \
        -x "$here/check_chain.py"
    ;;
chain_smp)
    for tool in gdb-multiarch qemu-system-arm; do
        command -v "$tool" >/dev/null || skip "$tool is not installed"
    done
    elf="$build_dir/demo_target_smp.elf"
    [ -f "$elf" ] || skip "no dual-core firmware ($elf): the firmware test could not build it"
    ORTI_PLUGIN="$3" examples/demo_target_smp/run_qemu_gdb.sh -e "$elf" -t 120 -- \
        -x "$here/check_chain_smp.py"
    ;;
*)
    echo "gdb_test.sh: unknown mode $mode" >&2
    exit 2
    ;;
esac
