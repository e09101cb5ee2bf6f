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
source tests/support/demo_target_test.sh
mode="$1"
build_dir="$2"
elf="$build_dir/demo_target.elf"

case "$mode" in
firmware)
    build_firmware demo_target "$build_dir"
    ;;
unit)
    command -v gdb-multiarch >/dev/null || skip "gdb-multiarch is not installed"
    [ -f "$elf" ] || skip "no demo firmware ($elf): the firmware test could not build it"
    ORTI_TEST_ELF="$elf" ORTI_PLUGIN="$3" timeout --kill-after=5 240 \
        gdb-multiarch -batch -nx -x "$4" </dev/null
    ;;
chain)
    export ORTI_PLUGIN="$3"
    check_at_breakpoint demo_target "$elf" "demo firmware" 240 "$here/check_chain.py"
    ;;
chain_smp)
    export ORTI_PLUGIN="$3"
    check_at_breakpoint demo_target_smp "$build_dir/demo_target_smp.elf" "dual-core firmware" \
        120 "$here/check_chain_smp.py"
    ;;
*)
    echo "gdb_test.sh: unknown mode $mode" >&2
    exit 2
    ;;
esac
