#!/usr/bin/env bash
# The evaluator's tests that need tools beyond the build: the test program (built with the ARM
# cross compiler), GDB's values for the same expressions, and the demo firmware under QEMU.
# Exit 77 (skip) only where a tool is missing and cannot be installed.
#   eval_test.sh program OUT_DIR             build the test program's variants into OUT_DIR
#   eval_test.sh gdb OUT_DIR CLI             GDB and the evaluator agree on the test program
#   eval_test.sh demo FIRMWARE_DIR CLI       ... and on every formula of the demo target
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../../../.." && pwd)"
mode="$1"
dir="$2"

skip() {
    echo "SKIPPED: $*"
    exit 77
}

case "$mode" in
program)
    if ! command -v arm-none-eabi-gcc >/dev/null 2>&1; then
        bash "$root/scripts/ensure_gdb_tools.sh" >&2 || true
    fi
    command -v arm-none-eabi-gcc >/dev/null 2>&1 ||
        skip "arm-none-eabi-gcc is missing and could not be installed"
    mkdir -p "$dir"
    work="$(mktemp -d "$dir/build.XXXXXX")"
    trap 'rm -rf "$work"' EXIT
    sources=("$here/eval_program.c" "$here/eval_program_b.c")
    flags=(-mcpu=cortex-m3 -mthumb -O0 -std=gnu11 -ffreestanding -fno-common -nostdlib
        -nostartfiles -Wall -Wextra -Werror)
    # Little-endian with DWARF 5 (bit-fields as data_bit_offset); big-endian and
    # little-endian with DWARF 4 (bit-fields as bit_offset, counted from the other end).
    arm-none-eabi-gcc "${flags[@]}" -gdwarf-5 -o "$work/eval_le.elf" "${sources[@]}"
    arm-none-eabi-gcc "${flags[@]}" -gdwarf-4 -mbig-endian -o "$work/eval_be.elf" "${sources[@]}"
    arm-none-eabi-gcc "${flags[@]}" -gdwarf-4 -o "$work/eval_le4.elf" "${sources[@]}"
    arm-none-eabi-objcopy --strip-debug "$work/eval_le.elf" "$work/eval_nodebug.elf"
    # For this machine too, when it has a C compiler: 8-byte pointers and long.
    if command -v cc >/dev/null 2>&1; then
        cc -x c -std=gnu11 -g -O0 -ffreestanding -fno-builtin -fno-pie -no-pie -nostdlib \
            -static -Wl,-e,_start -o "$work/eval_host.elf" "${sources[@]}"
    fi
    # Renamed into place so that a test never sees half a file.
    for f in "$work"/*.elf; do
        mv -f "$f" "$dir/"
    done
    echo "built $(ls "$dir"/*.elf | tr '\n' ' ')"
    ;;
gdb)
    command -v gdb-multiarch >/dev/null 2>&1 || skip "gdb-multiarch is not installed"
    [ -f "$dir/eval_le.elf" ] || skip "no test program in $dir (arm-none-eabi-gcc missing)"
    for elf in eval_le eval_be eval_le4 eval_host; do
        [ -f "$dir/$elf.elf" ] || continue
        EVAL_CLI="$3" EVAL_EXPRESSIONS="$here/gdb_expressions.txt" timeout --kill-after=5 120 \
            gdb-multiarch -batch -nx -ex "file $dir/$elf.elf" -x "$here/gdb_compare.py" \
            </dev/null
    done
    ;;
demo)
    for tool in gdb-multiarch qemu-system-arm; do
        command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
    done
    elf="$dir/demo_target.elf"
    [ -f "$elf" ] || skip "no demo firmware ($elf): the firmware test could not build it"
    EVAL_CLI="$3" EVAL_ORTI="$root/examples/demo_target/demo_target.ort" \
        "$root/examples/demo_target/run_qemu_gdb.sh" -e "$elf" -t 240 -- \
        -x "$here/gdb_compare.py"
    ;;
*)
    echo "eval_test.sh: unknown mode $mode" >&2
    exit 2
    ;;
esac
