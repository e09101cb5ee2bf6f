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
# CPU 1 starts powered off; the firmware starts it with PSCI CPU_ON, which QEMU answers for
# the hvc instruction. -nodefaults leaves only the board's own UART, written to a file.
machine=(-M virt -cpu cortex-a15 -smp 2 -m 128M -nodefaults -display none -monitor none)
uart=serial
known_messages=()
# Virtual time follows the instruction count and the two cores take turns on one host
# thread, so every tick arrives at the same instruction in every run and the state at the
# breakpoint, saved registers included, is the same each time. sleep=off lets a core
# whose idle task waits in wfi skip straight to the next tick.
clock=(-icount shift=4,sleep=off)

source "$here/../qemu_gdb_session.sh"
