#!/usr/bin/env bash
# Builds the plug-in and the dual-core demo firmware (examples/demo_target_smp), runs the
# firmware in QEMU with two Cortex-A15 cores up to demo_breakpoint() and lets GDB, through the
# ORTI host (hosts/gdb), show the tasks of both cores with the core each running task runs on,
# and the backtrace of a task that core 1 switched out. Installs what a fresh machine lacks.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure_tools.sh
bash scripts/ensure_gdb_tools.sh
cmake --preset default >/dev/null
cmake --build --preset default --target osa_orti_plugin >/dev/null
bash examples/demo_target_smp/build.sh >/dev/null

exec examples/demo_target_smp/run_qemu_gdb.sh -- \
    -ex 'source hosts/gdb/orti_host.py' \
    -ex 'set orti plugin build/default/src/osa_orti_plugin' \
    -ex 'orti load examples/demo_target_smp/demo_target_smp.ort' \
    -ex 'echo \n(gdb) orti tasks\n' -ex 'orti tasks' \
    -ex 'echo \n(gdb) orti bt Task_Filter1\n' -ex 'orti bt Task_Filter1' \
    -ex 'echo \n'
