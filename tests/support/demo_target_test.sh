# shellcheck shell=bash
# What the CTest scripts that run a demo target in QEMU share; sourced by them, run from the
# repository's root. A test exits 77 (skip) only where the ARM toolchain, QEMU or
# gdb-multiarch are missing and cannot be installed.

skip() {
    echo "SKIPPED: $*"
    exit 77
}

# build_firmware TARGET BUILD_DIR: the firmware of examples/TARGET, built into BUILD_DIR.
build_firmware() {
    bash scripts/ensure_gdb_tools.sh ||
        skip "the ARM toolchain, QEMU or gdb-multiarch could not be installed"
    bash "examples/$1/build.sh" "$2"
}

# check_at_breakpoint TARGET ELF WHAT SECONDS SCRIPT: the program ELF (WHAT names it when it
# is missing) run by examples/TARGET/run_qemu_gdb.sh to demo_breakpoint(), where GDB runs the
# Python file SCRIPT; the session may take SECONDS.
check_at_breakpoint() {
    local tool
    for tool in gdb-multiarch qemu-system-arm; do
        command -v "$tool" >/dev/null || skip "$tool is not installed"
    done
    [ -f "$2" ] || skip "no $3 ($2): the firmware test could not build it"
    "examples/$1/run_qemu_gdb.sh" -e "$2" -t "$4" -- -x "$5"
}
