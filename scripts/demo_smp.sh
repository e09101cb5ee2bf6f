#!/usr/bin/env bash
# Builds the plug-in and the dual-core demo firmware (examples/demo_target_smp), runs the
# firmware in QEMU with two Cortex-A15 cores up to demo_breakpoint() and lets GDB, through the
# ORTI host (hosts/gdb), show the tasks of both cores with the core each running task runs on,
# and the backtrace of a task that core 1 switched out. Installs what a fresh machine lacks.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/demo_steps.sh
demo_build demo_target_smp
demo_orti_session demo_target_smp 'orti tasks' 'orti bt Task_Filter1'
