#!/usr/bin/env bash
# Builds the plug-in and the demo firmware (examples/demo_target), runs the firmware in QEMU
# up to demo_breakpoint() and lets GDB, through the ORTI host (hosts/gdb), show the kernel as
# the plug-in sees it: the task table, the alarms, the resources, how full each stack is and
# the backtrace of a task that is not running. Installs what a fresh machine lacks.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/demo_steps.sh
demo_build demo_target
demo_orti_session demo_target 'orti tasks' 'orti show ALARM' 'orti show RESOURCE' \
    'orti stacks' 'orti bt Task_Logger'
