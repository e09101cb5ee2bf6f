#!/usr/bin/env bash
# Starts the demo target in qemu-system-arm (halted, gdb stub on a private Unix socket),
# lets gdb-multiarch connect, run to demo_breakpoint() and then run the caller's commands.
# QEMU is stopped on every way out, and a timeout ends a session that hangs.
#
#   run_qemu_gdb.sh [-e ELF] [-t SECONDS] [--realtime] [--] [GDB ARGUMENTS...]
#
# GDB ARGUMENTS are passed through after the connection and the breakpoint commands, e.g.
#   run_qemu_gdb.sh -x examples/demo_target/show_state.gdb
#   run_qemu_gdb.sh -ex 'print OsTcb' -ex 'info registers'
#
#   -e ELF       the program (default: build/demo_target/demo_target.elf)
#   -t SECONDS   time allowed for the whole gdb session (default: 60)
#   --realtime   run the core on the host clock instead of counting instructions; ticks
#                then fall wherever the host schedule puts them
#
# The exit status is gdb's (124 when the timeout ended it). What the target wrote to its
# UART is printed after the session.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
elf="$root/build/demo_target/demo_target.elf"
machine=(-M lm3s6965evb -nographic)
uart=stdout
# The board model's own note at reset.
known_messages=('^Timer with period zero, disabling$')
# Virtual time follows the instruction count, so every tick interrupt arrives at the same
# instruction in every run and the state at the breakpoint, saved registers included, is
# the same each time. sleep=off lets the idle loop's wfi skip straight to the next tick.
clock=(-icount shift=4,sleep=off)

source "$here/../qemu_gdb_session.sh"
