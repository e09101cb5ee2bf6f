#!/usr/bin/env bash
# Starts the dual-core demo target in qemu-system-arm (halted, gdb stub on a private Unix
# socket), lets gdb-multiarch connect, run to demo_breakpoint() and then run the caller's
# commands. QEMU is stopped on every way out, and a timeout ends a session that hangs.
#
#   run_qemu_gdb.sh [-e ELF] [-t SECONDS] [--realtime] [--] [GDB ARGUMENTS...]
#
# GDB ARGUMENTS are passed through after the connection and the breakpoint commands, e.g.
#   run_qemu_gdb.sh -x examples/demo_target_smp/show_state.gdb
#   run_qemu_gdb.sh -ex 'info threads' -ex 'thread apply all bt'
#
#   -e ELF       the program (default: build/demo_target_smp/demo_target_smp.elf)
#   -t SECONDS   time allowed for the whole gdb session (default: 60)
#   --realtime   run the cores on the host clock instead of counting instructions; ticks
#                then fall wherever the host schedule puts them
#
# The exit status is gdb's (124 when the timeout ended it). What the target wrote to its
# UART is printed after the session.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
elf="$root/build/demo_target_smp/demo_target_smp.elf"
seconds=60
# Virtual time follows the instruction count and the two cores take turns on one host
# thread, so every tick arrives at the same instruction in every run and the state at the
# breakpoint, saved registers included, is the same each time. sleep=off lets a core
# whose idle task waits in wfi skip straight to the next tick.
clock=(-icount shift=4,sleep=off)

while [ $# -gt 0 ]; do
    case "$1" in
    -e) elf="$2"; shift 2 ;;
    -t) seconds="$2"; shift 2 ;;
    --realtime) clock=(); shift ;;
    --) shift; break ;;
    *) break ;;
    esac
done

if [ ! -f "$elf" ]; then
    echo "run_qemu_gdb.sh: $elf not found; build it with examples/demo_target_smp/build.sh" >&2
    exit 2
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/demo_target_smp.XXXXXX")"
socket="$work/gdb.sock"
qemu_pid=""

cleanup() {
    if [ -n "$qemu_pid" ] && kill -0 "$qemu_pid" 2>/dev/null; then
        kill "$qemu_pid" 2>/dev/null || true
        for _ in 1 2 3 4 5 6 7 8 9 10; do
            kill -0 "$qemu_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$qemu_pid" 2>/dev/null || true
        wait "$qemu_pid" 2>/dev/null || true
    fi
    if [ -s "$work/uart.log" ]; then
        echo "--- target UART output ---"
        cat "$work/uart.log"
    fi
    # Left out: the notice of the kill above.
    if grep -v -e 'terminating on signal' "$work/qemu.err" >"$work/qemu.msg" 2>/dev/null; then
        echo "--- qemu messages ---"
        cat "$work/qemu.msg"
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# CPU 1 starts powered off; the firmware starts it with PSCI CPU_ON, which QEMU answers for
# the hvc instruction. -nodefaults leaves only the board's own UART, written to a file.
qemu-system-arm -M virt -cpu cortex-a15 -smp 2 -m 128M -nodefaults -display none \
    -monitor none -serial "file:$work/uart.log" "${clock[@]}" -S \
    -gdb "unix:$socket,server=on,wait=off" -kernel "$elf" \
    </dev/null >/dev/null 2>"$work/qemu.err" &
qemu_pid=$!

for _ in $(seq 1 100); do
    [ -S "$socket" ] && break
    if ! kill -0 "$qemu_pid" 2>/dev/null; then
        echo "run_qemu_gdb.sh: qemu-system-arm exited before it opened its gdb socket" >&2
        exit 3
    fi
    sleep 0.1
done
if [ ! -S "$socket" ]; then
    echo "run_qemu_gdb.sh: qemu-system-arm did not open $socket" >&2
    exit 3
fi

status=0
timeout --kill-after=5 "$seconds" gdb-multiarch -batch -nx \
    -ex 'set pagination off' -ex 'set confirm off' -ex 'set width 0' \
    -ex "file $elf" -ex "target remote $socket" \
    -ex 'break demo_breakpoint' -ex 'continue' \
    "$@" </dev/null || status=$?
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "run_qemu_gdb.sh: gdb did not finish within $seconds s" >&2
fi
exit "$status"
