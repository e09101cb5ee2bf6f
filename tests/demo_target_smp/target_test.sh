#!/usr/bin/env bash
# Runs one test of the dual-core demo target for CTest. Exit 77 (skip) only where the ARM
# toolchain, QEMU or gdb-multiarch are missing and cannot be installed.
#   target_test.sh firmware BUILD_DIR    build the firmware into BUILD_DIR
#   target_test.sh check BUILD_DIR       run it to demo_breakpoint(): check_target.py
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
cd "$root"
source tests/support/demo_target_test.sh
mode="$1"
build_dir="$2"

case "$mode" in
firmware)
    build_firmware demo_target_smp "$build_dir"
    ;;
check)
    check_at_breakpoint demo_target_smp "$build_dir/demo_target_smp.elf" firmware 120 \
        "$here/check_target.py"
    ;;
*)
    echo "target_test.sh: unknown mode $mode" >&2
    exit 2
    ;;
esac
